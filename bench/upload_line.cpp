// Uploads a 1 MiB script over the real serial port class to the simulated unit on a pseudo-terminal, which
// takes the bytes at the line's rate (115200 baud) in a thread of its own, with the program's pacing waits
// slept for real. Prints the wall time against the time the line needs for those bytes: the goal is at most
// 1.1 times the line's time plus the waits the dialogue requires around the data.

#include "ScriptedDialogs.h"
#include "UnitThread.h"

#include "app/TForm1.h"
#include "comm/QtSerialPort.h"
#include "core/Pacer.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

constexpr qsizetype FileSize = 1024 * 1024;
constexpr double Goal = 1.1;
// The dialogue's own waits around one script's data: before the data goes out after the prompt, and after
// the unit's "OK" before the next line.
constexpr int RequiredWaitsMs = 500 + 500;

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QTemporaryDir dir;
    QByteArray data(FileSize, Qt::Uninitialized);
    for (qsizetype i = 0; i < FileSize; ++i)
        data[i] = static_cast<char>(i * 7 % 251);
    QFile script(dir.filePath(QStringLiteral("big.pyo")));
    if (!script.open(QIODevice::WriteOnly) || script.write(data) != FileSize) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(script.fileName()));
        return 1;
    }
    script.close();

    SimOptions options;
    options.startStopped = true;
    options.inputBytesPerSecond = SerialPort::LineBytesPerSecond;
    UnitThread unit(options);
    const QByteArray device = unit.startUnit();
    ScriptedDialogs dialogs;
    QtSerialPort port;
    port.choose(QString::fromLocal8Bit(device));
    RealPacer pacer;
    TForm1 form(port, pacer, dialogs, QStringLiteral("zuvovu"), dir.filePath(QStringLiteral("zuvovu.ini")));
    // The list names the file as the unit is to store it, relative to the current folder.
    QDir::setCurrent(dir.path());
    form.List->setPlainText(QStringLiteral("big.pyo"));
    QSignalSpy ended(&form.dialogue, &Dialogue::ended);

    QElapsedTimer wall;
    wall.start();
    form.run([&] { form.UpgradeClick(); });
    const bool finished = QTest::qWaitFor([&] { return !ended.isEmpty(); }, 600000);
    const qint64 elapsed = wall.elapsed();
    unit.stopUnit();

    const bool identical = unit.scripts().value("big.pyo") == data;
    const double lineMs = FileSize * 1000.0 / SerialPort::LineBytesPerSecond;
    const double ratio = (elapsed - RequiredWaitsMs) / lineMs;
    const int waits = static_cast<int>(form.Monitor->toPlainText().count(QStringLiteral("sending")));
    std::printf("upload of a %lld-byte script over the real port to a unit reading at %d bytes/s\n",
                static_cast<long long>(FileSize), SerialPort::LineBytesPerSecond);
    std::printf("  finished            : %s, identical on the unit: %s, errors reported: %lld\n",
                finished ? "yes" : "NO", identical ? "yes" : "NO",
                static_cast<long long>(dialogs.errors.size()));
    std::printf("  wall time           : %lld ms\n", static_cast<long long>(elapsed));
    std::printf("  line time           : %.0f ms for the bytes alone\n", lineMs);
    std::printf(
        "  required waits      : %d ms (prompt and answer); %d buffer waits of 1000 ms overlap the line\n",
        RequiredWaitsMs, waits);
    std::printf("  (wall - waits)/line : %.3f (goal at most %.1f): %s\n", ratio, Goal,
                ratio <= Goal ? "met" : "NOT met");
    return finished && identical && dialogs.errors.isEmpty() ? 0 : 1;
}
