#include "app/TForm1.h"
#include "comm/SerialPort.h"
#include "core/Pacer.h"
#include "engine/ReadBackRecord.h"
#include "widgets/Bar.h"
#include "widgets/Picture.h"
#include "widgets/StatusPanels.h"

namespace {

// The wait display of a switch: the bar runs up to 250, one step per tick of Cekani.
void startWait(TForm1& form) {
    form.Prubeh->setMaximum(250);
    setPosition(form.Prubeh, 0);
    if (!form.Cekani->isActive()) form.Cekani->start();
}

} // namespace

void TForm1::RunORUClick() {
    engine.run();
    startWait(*this);
    showDeviceState(DeviceNic);
    LoadORU->setEnabled(false);
    SaveORU->setEnabled(false);
}

void TForm1::StopORUClick() {
    // A unit held stopped by the stop line says nothing more to it: it is read as Load reads it.
    if (unit.dtr() && !DeviceStop->isHidden() && dialogue.is(Dialogue::Phase::Idle)) {
        LoadORUClick();
        return;
    }
    engine.stop();
    startWait(*this);
    dialogue.firstEntryPending = true;
    showDeviceState(DeviceNic);
    // Nor does a unit that was stopped before: well within the limit, it is asked as Load asks, unless it
    // has answered meanwhile.
    m_stopProbe.start(dialogue.stopAnswerMs / 2);
}

void TForm1::LoadORUClick() {
    if (!DeviceNic->isHidden()) {
        unit.send("AT+CGMI\r\n");
        // A unit that is stopped already answers "Telit".
        dialogue.start(Dialogue::Phase::Stopping);
        DeviceRun->show();
        DeviceNic->hide();
        LoadORU->setEnabled(false);
        SaveORU->setEnabled(false);
    }
    // A running unit does not answer the phone-book commands: nothing is sent, and the user is told why.
    else if (!DeviceRun->isHidden()) {
        showResult(QStringLiteral("Load reads a stopped unit; this one runs its script: press Stop to stop "
                                  "and read it."));
        StatusBar1->showMessage(LastResult->text(), 8000);
        return;
    }
    // A read-back under way serves as this one, or another follows it.
    if (!DeviceStop->isHidden() && dialogue.askReadBack()) {
        // A unit found stopped (at start-up, or connected again) is held so by the stop line while it is
        // read: without it, the operator's answer asks nothing more.
        unit.setDtr(true);
        engine.askOperator("AT#SPN\r\n");
        setPosition(Prubeh, 0);
        SaveORU->setEnabled(true);
        ResetEntryView();
        showDeviceState(DeviceStop);
    }
}

void TForm1::CekaniTimer() {
    setPosition(Prubeh, Prubeh->value() + 1);
    Prubeh->show();
}

void TForm1::signalClick() {
    unit.send("AT+CSQ\r\n");
}

void TForm1::IMEIClick() {
    unit.send("AT#CGSN\r\n");
}

void TForm1::InicializaceClick() {
    unit.send("AT#ESCRIPT=oru.pyo\r\n");
}
