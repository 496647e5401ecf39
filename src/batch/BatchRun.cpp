#include "batch/BatchRun.h"

#include "app/ConfigurationView.h"
#include "app/ConfirmProgramming.h"
#include "app/TForm1.h"
#include "batch/ConsoleDialogs.h"
#include "batch/WatchedPort.h"
#include "config/ConfigurationChanges.h"
#include "config/PlanCheck.h"
#include "config/ReadBackRecord.h"
#include "core/Bytes.h"
#include "core/Failure.h"
#include "core/WholeFile.h"
#include "files/ConfigFile.h"
#include "service/UploadList.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <utility>

namespace {

using Phase = Dialogue::Phase;
using Outcome = Dialogue::Outcome;

// How long the command in flight may take to be answered once a signal has ended the run.
constexpr int InFlightMs = 3000;

} // namespace

BatchRun::BatchRun(TForm1& form, WatchedPort& port, ConsoleDialogs& dialogs, const Settings& settings,
                   QTextStream& err)
    : m_form(form), m_port(port), m_dialogs(dialogs), m_settings(settings), m_err(err) {
    connect(&m_port, &WatchedPort::sent, this, &BatchRun::onSent);
    connect(&m_port, &WatchedPort::received, this, [this] { m_sinceReceived.restart(); });
    connect(&m_form, &TForm1::lineHandled, this, &BatchRun::onLine);
    connect(&m_form.dialogue, &Dialogue::progressed, this, [this](Phase phase, int done, int total) {
        if (phase != Phase::Uploading || done == std::exchange(m_uploadLine, done) || done >= total) return;
        stage(QStringLiteral("uploading line %1 of %2: %3")
                  .arg(done + 1)
                  .arg(total)
                  .arg(fromBytes(listLine(m_form.List, done))));
    });
    connect(&m_form.dialogue, &Dialogue::ended, this,
            [this](Phase phase, Outcome outcome, const QString& detail) {
                m_ended.append(
                    {phase, outcome, detail, m_form.dialogue.readStage() == Dialogue::ReadStage::Entries});
            });
}

int BatchRun::run() {
    m_dialogs.file = m_settings.file;
    m_sinceReceived.start();
    // A file that is no configuration, or cannot be read, is refused before the unit is touched.
    try {
        if (m_settings.task == Task::Program || m_settings.task == Task::Diff)
            readConfiguration(m_settings.file);
        else if (m_settings.task == Task::Upload && !QFileInfo(m_settings.file).isFile())
            throw Failure(QStringLiteral("%1 is not a file").arg(m_settings.file));
    } catch (const Failure& failure) {
        m_err << "error: " << failure.text() << Qt::endl;
        return BadArguments;
    }
    int code = Done;
    try {
        stage(QStringLiteral("stopping"));
        click([this] { m_form.FormCreate(); });
        readUnit();
        const int errors = m_dialogs.errorCount;
        switch (m_settings.task) {
        case Task::Read:
            stage(QStringLiteral("saving ") + m_settings.file);
            click([this] { m_form.SaveClick(); });
            if (m_dialogs.errorCount > errors) code = BadArguments;
            break;
        case Task::Program:
        case Task::Diff:
            stage(QStringLiteral("loading ") + m_settings.file);
            click([this] { m_form.LoadClick(); });
            code = m_settings.task == Task::Program ? program() : diff();
            break;
        case Task::Upload:
            stage(QStringLiteral("loading the list ") + m_settings.file);
            click([this] { m_form.LoadListClick(); });
            code = m_dialogs.errorCount > errors ? int(BadArguments) : upload();
            break;
        }
    } catch (const Stop& stop) {
        code = stop.code;
    } catch (const TimedOut&) {
        m_err << "error: the unit has not answered for " << m_settings.timeoutSeconds << " s while "
              << m_stage << Qt::endl;
        code = PortFailure;
    } catch (const PortLost&) {
        m_err << "error: the serial port failed while " << m_stage << Qt::endl;
        code = PortFailure;
    } catch (const Signalled&) {
        code = endAfterSignal();
    }
    if (!m_settings.stayStopped && code != BadArguments && code != Interrupted && !m_port.failed()) {
        stage(QStringLiteral("running"));
        m_form.run([this] { m_form.RunORUClick(); });
    }
    writeLog();
    return code;
}

void BatchRun::stage(const QString& text) {
    m_stage = text;
    m_err << text << Qt::endl;
}

bool BatchRun::waitFor(const std::function<bool()>& done, int limitMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    // A signal ends the run whatever the phase has come to meanwhile.
    while (m_interrupted || !done()) {
        if (m_interrupted) throw Signalled{};
        if (m_port.failed()) throw PortLost{};
        if (m_sinceReceived.elapsed() > qint64(m_settings.timeoutSeconds) * 1000) throw TimedOut{};
        if (limitMs >= 0 && elapsed.elapsed() >= limitMs) return false;
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

qsizetype BatchRun::waitForEnd(qsizetype mark, Phase phase) {
    qsizetype found = -1;
    waitFor([&] {
        for (qsizetype i = mark; i < m_ended.size() && found < 0; ++i) {
            const Ended& ended = m_ended[i];
            // The stop is cancelled when the unit is asked whether it is stopped already.
            const bool early = ended.outcome != Outcome::Done && ended.outcome != Outcome::Cancelled;
            if (ended.phase == phase || early) found = i;
        }
        return found >= 0;
    });
    return found;
}

void BatchRun::click(const std::function<void()>& handler) {
    m_form.run(handler);
    if (m_port.failed()) throw PortLost{};
}

void BatchRun::readUnit() {
    const qsizetype mark = m_ended.size();
    click([this] { m_form.StopORUClick(); });
    // A unit that is stopped already does not answer the stop line: ask it as "Load" does, unless it
    // has answered meanwhile.
    if (!waitFor([this] { return !m_form.dialogue.is(Phase::Stopping); }, m_settings.stopAnswerMs))
        click([this] { m_form.LoadORUClick(); });
    const Ended ended = m_ended[waitForEnd(mark, Phase::ReadingBack)];
    if (ended.outcome == Outcome::Done && ended.readOut) return;
    m_err << "error: the unit was not read";
    if (!ended.detail.isEmpty()) m_err << ": " << ended.detail;
    m_err << Qt::endl;
    throw Stop{PortFailure};
}

bool BatchRun::planRefused() {
    const QStringList problems =
        planProblems(readControls(m_form),
                     {m_form.state.simCapacity, m_form.state.simNumberLength, m_form.state.simTextLength});
    for (const QString& problem : problems)
        m_err << "error: " << problem << Qt::endl;
    if (!problems.isEmpty())
        m_err << "the unit cannot be programmed from " << m_settings.file << "; nothing was written"
              << Qt::endl;
    return !problems.isEmpty();
}

int BatchRun::program() {
    if (planRefused()) return BadArguments;
    m_written.clear();
    // The unit's configuration as read is kept before the first write.
    QString backup;
    click([this, &backup] { backup = backUpUnit(m_form); });
    if (backup.isEmpty()) {
        m_err << "error: no backup of the unit could be kept; nothing was written" << Qt::endl;
        return PortFailure;
    }
    m_err << "backup of the unit: " << backup << Qt::endl;
    const qsizetype mark = m_ended.size();
    click([this] { m_form.SaveORUClick(); });
    if (!m_form.dialogue.is(Phase::Programming)) {
        m_err << "error: the programming did not start" << Qt::endl;
        return BadArguments;
    }
    const qsizetype programmed = waitForEnd(mark, Phase::Programming);
    if (m_ended[programmed].outcome != Outcome::Done) {
        m_err << "error: programming stopped early, after location " << m_form.dialogue.done() << " of "
              << m_form.state.simCapacity << ": the unit holds a mix of the new and the old configuration"
              << Qt::endl;
        throw Stop{PortFailure};
    }
    stage(QStringLiteral("verifying"));
    const Ended readBack = m_ended[waitForEnd(programmed + 1, Phase::ReadingBack)];
    if (readBack.outcome != Outcome::Done) {
        m_err << "error: the unit was programmed, but not read back to verify it: " << readBack.detail
              << Qt::endl;
        throw Stop{PortFailure};
    }
    return verify();
}

int BatchRun::verify() {
    const QList<LocationChange> changes =
        locationChanges(m_written, m_form.readBack->locations(), m_form.state.simCapacity);
    for (const LocationChange& change : changes)
        m_err << "location " << change.location << ": wrote " << describe(change.before) << ", read back "
              << describe(change.after) << Qt::endl;
    const qsizetype differences = changes.size();
    if (differences == 0) return Done;
    m_err << differences << (differences == 1 ? " location differs" : " locations differ") << Qt::endl;
    return Differences;
}

int BatchRun::diff() {
    if (planRefused()) return BadArguments;
    const ConfigurationChanges changes = unitChanges(m_form);
    if (m_settings.byLocation) {
        const QList<LocationChange> locations = planChanges(
            programmingPlan(readControls(m_form)), m_form.readBack->locations(), m_form.state.simCapacity);
        for (const LocationChange& change : locations)
            m_err << "location " << change.location << ": holds " << describe(change.before)
                  << ", would hold " << describe(change.after) << Qt::endl;
    } else if (!changes.isEmpty()) {
        for (const QString& line : changeLines(changes))
            m_err << line << Qt::endl;
    }
    if (changes.isEmpty()) {
        m_err << "programming " << m_settings.file << " would change nothing" << Qt::endl;
        return Done;
    }
    m_err << locationCount(changes.locationsRewritten) << " would change" << Qt::endl;
    return Differences;
}

int BatchRun::upload() {
    const qsizetype mark = m_ended.size();
    click([this] { m_form.UpgradeClick(); });
    const Ended ended = m_ended[waitForEnd(mark, Phase::Uploading)];
    if (ended.outcome == Outcome::Done) {
        m_err << "upload done: " << ended.detail << Qt::endl;
        return Done;
    }
    // The error report has said where the upload stopped and why.
    throw Stop{ended.outcome == Outcome::Failed ? int(BadArguments) : int(PortFailure)};
}

void BatchRun::interrupt() {
    if (m_interrupted) return;
    m_interrupted = true;
    m_linesAtInterrupt = m_linesHandled;
    // Nothing more goes out: the phase under way ends before the next answer can move it on, and says
    // where it stopped.
    QTimer::singleShot(0, this, [this] {
        if (!m_form.dialogue.is(Phase::Idle))
            m_form.run(
                [this] { m_form.stopPhase(Outcome::Cancelled, QStringLiteral("Interrupted by a signal.")); });
    });
}

int BatchRun::endAfterSignal() {
    m_err << "interrupted while " << m_stage << Qt::endl;
    // The command in flight is answered before the unit is switched back.
    m_interrupted = false;
    try {
        waitFor([this] { return m_linesHandled > m_linesAtInterrupt; }, InFlightMs);
    } catch (...) {
        // A lost port or a silent unit: there is nothing more to wait for.
    }
    if (!m_settings.stayStopped && !m_port.failed()) {
        stage(QStringLiteral("running"));
        m_form.run([this] { m_form.RunORUClick(); });
    }
    return Interrupted;
}

void BatchRun::writeLog() {
    if (m_settings.logFile.isEmpty()) return;
    try {
        writeWholeFile(m_settings.logFile, m_form.monitorText());
    } catch (const Failure& failure) {
        m_dialogs.reportError(failure.text());
    }
}

void BatchRun::onSent(const QByteArray& data) {
    if (!data.startsWith("AT+CPBW=") || !m_form.dialogue.is(Phase::Programming)) return;
    // "AT+CPBW=" index "," number ",," name, or "AT+CPBW=" index alone to clear.
    const QByteArray command = data.mid(8).chopped(2);
    const qsizetype comma = command.indexOf(',');
    const int index = command.left(comma < 0 ? command.size() : comma).toInt();
    const QByteArray fields = comma < 0 ? QByteArray() : command.mid(comma + 1);
    const qsizetype separator = fields.indexOf(",,");
    m_written[index] =
        separator < 0 ? SimLocation{} : SimLocation{fields.left(separator), fields.mid(separator + 2)};
    stage(QStringLiteral("programming location %1 of %2").arg(index).arg(m_form.state.simCapacity));
}

void BatchRun::onLine(const QByteArray& line) {
    ++m_linesHandled;
    if (line.contains("+CPBR: (1-")) {
        stage(QStringLiteral("reading %1 locations").arg(m_form.state.simCapacity));
    }
}
