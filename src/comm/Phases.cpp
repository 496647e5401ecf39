#include "app/ConfigurationView.h"
#include "app/ConfirmProgramming.h"
#include "app/TForm1.h"
#include "comm/SerialPort.h"
#include "core/Bytes.h"
#include "core/Failure.h"
#include "core/Pacer.h"
#include "service/UploadList.h"
#include "widgets/Bar.h"
#include "widgets/StatusPanels.h"

#include <QTimer>
#include <utility>

using Phase = Dialogue::Phase;
using Outcome = Dialogue::Outcome;

void TForm1::showOperator(const QByteArray& name) {
    StatusBar1->setPanelText(0, fromBytes("Operator: " + name));
}

void TForm1::showSimSize(int capacity) {
    StatusBar1->setPanelText(2, QStringLiteral(" SIM: %1").arg(capacity));
}

void TForm1::readStarting() {
    ResetEntryView();
}

void TForm1::readBackDone() {
    runDeferred();
}

void TForm1::endEarly(Outcome outcome, const QString& cause) {
    stopPhase(outcome, cause);
}

void TForm1::note(const QByteArray& text) {
    log(text);
}

void TForm1::readingAgain() {
    setPosition(Prubeh, 0);
    SaveORU->setEnabled(true);
    ResetEntryView();
}

void TForm1::runDeferred() {
    if (std::exchange(dialogue.programAfterRead, false)) {
        if (!readBack->known())
            throw Failure(
                QStringLiteral("The unit's configuration was not read whole: it was not programmed."));
        // After the answer in hand is handled, which would otherwise count as the first of programming's.
        QTimer::singleShot(0, this, [this] {
            run([this] {
                // The read has put the unit's configuration in the window; what is programmed is the user's.
                showOnControls(*this, std::exchange(awaitingRead, {}));
                confirmAndProgram(*this);
            });
        });
        return;
    }
    // Switching detection reads the unit back by itself.
    if (std::exchange(dialogue.detectSwitchPending, false)) {
        dialogue.readAgain = false;
        DetButClick();
    } else if (std::exchange(dialogue.readAgain, false)) {
        engine.readAgain();
    }
}

void TForm1::portLost(const QString& reason) {
    const QString cause = QStringLiteral("The serial port %1 was lost: %2").arg(engine.portName(), reason);
    log("(" + toBytes(cause) + ")");
    // Once: a phase that a failed send has ended already said it.
    if (std::exchange(m_lossReported, true)) return;
    if (dialogue.is(Phase::Idle))
        throw Failure(cause + QStringLiteral(". It is opened again when it is back; or choose another port "
                                             "in the port menu."));
    stopPhase(Outcome::PortLost, cause);
}

void TForm1::stopPhase(Outcome outcome, const QString& cause) {
    const Phase phase = dialogue.phase();
    if (phase == Phase::Idle) throw Failure(cause);
    QString where;
    switch (phase) {
    case Phase::Idle:
    case Phase::Stopping:
        Cekani->stop();
        Prubeh->hide();
        where = QStringLiteral("The unit was not read.");
        break;
    case Phase::ReadingBack:
        Prubeh->hide();
        where = dialogue.readStage() == Dialogue::ReadStage::Entries
                    ? QStringLiteral("The read-back stopped after location %1 of %2: the window holds only "
                                     "part of the unit's configuration. Read the unit again before "
                                     "programming it.")
                          .arg(dialogue.done())
                          .arg(dialogue.total())
                    : QStringLiteral("The unit was not read back.");
        break;
    case Phase::Programming:
        where = stopProgramming(outcome);
        break;
    case Phase::Uploading:
        Prubeh->hide();
        where = QStringLiteral("The upload stopped at line %1 of %2: \"%3\".")
                    .arg(state.uploadIndex + 1)
                    .arg(listLineCount(List))
                    .arg(shownListLine(List, state.uploadIndex));
        break;
    }
    if (dialogue.programAfterRead) where += QStringLiteral(" The unit was not programmed.");
    // What the phase would have sent next, and the answer it waited for, no longer count.
    unit.dropQueued();
    unit.forgetOpen();
    if (std::exchange(dialogue.detectSwitchPending, false))
        where += QStringLiteral(" Button detection was not switched: the box shows what you asked for, not "
                                "what the unit holds.");
    dialogue.end(outcome, cause);
    throw Failure(cause + QLatin1Char('\n') + where);
}
