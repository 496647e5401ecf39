#include "app/FormBuild.h"
#include "app/PortChoice.h"
#include "app/TForm1.h"
#include "comm/QtSerialPort.h"
#include "comm/SerialPort.h"
#include "core/Bytes.h"
#include "core/Failure.h"
#include "core/Pacer.h"
#include "core/UserDialogs.h"
#include "widgets/Bar.h"
#include "widgets/Gauge.h"
#include "widgets/Picture.h"
#include "widgets/StatusPanels.h"

#include <QActionGroup>
#include <QEvent>
#include <QMenu>
#include <functional>

using namespace build;

namespace {

// What the user knows the line by: an adapter by its maker, name and serial number where the system knows
// them.
QString choiceText(const QString& choice, const QMap<QString, QString>& devices = QtSerialPort::devices()) {
    return devices.value(choice, choice);
}

// Naming an adapter means asking the system about every terminal it has, so the tip is made when it is
// about to show.
class ToolTipOnDemand : public QObject {
public:
    ToolTipOnDemand(QWidget* widget, std::function<QString()> text)
        : QObject(widget), m_text(std::move(text)) {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ToolTip) static_cast<QWidget*>(watched)->setToolTip(m_text());
        return false;
    }

private:
    std::function<QString()> m_text;
};

// The unit's buttons need a line to the unit.
QList<QWidget*> deviceButtons(const TForm1& form) {
    return {form.RunORU, form.StopORU, form.SaveORU, form.LoadORU, form.RestoreBackup, form.signal};
}

} // namespace

void TForm1::buildPortControl() {
    PortButton = named(new QToolButton(StatusBar1), QStringLiteral("PortButton"));
    PortButton->setText(QStringLiteral("Port"));
    new ToolTipOnDemand(PortButton, [this] {
        return ApdComPort1.isOpen()
                   ? choiceText(ApdComPort1.name())
                   : QStringLiteral("Connect to the unit, disconnect, or choose another port");
    });
    PortButton->setPopupMode(QToolButton::InstantPopup);
    PortButton->setAutoRaise(true);
    PortMenu = named(new QMenu(PortButton), QStringLiteral("PortMenu"));
    PortButton->setMenu(PortMenu);
    // The port's panel and its control stay in view whatever message the status bar shows.
    StatusBar1->keepInView(PortPanel, PortButton);
    PortConnect = named(new QAction(QStringLiteral("Connect"), this), QStringLiteral("PortConnect"));
    PortDisconnect = named(new QAction(QStringLiteral("Disconnect"), this), QStringLiteral("PortDisconnect"));
    PortOther = named(new QAction(QStringLiteral("Other device…"), this), QStringLiteral("PortOther"));
    PortRefresh = named(new QAction(QStringLiteral("Refresh the list"), this), QStringLiteral("PortRefresh"));
    bind(PortConnect, &QAction::triggered, &TForm1::PortConnectClick);
    bind(PortDisconnect, &QAction::triggered, &TForm1::PortDisconnectClick);
    bind(PortOther, &QAction::triggered, &TForm1::PortOtherClick);
    bind(PortRefresh, &QAction::triggered, &TForm1::PortRefreshClick);
    // Adapters come and go: the list is made each time the menu opens.
    connect(PortMenu, &QMenu::aboutToShow, this, &TForm1::listPorts);
}

void TForm1::listPorts() {
    PortMenu->clear();
    qDeleteAll(PortChoices);
    PortChoices.clear();
    const bool open = ApdComPort1.isOpen();
    PortConnect->setEnabled(!open);
    PortDisconnect->setEnabled(open);
    PortMenu->addAction(PortConnect);
    PortMenu->addAction(PortDisconnect);
    PortMenu->addSeparator();
    auto* group = new QActionGroup(PortMenu);
    const auto* line = qobject_cast<const PortChoice*>(&ApdComPort1);
    const QString inUse = line ? line->choice() : QString();
    const QMap<QString, QString> devices = QtSerialPort::devices();
    for (const QString& choice : QStringList{PortChoice::SimulatedUnitChoice} + devices.keys()) {
        auto* action = new QAction(choiceText(choice, devices), group);
        action->setCheckable(true);
        action->setChecked(choice == inUse);
        connect(action, &QAction::triggered, this,
                [this, choice] { run([this, &choice] { PortChooseClick(choice); }); });
        PortMenu->addAction(action);
        PortChoices << action;
    }
    PortMenu->addAction(PortOther);
    PortMenu->addSeparator();
    PortMenu->addAction(PortRefresh);
}

void TForm1::showConnection(bool open) {
    // Save and Load wait for the unit's answer to the manufacturer query.
    for (QWidget* button : deviceButtons(*this))
        if (!open || (button != SaveORU && button != LoadORU)) button->setEnabled(open);
    if (open) {
        StatusBar1->setPanelText(PortPanel, QLatin1Char(' ') + ApdComPort1.name());
        return;
    }
    StatusBar1->setPanelText(PortPanel, QStringLiteral(" not connected"));
    showDeviceState(DeviceNic);
    // What the unit said last no longer holds.
    StatusBar1->setPanelText(0, QStringLiteral(" Operator:"));
    StatusBar1->setPanelText(1, QStringLiteral(" board voltage:"));
    StatusBar1->setPanelText(2, QStringLiteral(" SIM:"));
    setPosition(BVoltage, BVoltage->minimum());
    Voltage->setText(QStringLiteral("Voltage"));
    state.signalLevel = 0;
    Smeter->setProgress(0);
}

void TForm1::greetUnit() {
    // As at start-up: only the unit's answer enables its buttons.
    SaveORU->setEnabled(false);
    LoadORU->setEnabled(false);
    showDeviceState(DeviceRun);
    engine.greet();
    showResult(QStringLiteral("Connected to %1").arg(choiceText(ApdComPort1.name())));
}

namespace {

// Whatever runs with the unit would lose its answers.
void refuseWhileBusy(const TForm1& form, const QString& what) {
    if (!form.dialogue.is(Dialogue::Phase::Idle))
        throw Failure(QStringLiteral("%1 is under way: %2 once it has finished.")
                          .arg(Dialogue::describe(form.dialogue.phase()), what));
}

} // namespace

void TForm1::PortConnectClick() {
    if (ApdComPort1.isOpen()) return;
    ApdComPort1.connectLine();
    greetUnit();
    log("(connected to " + toBytes(ApdComPort1.name()) + ")");
}

void TForm1::PortDisconnectClick() {
    refuseWhileBusy(*this, QStringLiteral("disconnect"));
    if (!ApdComPort1.isOpen()) return;
    const QString name = ApdComPort1.name();
    ApdComPort1.disconnectLine();
    log("(disconnected from " + toBytes(name) + ")");
    showResult(QStringLiteral("Disconnected from %1").arg(name));
}

void TForm1::PortChooseClick(const QString& choice) {
    refuseWhileBusy(*this, QStringLiteral("choose another port"));
    ApdComPort1.switchTo(choice);
    ApdComPort1.connectLine();
    greetUnit();
    log("(connected to " + toBytes(ApdComPort1.name()) + ")");
}

void TForm1::PortOtherClick() {
    refuseWhileBusy(*this, QStringLiteral("choose another port"));
    const std::optional<QString> chosen = dialogs.choosePort(PortChoice::choices());
    if (!chosen || chosen->trimmed().isEmpty()) return;
    PortChooseClick(*chosen);
}

void TForm1::PortRefreshClick() {
    listPorts();
    const int adapters = int(PortChoices.size()) - 1;
    StatusBar1->showMessage(adapters == 1 ? QStringLiteral("1 serial device found")
                                          : QStringLiteral("%1 serial devices found").arg(adapters),
                            8000);
}

void TForm1::portBack() {
    if (ApdComPort1.isOpen()) return;
    log("(the serial port " + toBytes(ApdComPort1.name()) + " is back: opened again)");
    ApdComPort1.connectLine();
    greetUnit();
}
