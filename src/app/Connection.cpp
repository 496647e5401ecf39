#include "app/TForm1.h"
#include "comm/SerialPort.h"
#include "widgets/Bar.h"
#include "widgets/Gauge.h"
#include "widgets/Picture.h"
#include "widgets/StatusPanels.h"

void TForm1::showConnection(bool open) {
    if (open) {
        StatusBar1->setPanelText(PortPanel, QLatin1Char(' ') + ApdComPort1.name());
        return;
    }
    StatusBar1->setPanelText(PortPanel, QStringLiteral(" not connected"));
    showDeviceState(DeviceNic);
    // What the unit said last no longer holds.
    StatusBar1->setPanelText(1, QStringLiteral(" board voltage:"));
    setPosition(BVoltage, BVoltage->minimum());
    Voltage->setText(QStringLiteral("Voltage"));
    state.signalLevel = 0;
    Smeter->setProgress(0);
}
