#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QMap>
#include <QObject>
#include <QString>
#include <QTextStream>
#include <functional>

class TForm1;
class WatchedPort;
class ConsoleDialogs;

// Reads a unit into a configuration file, or programs a unit from one and verifies what it holds,
// by driving the window's own handlers as a person clicking would.
class BatchRun : public QObject {
    Q_OBJECT
public:
    enum class Task { Read, Program };
    enum ExitCode { Done = 0, Differences = 1, BadArguments = 2, PortFailure = 3 };

    struct Settings {
        Task task = Task::Read;
        QString file;
        bool stayStopped = false;
        int timeoutSeconds = 60;
        QString logFile;
        // How long a unit may take to report its stop before it is taken to be stopped already.
        int stopAnswerMs = 3000;
    };

    BatchRun(TForm1& form, WatchedPort& port, ConsoleDialogs& dialogs, const Settings& settings,
             QTextStream& err);

    // Runs the whole task; the exit status of the program.
    int run();

private:
    struct Entry {
        QByteArray number;
        QByteArray name;
        friend bool operator==(const Entry&, const Entry&) = default;
    };
    struct TimedOut {};

    void stage(const QString& text);
    // Runs the event loop until done() holds. Fails with TimedOut when the unit says nothing for the
    // time-out; with a limit, returns false once that many milliseconds have passed.
    bool waitFor(const std::function<bool()>& done, int limitMs = -1);
    void click(const std::function<void()>& handler);
    bool portLost() const;
    void readUnit();
    int verify();
    void writeLog();

    void onSent(const QByteArray& data);
    void onLine(const QByteArray& line);

    TForm1& m_form;
    WatchedPort& m_port;
    ConsoleDialogs& m_dialogs;
    Settings m_settings;
    QTextStream& m_err;
    QString m_stage;
    QElapsedTimer m_sinceReceived;

    // What the dialogue has reached.
    bool m_stopAnswered = false;
    bool m_readPending = false;
    bool m_readSentNow = false;
    int m_oksBeforeRead = 0;
    int m_readBacks = 0;
    QMap<int, Entry> m_written;
    QMap<int, Entry> m_readBack;
};
