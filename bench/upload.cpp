// Uploads a 1 MiB audio file through the window to the simulated unit, with every wait recorded instead of
// slept, and prints the CPU time and how far the memory peak grows. The program should hold no more than a
// small multiple of the payload: the target is a growth below four times the file size.

#include "RecordingPacer.h"
#include "ScriptedDialogs.h"
#include "Transcript.h"

#include "app/TForm1.h"
#include "sim/SimulatedPort.h"
#include "sim/SimulatedUnit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <numeric>
#include <sys/resource.h>

namespace {

constexpr qsizetype FileSize = 1024 * 1024;
constexpr int TargetFactor = 4;

// A value in KiB from /proc/self/status ("VmRSS", "VmHWM"); -1 where there is none.
qint64 statusKiB(const QByteArray& key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

// Lets the peak start again from the present size (Linux 4.0 and later).
bool resetPeak() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

double cpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Written in small blocks, so that making the file does not raise the peak that is measured.
bool writeAudio(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    QByteArray block(4096, Qt::Uninitialized);
    for (qsizetype at = 0; at < FileSize; at += block.size()) {
        for (qsizetype i = 0; i < block.size(); ++i)
            block[i] = static_cast<char>((at + i) * 7 % 251);
        if (file.write(block) != block.size()) return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dir;
    const QString audio = dir.filePath(QStringLiteral("ring.wav"));
    const QString list = dir.filePath(QStringLiteral("upgrade.ifo"));
    QFile listFile(list);
    if (!writeAudio(audio) || !listFile.open(QIODevice::WriteOnly) ||
        listFile.write("ASEND:ring.wav\r\n") < 0) {
        std::fprintf(stderr, "cannot write the files in %s\n", qPrintable(dir.path()));
        return 1;
    }
    listFile.close();

    SimOptions options;
    options.startStopped = true;
    SimulatedUnit unit(options);
    SimulatedPort port(unit);
    RecordingPacer pacer;
    ScriptedDialogs dialogs;
    TForm1 form(port, pacer, dialogs, QStringLiteral("zuvovu"), dir.filePath(QStringLiteral("zuvovu.ini")));
    dialogs.openAnswers = {list};
    form.LoadList->click();
    settle(port);

    const bool peakReset = resetPeak();
    const qint64 before = statusKiB(peakReset ? "VmRSS" : "VmHWM");
    const double cpuBefore = cpuMs();
    QElapsedTimer wall;
    wall.start();
    // The click reads the file and sends the command; delivery follows on the module's prompt.
    form.Upgrade->click();
    const qint64 reading = statusKiB("VmHWM") - before;
    settle(port);
    const double cpu = cpuMs() - cpuBefore;
    const qint64 elapsed = wall.elapsed();
    const qint64 growth = statusKiB("VmHWM") - before;

    QFile check(audio);
    const bool identical =
        check.open(QIODevice::ReadOnly) && unit.audioFiles().value("ring.wav") == check.readAll();
    const int pieces =
        static_cast<int>(form.Monitor->toPlainText().count(QStringLiteral("flush buffer"))) + 1;
    const double factor = static_cast<double>(growth) * 1024 / FileSize;
    const bool met = before >= 0 && factor < TargetFactor;

    std::printf("upload of a %lld-byte audio file through the window to the simulated unit\n",
                static_cast<long long>(FileSize));
    std::printf("  delivered           : %lld bytes, identical to the file: %s\n",
                static_cast<long long>(unit.audioFiles().value("ring.wav").size()), identical ? "yes" : "NO");
    std::printf("  payload sends       : %d (output buffer %d bytes)\n", pieces,
                SerialPort::OutputBufferSize);
    std::printf("  waits recorded      : %lld, together %d ms (not slept)\n",
                static_cast<long long>(pacer.waits.size()),
                std::accumulate(pacer.waits.begin(), pacer.waits.end(), 0));
    std::printf("  reported errors     : %lld\n", static_cast<long long>(dialogs.errors.size()));
    std::printf("  CPU time            : %.1f ms (wall %lld ms)\n", cpu, static_cast<long long>(elapsed));
    std::printf("  peak memory growth  : %lld KiB = %.2f x the file size (peak %s)\n",
                static_cast<long long>(growth), factor,
                peakReset ? "reset before the upload" : "not resettable: growth over the earlier peak");
    std::printf(
        "    of which reading  : %lld KiB (the payload the window holds; the rest is delivery and the\n"
        "                        simulated unit gathering the file as it arrives)\n",
        static_cast<long long>(reading));
    std::printf("  target (growth below %d x the file size): %s\n", TargetFactor, met ? "met" : "NOT met");
    return identical && dialogs.errors.isEmpty() ? 0 : 1;
}
