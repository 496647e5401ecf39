// The read-back as users run it: the executable `zuvovu --read FILE --port PTY`, a whole process from exec to
// exit, against zuvovu-sim on a pseudo-terminal (a process of its own, whose work is not counted). What the
// records cost is the CPU (user + system) of reading 2000 locations less that of reading 20; it is printed as
// a share of the time the line takes to carry the bytes of those 1980 extra records, at a real unit's pace
// (115200 baud, 15 ms a record) and with the unit answering at once. Each read runs REPEAT times (default 5):
// the median and the spread.
//   bench_readback_line [REPEAT]
#include "FullSim.h"

#include "comm/SerialPort.h"
#include "core/WholeFile.h"
#include "sim/SimPhonebook.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr int Few = 20;
constexpr int Many = 2000;

double seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

double wallSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Starts a program with its standard output and error going to the given descriptors.
pid_t spawn(const std::vector<std::string>& arguments, int out, int err) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        std::fprintf(stderr, "%s cannot be started: %s\n", argv[0], std::strerror(failed));
        std::exit(2);
    }
    return pid;
}

// zuvovu-sim, stopped, holding a full SIM of the given size, on a pseudo-terminal of its own.
class Unit {
public:
    Unit(const QString& bin, const QString& phonebook, int capacity, bool realPace) {
        std::vector<std::string> arguments{(bin + QStringLiteral("/zuvovu-sim")).toStdString(),
                                           "--stopped",
                                           "--capacity",
                                           std::to_string(capacity),
                                           "--phonebook",
                                           phonebook.toStdString()};
        if (!realPace) arguments.emplace_back("--instant");
        int out[2];
        if (::pipe(out) != 0) std::exit(2);
        m_pid = spawn(arguments, out[1], STDERR_FILENO);
        ::close(out[1]);
        m_out = out[0];
        // The first line it prints is the device's path.
        char c = 0;
        while (::read(m_out, &c, 1) == 1 && c != '\n')
            device += c;
        if (device.empty()) {
            std::fprintf(stderr, "zuvovu-sim named no device\n");
            std::exit(2);
        }
    }
    ~Unit() {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
        ::close(m_out);
    }
    Unit(const Unit&) = delete;
    Unit& operator=(const Unit&) = delete;
    std::string device;

private:
    pid_t m_pid = 0;
    int m_out = -1;
};

struct Run {
    double cpu = 0;
    double wall = 0;
};

// One read of the unit into a file, from exec to exit.
Run readUnit(const QString& bin, const std::string& device, const QString& file, const QString& said) {
    const int out = ::open("/dev/null", O_WRONLY);
    const int err = ::open(said.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const double begin = wallSeconds();
    const pid_t pid = spawn(
        {(bin + QStringLiteral("/zuvovu")).toStdString(), "--port", device, "--read", file.toStdString()},
        out, err);
    ::close(out);
    ::close(err);
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    Run run{seconds(usage.ru_utime) + seconds(usage.ru_stime), wallSeconds() - begin};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "zuvovu --read failed:\n%s\n", readWholeFile(said).constData());
        std::exit(1);
    }
    return run;
}

// The bytes the unit sends for the records of a full SIM of the given size, each line framed as it says it.
qint64 recordBytes(int capacity) {
    const SimOptions defaults;
    SimPhonebook sim(capacity, defaults.numberLength, defaults.textLength);
    sim.load(bench::fullSim(capacity));
    qint64 bytes = 0;
    for (const QByteArray& line : sim.read("1," + QByteArray::number(capacity)))
        if (line.startsWith("+CPBR:")) bytes += line.size() + 4;
    return bytes;
}

struct Spread {
    double median = 0;
    double low = 0;
    double high = 0;
};

Spread spread(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

} // namespace

int main(int argc, char** argv) {
    const int repeat = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    char self[4096] = {};
    if (::readlink("/proc/self/exe", self, sizeof self - 1) < 0) return 2;
    const QString bin = QFileInfo(QString::fromLocal8Bit(self)).absolutePath();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("read.oru"));
    const QString said = dir.filePath(QStringLiteral("said.txt"));
    const auto phonebook = [&](int capacity) {
        return dir.filePath(QStringLiteral("unit-%1.txt").arg(capacity));
    };
    for (const int capacity : {Few, Many})
        writeWholeFile(phonebook(capacity), bench::fullSimFile(capacity));
    const double lineSeconds =
        static_cast<double>(recordBytes(Many) - recordBytes(Few)) / SerialPort::LineBytesPerSecond;

    bool met = true;
    for (const bool realPace : {true, false}) {
        const char* pace = realPace ? "real pace" : "answering now";
        std::vector<double> cpu[2];
        std::vector<double> wall[2];
        // Runs alternate between the sizes, so that a neighbour's load on a shared machine falls on both.
        for (int run = 0; run < repeat; ++run)
            for (const int size : {0, 1}) {
                const int capacity = size == 0 ? Few : Many;
                const Unit unit(bin, phonebook(capacity), capacity, realPace);
                const Run read = readUnit(bin, unit.device, file, said);
                cpu[size].push_back(read.cpu);
                wall[size].push_back(read.wall);
            }
        for (const int size : {0, 1}) {
            const Spread c = spread(cpu[size]);
            std::printf("%-13s %4d locations: CPU %7.1f ms (%.1f .. %.1f), %6.1f s from exec to exit\n", pace,
                        size == 0 ? Few : Many, c.median * 1e3, c.low * 1e3, c.high * 1e3,
                        spread(wall[size]).median);
        }
        const double extra = spread(cpu[1]).median - spread(cpu[0]).median;
        std::printf(
            "%-13s %d records more: CPU %.1f ms for %.2f s of the line's time: 1/%.0f (median of %d)\n", pace,
            Many - Few, extra * 1e3, lineSeconds, lineSeconds / extra, repeat);
        met = met && extra * 100 <= lineSeconds;
    }
    std::printf("target: the records' CPU at most 1/100 of the line's time: %s\n", met ? "met" : "NOT met");
    return met ? 0 : 1;
}
