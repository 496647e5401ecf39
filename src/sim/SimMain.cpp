// zuvovu-sim: the simulated unit on a pseudo-terminal. Prints the device path and runs until SIGINT or
// SIGTERM, so that `zuvovu --port PATH` and ordinary serial tools can talk to it.

#include "core/Failure.h"
#include "core/WholeFile.h"
#include "sim/PtyFront.h"
#include "sim/SimulatedUnit.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/signalfd.h>
#include <unistd.h>
#include <vector>

namespace {

// NAME=NUMBER lines, each into the next location; a line without "=" is a name alone.
QMap<int, SimEntry> phonebookFile(const QByteArray& text) {
    QMap<int, SimEntry> entries;
    for (QByteArray line : text.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        if (line.isEmpty()) continue;
        const qsizetype equals = line.indexOf('=');
        entries.insert(static_cast<int>(entries.size()) + 1,
                       equals < 0 ? SimEntry{{}, line} : SimEntry{line.mid(equals + 1), line.left(equals)});
    }
    return entries;
}

// Units of one run, and of runs side by side, tell themselves apart by the process and their place in it.
SimOptions identified(SimOptions options, int index) {
    const QByteArray process =
        QByteArray::number(QCoreApplication::applicationPid() % 1000000).rightJustified(6, '0');
    const QByteArray place = QByteArray::number(index).rightJustified(3, '0');
    options.imei = "35693" + process + place + "0";
    options.ownNumber = "+4207" + process + place;
    return options;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "The simulated unit on a pseudo-terminal; prints the device path. DTR does not travel over a "
        "pseudo-terminal, so the unit stays in the mode it starts in until AT#REBOOT. Like a real unit it "
        "talks at 115200 baud both ways, takes about 15 ms for each phonebook record it lists, and refuses "
        "the first phonebook command after it starts with \"+CME ERROR: 14\" (SIM busy).");
    parser.addHelpOption();
    const QCommandLineOption stopped("stopped", "Start in stop mode, answering AT commands.");
    const QCommandLineOption lte("lte", "Be the LTE kind of module.");
    const QCommandLineOption capacity("capacity", "Locations of the SIM phonebook (default 250).", "N",
                                      "250");
    const QCommandLineOption instant("instant", "Pass bytes at once both ways, list records without "
                                                "delay and have the SIM ready from the start.");
    const QCommandLineOption scan("scan-ms",
                                  "Time the SIM takes to look at each location it lists, used or not "
                                  "(default 0): a slow SIM is silent for long over empty locations.",
                                  "MS", "0");
    const QCommandLineOption phonebook(
        "phonebook",
        "Fill the SIM from FILE, one NAME=NUMBER line a location from location 1 (a configuration "
        "file as the program saves it).",
        "FILE");
    const QCommandLineOption units(
        "units",
        "Stand for N units, each on a pseudo-terminal of its own (one device path a line), each with an "
        "IMEI and a SIM number of its own.",
        "N", "1");
    parser.addOptions({stopped, lte, capacity, instant, scan, phonebook, units});
    parser.process(app);

    SimOptions options = SimOptions::realistic();
    if (parser.isSet(instant)) options = options.instant();
    options.startStopped = parser.isSet(stopped);
    options.kind = parser.isSet(lte) ? SimKind::Lte : SimKind::Standard;
    bool ok = false;
    options.capacity = parser.value(capacity).toInt(&ok);
    if (!ok || options.capacity < 1) {
        std::fprintf(stderr, "--capacity needs a positive number\n");
        return 2;
    }
    if (parser.isSet(phonebook)) {
        try {
            options.phonebook = phonebookFile(readWholeFile(parser.value(phonebook)));
        } catch (const Failure& failure) {
            std::fprintf(stderr, "%s\n", qPrintable(failure.text()));
            return 2;
        }
    }
    options.locationMs = parser.value(scan).toInt(&ok);
    if (!ok || options.locationMs < 0) {
        std::fprintf(stderr, "--scan-ms needs a number of milliseconds\n");
        return 2;
    }

    const int unitCount = parser.value(units).toInt(&ok);
    if (!ok || unitCount < 1) {
        std::fprintf(stderr, "--units needs a positive number\n");
        return 2;
    }

    // The stop signals arrive as readable data, so that the event loop ends and everything closes in order.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
    const int signalFd = signalfd(-1, &stopSignals, SFD_CLOEXEC);
    if (signalFd < 0) {
        std::perror("signalfd");
        return 1;
    }
    QSocketNotifier signalNotifier(signalFd, QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

    try {
        std::vector<std::unique_ptr<SimulatedUnit>> simulated;
        std::vector<std::unique_ptr<PtyFront>> fronts;
        for (int index = 1; index <= unitCount; ++index) {
            simulated.push_back(std::make_unique<SimulatedUnit>(identified(options, index)));
            fronts.push_back(std::make_unique<PtyFront>(*simulated.back()));
            std::printf("%s\n", fronts.back()->devicePath().constData());
        }
        std::fflush(stdout);
        const int result = app.exec();
        ::close(signalFd);
        return result;
    } catch (const Failure& failure) {
        std::fprintf(stderr, "%s\n", qPrintable(failure.text()));
        return 1;
    }
}
