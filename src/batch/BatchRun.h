#pragma once

#include "config/ProgrammingPlan.h"
#include "core/Steps.h"
#include "engine/Dialogue.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QTextStream>
#include <QTimer>
#include <coroutine>
#include <functional>

class TForm1;
class WatchedPort;
class ConsoleDialogs;

// Reads a unit into a configuration file, programs a unit from one and verifies what it holds, shows what
// programming a file would change, or runs an upgrade list, by driving the window's own handlers as a
// person clicking would. It waits on the dialogue's phases, woken by their signals: a read or a programming
// is over when its own answers have come, never when a timer says so, and --timeout is every phase's limit
// on the unit's silence. The files and folders the task needs are checked before the unit is touched, and
// a unit the run stopped is switched back to run mode however the run ends (unless it is to stay stopped).
class BatchRun : public QObject {
    Q_OBJECT
public:
    enum class Task { Read, Program, Diff, Upload };
    enum ExitCode { Done = 0, Differences = 1, BadArguments = 2, PortFailure = 3, Interrupted = 4 };

    struct Settings {
        Task task = Task::Read;
        QString file;
        bool stayStopped = false;
        // --diff lists the locations that would change instead of the changes by meaning.
        bool byLocation = false;
        // --program writes every location in the full sequence.
        bool full = false;
        int timeoutSeconds = 60;
        QString logFile;
        // How long a unit may take to report its stop before it is asked whether it is stopped already.
        int stopAnswerMs = 3000;
        // One unit of a production line: the unit is identified once read, left alone when its identity
        // is listed in this file, and its record goes to standard output as one JSON line.
        QString lineUnit;
    };

    BatchRun(TForm1& form, WatchedPort& port, ConsoleDialogs& dialogs, const Settings& settings,
             QTextStream& err);

    // Runs the whole task on the program's event loop; the exit status of the program.
    int run();
    // A signal asks the run to end: the command in flight is answered, nothing more is sent.
    void interrupt();
    // Loads the configuration file into the window and says what in its fields no unit could take.
    static QStringList fileFieldProblems(TForm1& form, ConsoleDialogs& dialogs, const QString& file);

private:
    struct Ended {
        Dialogue::Phase phase;
        Dialogue::Outcome outcome;
        QString detail;
        // The read command itself went out (a SIM of ten locations or fewer is not read).
        bool readOut;
        // The phase's steps done of its total when it ended.
        int done;
        int total;
    };
    // Ends the run with an exit status; what went wrong has been said.
    struct Stop {
        int code;
    };
    struct PortLost {};
    struct Signalled {};

    // Says what keeps the task's files and folders from being read or written; false when anything does.
    bool checkFiles();
    void stage(const QString& text);
    struct Woken;
    // The whole task, step by step; its waits hand the thread back to the event loop.
    Steps<int> steps();
    // Waits until done() holds. Fails when a signal came, or the port was lost while no phase runs that
    // would end; with a limit, comes to false once that many milliseconds have passed.
    Steps<bool> waitFor(std::function<bool()> done, int limitMs = -1);
    // Wakes waitFor to look again.
    void wake();
    // Waits for the first phase that ends early, or for the given phase to end, after the mark; its index,
    // or -1 when no phase runs any more and none has ended so.
    Steps<qsizetype> waitForEnd(qsizetype mark, Dialogue::Phase phase);
    void click(const std::function<void()>& handler);
    Steps<void> readUnit();
    // Asks the stopped unit for its IMEI and the SIM's own number.
    Steps<void> identify();
    // The identities a production line has done already.
    QStringList unitsDone() const;
    // The unit's record for the production line.
    void printRecord(int code) const;
    // Says every reason why the loaded file cannot be programmed whole; true when there is one.
    bool planRefused();
    Steps<int> program();
    int verify();
    int diff();
    Steps<int> upload();
    Steps<int> endAfterSignal();
    // The phase under way ends, and says where it stopped.
    void endPhaseBySignal();
    void backToRun();
    // The status after the log is written: a log that cannot be written makes a good run's status 2.
    int writeLog(int code);

    void onLine(const QByteArray& line);

    TForm1& m_form;
    WatchedPort& m_port;
    ConsoleDialogs& m_dialogs;
    Settings m_settings;
    QTextStream& m_err;
    QString m_stage;
    // The steps wait here to be woken, at the latest by the limit.
    std::coroutine_handle<> m_waiting;
    bool m_wakeQueued = false;
    QTimer m_limit;
    // The unit was asked to stop: it goes back to run mode at the end.
    bool m_stopped = false;
    bool m_interrupted = false;
    // The run waits for the next line the unit says.
    bool m_awaitingLine = false;
    int m_linesHandled = 0;
    int m_linesAtInterrupt = 0;

    QList<Ended> m_ended;
    // For the production line: who the unit is, what was written and found.
    QByteArray m_imei;
    QByteArray m_simNumber;
    bool m_alreadyDone = false;
    int m_written = 0;
    qsizetype m_differences = 0;
    QString m_backup;
    QList<QByteArray> m_answers;
    // The step of programming or of an upload last said on the terminal.
    int m_stepShown = -1;
};
