// Start-up as users meet it: the real zuvovu executable, offscreen, on a pseudo-terminal of its own whose
// other end this program joins to zuvovu-sim at a real unit's pace. Prints, for several starts, how long
// after exec the first byte reaches the line and the window is first drawn whole, and the time between the
// start-up exchange's two commands (its wait, which must stay); then the medians against the targets.
//
// The window's drawing is learnt from the toolkit's painting log, written to a pipe: the log costs the
// program a little, so the figure errs on the slow side.

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int Starts = 9;
constexpr double FirstByteTargetMs = 150;
constexpr double ShownTargetMs = 250;
constexpr int StartupWaitMs = 200;

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void makeRaw(int fd) {
    termios settings{};
    tcgetattr(fd, &settings);
    cfmakeraw(&settings);
    cfsetspeed(&settings, B115200);
    tcsetattr(fd, TCSANOW, &settings);
}

// zuvovu-sim as a unit just switched on, on a pseudo-terminal of its own.
class Unit {
public:
    Unit() {
        m_sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/zuvovu-sim"), QStringList{});
        if (m_sim.waitForReadyRead(10000)) device = m_sim.readLine().trimmed();
    }
    ~Unit() {
        m_sim.terminate();
        m_sim.waitForFinished(5000);
    }
    QByteArray device;

private:
    QProcess m_sim;
};

struct Start {
    double firstByteMs = -1;
    // The program's main thread until the first byte: its time on a processor and its time waiting for one
    // (a busy machine's share).
    double firstByteCpuMs = -1;
    double firstByteQueuedMs = -1;
    double shownMs = -1;
    // From the first byte of the first command to that of the second.
    double exchangeWaitMs = -1;
};

// Bytes waiting to be written to a non-blocking descriptor.
struct Pipe {
    int from = -1;
    int to = -1;
    QByteArray waiting;
    // Returns what was read.
    QByteArray relay() {
        char buffer[4096];
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        const QByteArray read(buffer, std::max<ssize_t>(got, 0));
        waiting += read;
        flush();
        return read;
    }
    void flush() {
        if (waiting.isEmpty()) return;
        const ssize_t put = ::write(to, waiting.constData(), static_cast<size_t>(waiting.size()));
        if (put > 0) waiting.remove(0, put);
    }
};

// One start of zuvovu, from exec until the start-up exchange's second command has left and the window was
// drawn (or 10 s passed); the program is then ended by SIGTERM, as a closed session would.
std::optional<Start> measureStart(const QString& program) {
    const Unit unit;
    if (unit.device.isEmpty()) return std::nullopt;
    const int toUnit = ::open(unit.device.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (toUnit < 0 || master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return std::nullopt;
    const QByteArray line = ptsname(master);
    // Held open here too, so that the line stays up whatever the program does with it.
    const int slave = ::open(line.constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    makeRaw(slave);
    makeRaw(toUnit);
    int log[2];
    if (::pipe2(log, O_CLOEXEC) != 0) return std::nullopt;
    ::fcntl(log[0], F_SETFL, O_NONBLOCK);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, log[1], STDERR_FILENO);
    std::vector<QByteArray> environment{"QT_QPA_PLATFORM=offscreen",
                                        "QT_LOGGING_RULES=qt.widgets.painting=true",
                                        "QT_MESSAGE_PATTERN=%{time boot} %{message}"};
    for (char** variable = environ; *variable; ++variable) {
        const QByteArray text(*variable);
        if (!text.startsWith("QT_QPA_PLATFORM=") && !text.startsWith("QT_LOGGING_RULES=") &&
            !text.startsWith("QT_MESSAGE_PATTERN="))
            environment.push_back(text);
    }
    std::vector<char*> envp;
    for (QByteArray& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    QByteArray path = QFile::encodeName(program);
    QByteArray portOption = "--port";
    QByteArray device = line;
    char* argv[] = {path.data(), portOption.data(), device.data(), nullptr};

    const Clock::time_point exec = Clock::now();
    // The log's clock: milliseconds of the monotonic clock, cut to 32 bits.
    const auto execMs = static_cast<quint32>(
        std::chrono::duration_cast<std::chrono::milliseconds>(exec.time_since_epoch()).count());
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, path.constData(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(log[1]);
    if (spawned != 0) return std::nullopt;

    Start start;
    Pipe toProgram{toUnit, master, {}};
    Pipe fromProgram{master, toUnit, {}};
    QByteArray sent;
    QByteArray logText;
    bool ended = false;
    bool terminated = false;
    while (!ended) {
        pollfd fds[] = {{master, POLLIN, 0}, {toUnit, POLLIN, 0}, {log[0], POLLIN, 0}};
        if (!fromProgram.waiting.isEmpty()) fds[1].events |= POLLOUT;
        if (!toProgram.waiting.isEmpty()) fds[0].events |= POLLOUT;
        ::poll(fds, 3, 20);
        if (const QByteArray fresh = fromProgram.relay(); !fresh.isEmpty()) {
            const double now = msSince(exec);
            if (start.firstByteMs < 0) {
                start.firstByteMs = now;
                QFile schedule(QStringLiteral("/proc/%1/schedstat").arg(pid));
                if (schedule.open(QIODevice::ReadOnly)) {
                    const QList<QByteArray> fields = schedule.readAll().split(' ');
                    start.firstByteCpuMs = fields.value(0).toDouble() / 1e6;
                    start.firstByteQueuedMs = fields.value(1).toDouble() / 1e6;
                }
            }
            sent += fresh;
            if (start.exchangeWaitMs < 0 && sent.contains("AT+CGMI\r\n"))
                start.exchangeWaitMs = now - start.firstByteMs;
        }
        toProgram.relay();
        char buffer[4096];
        for (ssize_t got; (got = ::read(log[0], buffer, sizeof buffer)) > 0;)
            logText.append(buffer, got);
        if (start.shownMs < 0) {
            // The first time the whole window reaches the screen.
            for (const QByteArray& message : logText.split('\n')) {
                if (!message.contains(" Flushing QRegion(0,0 ") || !message.contains(" of TForm1(")) continue;
                const double seconds = message.trimmed().split(' ').first().toDouble();
                start.shownMs = static_cast<quint32>(static_cast<quint32>(seconds * 1000 + 0.5) - execMs);
                break;
            }
            if (logText.size() > (1 << 16)) logText = logText.right(4096);
        }
        const bool through = start.exchangeWaitMs >= 0 && start.shownMs >= 0;
        if (!terminated && (through || msSince(exec) > 10000)) {
            ::kill(pid, SIGTERM);
            terminated = true;
        }
        int status = 0;
        ended = ::waitpid(pid, &status, WNOHANG) == pid;
    }
    for (const int fd : {toUnit, master, slave, log[0]})
        ::close(fd);
    if (!sent.startsWith("ATE0\r\nAT+CGMI\r\n"))
        std::fprintf(stderr, "the start-up exchange was not ATE0, AT+CGMI: \"%s\"\n",
                     sent.left(40).toPercentEncoding(" ").constData());
    return start;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? -1 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // A link named zuvovu in a folder of its own: the settings file goes there, not beside the build.
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("zuvovu"));
    if (!QFile::link(QCoreApplication::applicationDirPath() + QStringLiteral("/zuvovu"), program)) {
        std::fprintf(stderr, "cannot link %s\n", qPrintable(program));
        return 1;
    }
    // The first start fills the file system's caches and is not counted.
    measureStart(program);
    std::vector<double> firstBytes;
    std::vector<double> shown;
    for (int i = 1; i <= Starts; ++i) {
        const std::optional<Start> start = measureStart(program);
        if (!start) {
            std::fprintf(stderr, "start %d could not be set up\n", i);
            return 1;
        }
        std::printf(
            "start %d: first byte %5.1f ms (%5.1f ms on a processor, %5.1f ms waiting for one), window "
            "drawn %5.1f ms after exec; ATE0 to AT+CGMI %5.1f ms\n",
            i, start->firstByteMs, start->firstByteCpuMs, start->firstByteQueuedMs, start->shownMs,
            start->exchangeWaitMs);
        // Seen from here each byte arrives a few milliseconds late, the first as much as the second.
        if (start->exchangeWaitMs < StartupWaitMs - 10)
            std::printf("        the start-up wait was cut short (%d ms)\n", StartupWaitMs);
        firstBytes.push_back(start->firstByteMs < 0 ? 1e9 : start->firstByteMs);
        shown.push_back(start->shownMs < 0 ? 1e9 : start->shownMs);
    }
    const double firstByte = median(firstBytes);
    const double drawn = median(shown);
    const bool met = firstByte <= FirstByteTargetMs && drawn <= ShownTargetMs;
    std::printf(
        "median of %d starts: first byte %.1f ms (target %.0f), window drawn %.1f ms (target %.0f): %s\n",
        Starts, firstByte, FirstByteTargetMs, drawn, ShownTargetMs, met ? "met" : "NOT met");
    return met ? 0 : 1;
}
