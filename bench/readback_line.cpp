// The read-back as users run it: the real serial port class over a pseudo-terminal to zuvovu-sim (a process
// of its own, so that its work is not counted), with the phases on and the real clock; in batch (the batch
// run's own waiting, the window hidden) and with the window shown. Prints the program's CPU time during the
// read-back as a share of the time the unit takes to list it, at a real unit's pace (115200 baud, 15 ms a
// record) and with the unit answering at once.
#include "FullSim.h"
#include "ScriptedDialogs.h"

#include "app/PortChoice.h"
#include "app/TForm1.h"
#include "batch/BatchRun.h"
#include "batch/ConsoleDialogs.h"
#include "batch/WatchedPort.h"
#include "core/Pacer.h"
#include "core/WholeFile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <ctime>

namespace {

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// The CPU and wall time from the start of the read-back to its end.
struct Span {
    double cpu = 0;
    double wall = 0;
    bool done = false;
};

// Measures the read-back phases of a window: the one that runs last.
class ReadBackMeter : public QObject {
public:
    explicit ReadBackMeter(Dialogue& dialogue) {
        connect(&dialogue, &Dialogue::started, this, [this](Dialogue::Phase phase) {
            if (phase != Dialogue::Phase::ReadingBack) return;
            m_cpu = cpuSeconds();
            m_wall.start();
        });
        connect(&dialogue, &Dialogue::ended, this, [this](Dialogue::Phase phase, Dialogue::Outcome outcome) {
            if (phase != Dialogue::Phase::ReadingBack) return;
            span = {cpuSeconds() - m_cpu, static_cast<double>(m_wall.nsecsElapsed()) / 1e9,
                    outcome == Dialogue::Outcome::Done};
        });
    }
    Span span;

private:
    double m_cpu = 0;
    QElapsedTimer m_wall;
};

// zuvovu-sim, stopped, holding a full SIM of the given size.
class Unit {
public:
    Unit(const QString& phonebook, int capacity, bool realPace) {
        QStringList arguments{"--stopped", "--capacity", QString::number(capacity), "--phonebook", phonebook};
        if (!realPace) arguments << QStringLiteral("--instant");
        m_sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/zuvovu-sim"), arguments);
        if (m_sim.waitForReadyRead(10000)) device = QString::fromLocal8Bit(m_sim.readLine()).trimmed();
    }
    ~Unit() {
        m_sim.terminate();
        m_sim.waitForFinished(5000);
    }
    QString device;

private:
    QProcess m_sim;
};

Span batchRead(const QString& device, const QString& file) {
    QString errors;
    QTextStream err(&errors);
    ConsoleDialogs dialogs(err);
    PortChoice choice(dialogs);
    choice.chooseDevice(device);
    WatchedPort port(choice);
    RealPacer pacer;
    TForm1 form(port, pacer, dialogs, QStringLiteral("zuvovu"), file + QStringLiteral(".ini"));
    ReadBackMeter meter(form.dialogue);
    BatchRun::Settings settings;
    settings.file = file;
    BatchRun run(form, port, dialogs, settings, err);
    if (run.run() != BatchRun::Done) std::fprintf(stderr, "%s", qPrintable(errors));
    return meter.span;
}

Span windowRead(const QString& device, const QString& settings) {
    ScriptedDialogs dialogs;
    PortChoice port(dialogs);
    port.chooseDevice(device);
    RealPacer pacer;
    TForm1 form(port, pacer, dialogs, QStringLiteral("GSMTandor"), settings);
    ReadBackMeter meter(form.dialogue);
    form.show();
    form.run([&] { form.FormCreate(); });
    QTest::qWait(100);
    // DTR does not cross a pseudo-terminal: the unit waits stopped, and Load finds it so.
    form.run([&] { form.StopORUClick(); });
    form.run([&] { form.LoadORUClick(); });
    if (!QTest::qWaitFor([&] { return meter.span.wall > 0; }, 600000)) std::fprintf(stderr, "no read-back\n");
    form.ApdComPort1.close();
    return meter.span;
}

void print(const char* how, int capacity, const char* pace, const Span& span) {
    std::printf("%-13s %4d locations, %-14s CPU %7.1f ms in %7.0f ms: 1/%.0f of the line's time%s\n", how,
                capacity, pace, span.cpu * 1e3, span.wall * 1e3, span.wall / span.cpu,
                span.done ? "" : " (NOT read whole)");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());

    bool met = true;
    for (const int capacity : {250, 2000}) {
        const QString phonebook = dir.filePath(QStringLiteral("unit-%1.txt").arg(capacity));
        writeWholeFile(phonebook, bench::fullSimFile(capacity));
        for (const bool realPace : {true, false}) {
            const char* pace = realPace ? "real pace" : "answering now";
            Span batch;
            {
                Unit unit(phonebook, capacity, realPace);
                batch = batchRead(unit.device, dir.filePath(QStringLiteral("read.oru")));
            }
            print("batch", capacity, pace, batch);
            Span shown;
            {
                Unit unit(phonebook, capacity, realPace);
                shown = windowRead(unit.device, dir.filePath(QStringLiteral("zuvovu.ini")));
            }
            print("window shown", capacity, pace, shown);
            if (realPace)
                met = met && batch.done && shown.done && batch.cpu * 100 <= batch.wall &&
                      shown.cpu * 50 <= shown.wall;
        }
    }
    std::printf("target at real pace: CPU at most 1/100 of the line's time in batch, 1/50 with the window "
                "shown: %s\n",
                met ? "met" : "NOT met");
    return met ? 0 : 1;
}
