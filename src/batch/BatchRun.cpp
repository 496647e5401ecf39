#include "batch/BatchRun.h"

#include "app/ConfigurationView.h"
#include "app/ConfirmProgramming.h"
#include "app/TForm1.h"
#include "batch/ConsoleDialogs.h"
#include "batch/WatchedPort.h"
#include "config/ConfigurationChanges.h"
#include "config/PlanCheck.h"
#include "core/Bytes.h"
#include "core/Failure.h"
#include "core/WholeFile.h"
#include "engine/ReadBackRecord.h"
#include "files/Backup.h"
#include "files/ConfigFile.h"
#include "service/UploadFile.h"
#include "service/UploadList.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace {

using Phase = Dialogue::Phase;
using Outcome = Dialogue::Outcome;

// How long the command in flight may take to be answered once a signal has ended the run.
constexpr int InFlightMs = 3000;

} // namespace

// Suspends the steps until they are woken, or the limit has passed.
struct BatchRun::Woken {
    BatchRun& run;
    int limitMs;
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> waiting) {
        run.m_waiting = waiting;
        if (limitMs >= 0) run.m_limit.start(limitMs);
    }
    void await_resume() const noexcept {}
};

BatchRun::BatchRun(TForm1& form, WatchedPort& port, ConsoleDialogs& dialogs, const Settings& settings,
                   QTextStream& err)
    : m_form(form), m_port(port), m_dialogs(dialogs), m_settings(settings), m_err(err) {
    m_limit.setSingleShot(true);
    connect(&m_limit, &QTimer::timeout, this, &BatchRun::wake);
    connect(&m_port, &SerialPort::lost, this, &BatchRun::wake);
    connect(&m_form.unit, &UnitLine::released, this, &BatchRun::wake);
    connect(&m_form, &TForm1::lineHandled, this, &BatchRun::onLine);
    connect(&m_form.dialogue, &Dialogue::progressed, this, [this](Phase phase, int done, int total) {
        const bool stepping = phase == Phase::Programming || phase == Phase::Uploading;
        if (!stepping || done >= total || done == std::exchange(m_stepShown, done)) return;
        if (phase == Phase::Uploading)
            stage(QStringLiteral("uploading line %1 of %2: %3")
                      .arg(done + 1)
                      .arg(total)
                      .arg(fromBytes(listLine(m_form.List, done))));
        else if (m_form.engine.writingOnly)
            stage(QStringLiteral("programming location %1, change %2 of %3")
                      .arg(m_form.engine.writingOnly->at(done).location)
                      .arg(done + 1)
                      .arg(total));
        else
            stage(QStringLiteral("programming location %1 of %2").arg(done + 1).arg(total));
    });
    connect(&m_form.dialogue, &Dialogue::ended, this,
            [this](Phase phase, Outcome outcome, const QString& detail) {
                m_ended.append({phase, outcome, detail,
                                m_form.dialogue.readStage() == Dialogue::ReadStage::Entries,
                                m_form.dialogue.done(), m_form.dialogue.total()});
                wake();
            });
    // The unit's silence is measured by the phases, each with the run's limit.
    m_form.dialogue.answerMs = m_settings.timeoutSeconds * 1000;
    m_form.dialogue.stopAnswerMs = m_settings.timeoutSeconds * 1000;
}

int BatchRun::run() {
    Steps<int> task = steps();
    bool finished = false;
    task.start([&finished] {
        finished = true;
        QCoreApplication::exit();
    });
    // The program's one event loop runs the steps' waits.
    if (!finished) QCoreApplication::exec();
    return task.result();
}

Steps<int> BatchRun::steps() {
    // The names given are taken where the run started, whichever folder an upgrade list makes current.
    m_settings.file = QFileInfo(m_settings.file).absoluteFilePath();
    if (!m_settings.logFile.isEmpty()) m_settings.logFile = QFileInfo(m_settings.logFile).absoluteFilePath();
    m_dialogs.file = m_settings.file;
    // What can be checked is checked before the unit is touched.
    if (!checkFiles()) co_return BadArguments;
    int code = Done;
    bool interrupted = false;
    try {
        stage(QStringLiteral("stopping"));
        click([this] { m_form.FormCreate(); });
        // The port could not be opened (the guard has said why): the unit was not touched.
        if (!m_port.isOpen()) throw Stop{PortFailure};
        co_await readUnit();
        if (!m_settings.lineUnit.isEmpty()) {
            co_await identify();
            if (unitsDone().contains(QString::fromLatin1(m_imei))) {
                m_alreadyDone = true;
                stage(QStringLiteral("already done"));
                throw Stop{Done};
            }
        }
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
            if (m_dialogs.errorCount > errors) throw Stop{BadArguments};
            code = m_settings.task == Task::Program ? co_await program() : diff();
            break;
        case Task::Upload:
            stage(QStringLiteral("loading the list ") + m_settings.file);
            click([this] { m_form.LoadListClick(); });
            code = m_dialogs.errorCount > errors ? int(BadArguments) : co_await upload();
            break;
        }
    } catch (const Stop& stop) {
        code = stop.code;
    } catch (const PortLost&) {
        const QString reason = m_port.lostReason();
        m_err << "error: the serial port failed while " << m_stage;
        if (!reason.isEmpty()) m_err << ": " << reason;
        m_err << Qt::endl;
        code = PortFailure;
    } catch (const Signalled&) {
        interrupted = true;
    }
    // Awaited outside the handler: a coroutine cannot wait inside one.
    if (interrupted) code = co_await endAfterSignal();
    backToRun();
    // Whatever is still queued for the unit (the reboot after its pause) leaves before the program ends.
    while (m_form.unit.holding())
        co_await Woken{*this, -1};
    m_port.close();
    code = writeLog(code);
    if (!m_settings.lineUnit.isEmpty()) printRecord(code);
    co_return code;
}

bool BatchRun::checkFiles() {
    QStringList problems;
    const auto check = [&problems](const std::function<void()>& checked) {
        try {
            checked();
        } catch (const Failure& failure) {
            problems << failure.text();
        }
    };
    switch (m_settings.task) {
    case Task::Read:
        check([this] { checkWritable(m_settings.file); });
        break;
    case Task::Program:
        check([this] { readConfiguration(m_settings.file); });
        // The unit's configuration is kept there before the first write.
        check(prepareBackupFolder);
        if (problems.isEmpty()) problems << fileFieldProblems(m_form, m_dialogs, m_settings.file);
        break;
    case Task::Diff:
        check([this] { readConfiguration(m_settings.file); });
        if (problems.isEmpty()) problems << fileFieldProblems(m_form, m_dialogs, m_settings.file);
        break;
    case Task::Upload:
        problems << uploadListProblems(m_settings.file);
        break;
    }
    if (!m_settings.logFile.isEmpty()) check([this] { checkWritable(m_settings.logFile); });
    for (const QString& problem : problems)
        m_err << "error: " << problem << Qt::endl;
    return problems.isEmpty();
}

void BatchRun::stage(const QString& text) {
    m_stage = text;
    m_err << text << Qt::endl;
}

Steps<bool> BatchRun::waitFor(std::function<bool()> done, int limitMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    for (;;) {
        // A signal ends the run whatever the phase has come to meanwhile.
        if (m_interrupted) throw Signalled{};
        if (done()) co_return true;
        // A phase that runs ends by itself when the port is lost, and says how far it got.
        if (m_port.failed() && m_form.dialogue.is(Phase::Idle)) throw PortLost{};
        int left = -1;
        if (limitMs >= 0) {
            left = static_cast<int>(limitMs - elapsed.elapsed());
            if (left <= 0) co_return false;
        }
        co_await Woken{*this, left};
    }
}

void BatchRun::wake() {
    // The steps go on once the handler that woke them has returned, as the window's own work does.
    if (!m_waiting || m_wakeQueued) return;
    m_wakeQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_wakeQueued = false;
            m_limit.stop();
            if (const std::coroutine_handle<> waiting = std::exchange(m_waiting, {})) waiting.resume();
        },
        Qt::QueuedConnection);
}

Steps<qsizetype> BatchRun::waitForEnd(qsizetype mark, Phase phase) {
    qsizetype found = -1;
    co_await waitFor([&] {
        for (qsizetype i = mark; i < m_ended.size() && found < 0; ++i) {
            const Ended& ended = m_ended[i];
            // The stop is cancelled when the unit is asked whether it is stopped already.
            const bool early = ended.outcome != Outcome::Done && ended.outcome != Outcome::Cancelled;
            if (ended.phase == phase || early) found = i;
        }
        // Once no phase runs, the end waited for will not come.
        return found >= 0 || m_form.dialogue.is(Phase::Idle);
    });
    co_return found;
}

void BatchRun::click(const std::function<void()>& handler) {
    m_form.run(handler);
}

Steps<void> BatchRun::readUnit() {
    const qsizetype mark = m_ended.size();
    m_stopped = true;
    click([this] { m_form.StopORUClick(); });
    // A unit that is stopped already does not answer the stop line: ask it as "Load" does, unless it
    // has answered meanwhile, and well before the stop's own limit.
    const int probeMs = std::min(m_settings.stopAnswerMs, m_form.dialogue.stopAnswerMs / 2);
    if (!co_await waitFor([this] { return !m_form.dialogue.is(Phase::Stopping); }, probeMs)) {
        click([this] { m_form.LoadORUClick(); });
        // A production line asks its ports often: a port where nothing answers has no unit yet.
        if (!m_settings.lineUnit.isEmpty() &&
            !co_await waitFor([this] { return m_linesHandled > 0 || m_form.dialogue.is(Phase::Idle); },
                              m_settings.stopAnswerMs)) {
            m_err << "error: no unit answers" << Qt::endl;
            throw Stop{PortFailure};
        }
    }
    const qsizetype end = co_await waitForEnd(mark, Phase::ReadingBack);
    if (end >= 0 && m_ended[end].outcome == Outcome::Done && m_ended[end].readOut) co_return;
    m_err << "error: the unit was not read";
    if (end >= 0 && !m_ended[end].detail.isEmpty()) m_err << ": " << m_ended[end].detail;
    m_err << Qt::endl;
    throw Stop{PortFailure};
}

QStringList BatchRun::fileFieldProblems(TForm1& form, ConsoleDialogs& dialogs, const QString& file) {
    // Loaded into the window as it will be once the unit is read: what the unit's SIM says of its fields
    // is checked then.
    dialogs.file = file;
    const int errors = dialogs.errorCount;
    form.run([&form] { form.LoadClick(); });
    if (dialogs.errorCount > errors) return {QStringLiteral("%1 cannot be loaded").arg(file)};
    return fieldProblems(readControls(form));
}

bool BatchRun::planRefused() {
    const QStringList problems = planProblems(readControls(m_form), m_form.engine.sim);
    for (const QString& problem : problems)
        m_err << "error: " << problem << Qt::endl;
    if (!problems.isEmpty())
        m_err << "the unit cannot be programmed from " << m_settings.file << "; nothing was written"
              << Qt::endl;
    return !problems.isEmpty();
}

Steps<int> BatchRun::program() {
    if (planRefused()) co_return BadArguments;
    // The unit's configuration as read is kept before the first write.
    QString backup;
    click([this, &backup] { backup = backUpUnit(m_form); });
    if (backup.isEmpty()) {
        m_err << "error: no backup of the unit could be kept; nothing was written" << Qt::endl;
        co_return BadArguments;
    }
    m_err << "backup of the unit: " << backup << Qt::endl;
    m_backup = backup;
    const qsizetype mark = m_ended.size();
    m_form.writeEveryLocation = m_settings.full;
    click([this] { m_form.SaveORUClick(); });
    const qsizetype programmed = co_await waitForEnd(mark, Phase::Programming);
    if (programmed < 0) {
        m_err << "error: the programming did not start" << Qt::endl;
        co_return BadArguments;
    }
    m_written =
        m_ended[programmed].outcome == Outcome::Done ? m_ended[programmed].total : m_ended[programmed].done;
    if (m_ended[programmed].outcome != Outcome::Done) {
        // The error report has said which locations hold what, and where the backup is.
        m_err << "error: programming stopped early (" << m_ended[programmed].detail
              << "): the unit holds a mix of the new and the old configuration" << Qt::endl;
        throw Stop{PortFailure};
    }
    stage(QStringLiteral("verifying"));
    const qsizetype readBack = co_await waitForEnd(programmed + 1, Phase::ReadingBack);
    if (readBack < 0 || m_ended[readBack].outcome != Outcome::Done) {
        m_err << "error: the unit was programmed, but not read back to verify it";
        if (readBack >= 0) m_err << ": " << m_ended[readBack].detail;
        m_err << Qt::endl;
        throw Stop{PortFailure};
    }
    co_return verify();
}

int BatchRun::verify() {
    const QList<LocationChange> changes =
        locationChanges(plannedLocations(programmingPlan(m_form.engine.writing)),
                        m_form.readBack->locations(), m_form.engine.sim.capacity);
    for (const LocationChange& change : changes)
        m_err << "location " << change.location << ": wrote " << describe(change.before) << ", read back "
              << describe(change.after) << Qt::endl;
    const qsizetype differences = changes.size();
    m_differences = differences;
    if (differences == 0) return Done;
    m_err << differences << (differences == 1 ? " location differs" : " locations differ") << Qt::endl;
    return Differences;
}

int BatchRun::diff() {
    if (planRefused()) return BadArguments;
    const ConfigurationChanges changes = unitChanges(m_form);
    if (m_settings.byLocation) {
        const QList<LocationChange> locations = planChanges(
            programmingPlan(readControls(m_form)), m_form.readBack->locations(), m_form.engine.sim.capacity);
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

Steps<int> BatchRun::upload() {
    const qsizetype mark = m_ended.size();
    click([this] { m_form.UpgradeClick(); });
    const qsizetype end = co_await waitForEnd(mark, Phase::Uploading);
    if (end < 0) throw Stop{PortFailure};
    const Ended& ended = m_ended[end];
    if (ended.outcome == Outcome::Done) {
        m_err << "upload done: " << ended.detail << Qt::endl;
        // A blank line ended the list before lines that were meant to go, maybe.
        co_return linesAfterBlank(m_form.List, m_form.dialogue.done()).isEmpty() ? int(Done)
                                                                                 : int(Differences);
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
        endPhaseBySignal();
        wake();
    });
}

void BatchRun::endPhaseBySignal() {
    if (!m_form.dialogue.is(Phase::Idle))
        m_form.run(
            [this] { m_form.stopPhase(Outcome::Cancelled, QStringLiteral("Interrupted by a signal.")); });
}

Steps<int> BatchRun::endAfterSignal() {
    // The steps may go on before the signal's own turn has come.
    endPhaseBySignal();
    m_err << "interrupted while " << m_stage << Qt::endl;
    // The command in flight is answered before the unit is switched back; a file's data still leaving
    // is part of it.
    m_interrupted = false;
    const int leaving = static_cast<int>(m_port.outputPending() * 1000 / SerialPort::LineBytesPerSecond);
    m_awaitingLine = true;
    try {
        co_await waitFor([this] { return m_linesHandled > m_linesAtInterrupt; }, InFlightMs + leaving);
    } catch (const PortLost&) {
        // Nothing more will come.
    } catch (const Signalled&) {
        // A second signal: the run ends at once.
    }
    co_return Interrupted;
}

void BatchRun::backToRun() {
    if (!m_stopped || m_settings.stayStopped) return;
    stage(QStringLiteral("running"));
    const int errors = m_dialogs.errorCount;
    m_form.run([this] { m_form.RunORUClick(); });
    if (m_dialogs.errorCount > errors)
        m_err << "error: the unit could not be switched back to run mode: it may still be stopped"
              << Qt::endl;
}

int BatchRun::writeLog(int code) {
    if (m_settings.logFile.isEmpty()) return code;
    try {
        writeWholeFile(m_settings.logFile, m_form.monitorText());
    } catch (const Failure& failure) {
        m_dialogs.reportError(failure.text());
        if (code == Done || code == Differences) return BadArguments;
    }
    return code;
}

Steps<void> BatchRun::identify() {
    stage(QStringLiteral("identifying"));
    for (const QByteArray& command : {QByteArray("AT+CGSN"), QByteArray("AT+CNUM")}) {
        m_answers.clear();
        m_form.unit.send(command + "\r\n");
        m_awaitingLine = true;
        const bool answered = co_await waitFor(
            [this] {
                return std::any_of(m_answers.begin(), m_answers.end(), [](const QByteArray& line) {
                    return line == "OK" || line.contains("ERROR");
                });
            },
            m_settings.timeoutSeconds * 1000);
        m_awaitingLine = false;
        if (!answered) {
            m_err << "error: the unit did not answer " << command << Qt::endl;
            throw Stop{PortFailure};
        }
        for (const QByteArray& answer : std::as_const(m_answers)) {
            if (command == "AT+CGSN" && answer.size() >= 14 && answer.size() <= 17 &&
                std::all_of(answer.begin(), answer.end(), [](char c) { return c >= '0' && c <= '9'; }))
                m_imei = answer;
            // +CNUM: "name","number",type
            if (command == "AT+CNUM" && answer.startsWith("+CNUM:") && m_simNumber.isEmpty())
                m_simNumber = answer.split('"').value(3);
        }
    }
    if (m_imei.isEmpty()) {
        m_err << "error: the unit did not report its IMEI" << Qt::endl;
        throw Stop{PortFailure};
    }
    m_err << "unit " << m_imei;
    if (!m_simNumber.isEmpty()) m_err << ", SIM number " << m_simNumber;
    m_err << Qt::endl;
}

QStringList BatchRun::unitsDone() const {
    try {
        return QString::fromLatin1(readWholeFile(m_settings.lineUnit))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    } catch (const Failure&) {
        // No unit is done yet.
        return {};
    }
}

void BatchRun::printRecord(int code) const {
    QJsonObject record{{QStringLiteral("status"), code},
                       {QStringLiteral("answered"), m_linesHandled > 0},
                       {QStringLiteral("imei"), QString::fromLatin1(m_imei)},
                       {QStringLiteral("simNumber"), QString::fromLatin1(m_simNumber)},
                       {QStringLiteral("alreadyDone"), m_alreadyDone},
                       {QStringLiteral("written"), m_written},
                       {QStringLiteral("differences"), qint64(m_differences)},
                       {QStringLiteral("backup"), m_backup},
                       {QStringLiteral("reason"),
                        QString(m_dialogs.firstError).replace(QLatin1Char('\n'), QLatin1Char(' '))}};
    QTextStream(stdout) << QJsonDocument(record).toJson(QJsonDocument::Compact) << Qt::endl;
}

void BatchRun::onLine(const QByteArray& line) {
    ++m_linesHandled;
    if (m_awaitingLine) m_answers << line;
    // Only the identification and the end of a run wait for a line, the answer to the command in flight.
    if (m_awaitingLine) wake();
    if (line.contains("+CPBR: (1-")) {
        stage(QStringLiteral("reading %1 locations").arg(m_form.engine.sim.capacity));
    }
}
