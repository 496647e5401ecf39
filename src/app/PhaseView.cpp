#include "app/TForm1.h"
#include "core/Bytes.h"
#include "core/UserDialogs.h"
#include "engine/ReadBackRecord.h"
#include "widgets/Bar.h"
#include "widgets/StatusPanels.h"

namespace {

using Phase = Dialogue::Phase;
using Outcome = Dialogue::Outcome;

// How long an outcome stays in the status bar: a success briefly, a failure until it has surely been read.
constexpr int DoneShownMs = 8000;
constexpr int FailureShownMs = 60000;

// changesOnly: programming writes only the locations that differ.
QString phaseText(const Dialogue& dialogue, bool changesOnly) {
    const int done = dialogue.done();
    const int total = dialogue.total();
    switch (dialogue.phase()) {
    case Phase::Idle:
        break;
    case Phase::Stopping:
        return QStringLiteral("Waiting for the unit to stop");
    case Phase::ReadingBack: {
        // Programming asked for a unit whose content is not known reads it first, and says so.
        const QString what = dialogue.programAfterRead
                                 ? QStringLiteral("Reading the unit before programming it")
                                 : QStringLiteral("Reading back");
        if (total == 0) return QStringLiteral("%1: asking the unit").arg(what);
        return QStringLiteral("%1: location %2 of %3").arg(what).arg(done).arg(total);
    }
    case Phase::Programming:
        if (changesOnly)
            return QStringLiteral("Programming: %1 of %2 changed locations").arg(done).arg(total);
        return QStringLiteral("Programming: location %1 of %2").arg(done).arg(total);
    case Phase::Uploading:
        return QStringLiteral("Uploading line %1 of %2%3")
            .arg(done + 1)
            .arg(total)
            .arg(dialogue.awaitingPrompt ? QStringLiteral(": waiting for the data prompt") : QString());
    }
    return {};
}

QString outcomeText(const Dialogue& dialogue, Phase phase, Outcome outcome, const QString& detail) {
    const QString what = Dialogue::describe(phase);
    switch (outcome) {
    case Outcome::Done:
        if (phase == Phase::Programming)
            return QStringLiteral("Programmed %1").arg(locationCount(dialogue.done()));
        return detail.isEmpty() ? QStringLiteral("%1 done").arg(what)
                                : QStringLiteral("%1 done: %2").arg(what, detail);
    case Outcome::Cancelled:
        return QStringLiteral("%1 cancelled").arg(what);
    case Outcome::Refused:
    case Outcome::TimedOut:
    case Outcome::PortLost:
    case Outcome::Failed:
        return QStringLiteral("%1 failed: %2").arg(what, detail);
    }
    return {};
}

} // namespace

void TForm1::phaseProgressed() {
    // A new phase or a new total shows at once; the steps of one wait for the next showing, since measuring
    // the texts for every record a read-back lists would cost more than the read-back itself.
    if (dialogue.phase() == m_shownPhase && dialogue.total() == m_shownTotal) {
        if (!m_phaseShowing.isActive()) m_phaseShowing.start();
        return;
    }
    showPhase();
}

void TForm1::showPhase() {
    m_phaseShowing.stop();
    // A new operation: the last one's result no longer stands for what the unit holds.
    if (m_shownPhase == Phase::Idle) showResult({});
    m_shownPhase = dialogue.phase();
    m_shownTotal = dialogue.total();
    if (dialogue.is(Phase::Idle)) return;
    const QString text = phaseText(dialogue, engine.writingOnly.has_value());
    StatusBar1->showMessage(text);
    Prubeh->setFormat(QString(text).replace(QLatin1Char('%'), QLatin1String("%%")));
    Prubeh->setTextVisible(true);
    // The read-back has no bar of its own: it shows how far through the SIM it is.
    if (dialogue.is(Phase::ReadingBack) && dialogue.total() > 0) {
        Prubeh->setMaximum(dialogue.total());
        setPosition(Prubeh, dialogue.done());
        Prubeh->show();
    }
}

void TForm1::showOutcome(Phase phase, Outcome outcome, const QString& detail) {
    m_phaseShowing.stop();
    m_shownPhase = Phase::Idle;
    QString text = outcomeText(dialogue, phase, outcome, detail);
    // Only a read-back that followed the write's answer says that it was done.
    if (phase == Phase::ReadingBack && outcome == Outcome::Done && !resultNote.isEmpty())
        text = resultNote + QStringLiteral("; ") + text;
    resultNote.clear();
    StatusBar1->showMessage(text, outcome == Outcome::Done ? DoneShownMs : FailureShownMs);
    showResult(text);
    // No bar stands after its phase, full or half-way.
    Prubeh->setTextVisible(false);
    Prubeh->hide();
    setPosition(Prubeh, 0);
    if (phase == Phase::Stopping) Cekani->stop();
    // The log says how the writing phases ended, as the status bar does.
    if (outcome == Outcome::Done && (phase == Phase::Programming || phase == Phase::Uploading))
        log(toBytes(text));
    // What the read-back after a programming found is shown after the read-back's own outcome.
    if (const std::optional<QList<LocationChange>> differences = readBack->takeVerification())
        showVerification(*differences);
}

void TForm1::showVerification(const QList<LocationChange>& differences) {
    // Short enough for the result's place: the read-back checks every location either way.
    const QString programmed = engine.writingOnly
                                   ? QStringLiteral("Programmed %1 changed of %2")
                                         .arg(engine.writingOnly->size())
                                         .arg(locationCount(engine.sim.capacity))
                                   : QStringLiteral("Programmed %1").arg(locationCount(engine.sim.capacity));
    if (differences.isEmpty()) {
        const QString text = programmed + QStringLiteral("; the read-back found them as written");
        StatusBar1->showMessage(text, DoneShownMs);
        showResult(text);
        log(toBytes(text));
        return;
    }
    QString text =
        programmed +
        QStringLiteral("; the read-back found %1 other than written:").arg(locationCount(differences.size()));
    StatusBar1->showMessage(text.chopped(1), FailureShownMs);
    showResult(text.chopped(1));
    log(toBytes(text));
    for (const LocationChange& difference : differences) {
        const QString line = QStringLiteral("location %1: wrote %2, read back %3")
                                 .arg(difference.location)
                                 .arg(describe(difference.before), describe(difference.after));
        log(toBytes(line));
        text += QLatin1Char('\n') + line;
    }
    dialogs.reportError(text);
}

void TForm1::showResult(const QString& text) {
    LastResult->setText(text);
    LastResult->setToolTip(text);
}
