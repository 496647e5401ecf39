#include "app/Launch.h"
#include "app/PortChoice.h"
#include "app/ProgramOptions.h"
#include "app/QtUserDialogs.h"
#include "app/TForm1.h"
#include "batch/BatchRun.h"
#include "batch/ConsoleDialogs.h"
#include "batch/ProductionLine.h"
#include "batch/WatchedPort.h"
#include "core/GuardedApplication.h"
#include "core/Pacer.h"

#include <QSocketNotifier>
#include <QTextStream>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <initializer_list>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2];

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
}

// The given signals run handle() on the event loop, where it can end things in order.
void onSignals(QObject& owner, std::initializer_list<int> caught, const std::function<void()>& handle) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
    // A handler never waits: signals beyond what the pipe holds are the same request again.
    ::fcntl(signalPipe[0], F_SETFL, O_NONBLOCK);
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, &owner);
    QObject::connect(notifier, &QSocketNotifier::activated, &owner, [handle] {
        char byte;
        [[maybe_unused]] const auto got = ::read(signalPipe[1], &byte, 1);
        handle();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : caught)
        sigaction(number, &action, nullptr);
}

// Runs a batch task on the unit, without a window.
int runBatch(GuardedApplication& app, const ProgramOptions& options, const Launch& launch) {
    QTextStream err(stderr);
    ConsoleDialogs dialogs(err);
    app.reportTo(&dialogs);
    PortChoice choice(dialogs);
    if (options.simulator)
        choice.chooseSimulator();
    else
        choice.chooseDevice(options.port);
    WatchedPort port(choice);
    RealPacer pacer;
    TForm1 form(port, pacer, dialogs, launch.exeName, launch.settingsPath);
    BatchRun::Settings settings;
    const QMap<QString, BatchRun::Task> tasks{{QStringLiteral("read"), BatchRun::Task::Read},
                                              {QStringLiteral("program"), BatchRun::Task::Program},
                                              {QStringLiteral("diff"), BatchRun::Task::Diff},
                                              {QStringLiteral("upload"), BatchRun::Task::Upload}};
    settings.task = tasks.value(options.task);
    settings.file = options.taskFile;
    settings.stayStopped = options.stayStopped;
    settings.byLocation = options.byLocation;
    settings.full = options.full;
    settings.timeoutSeconds = options.timeoutSeconds;
    settings.logFile = options.logFile;
    settings.lineUnit = options.lineUnit;
    BatchRun run(form, port, dialogs, settings, err);
    // A closed terminal or ssh session (SIGHUP) and a reader of the output that went away (SIGPIPE) end the
    // run as SIGTERM does: in order, with the unit back in run mode and the log written. Standard error
    // that cannot be written any more is no reason to stop halfway.
    onSignals(run, {SIGTERM, SIGINT, SIGHUP, SIGPIPE}, [&run] { run.interrupt(); });
    const int status = run.run();
    // The dialogs end with this function, the application after it.
    app.reportTo(nullptr);
    return status;
}

// What in the configuration file no unit could take: it cannot be read, or a field's value cannot go.
QStringList lineFileProblems(GuardedApplication& app, const ProgramOptions& options, const Launch& launch,
                             QTextStream& err) {
    ConsoleDialogs dialogs(err);
    app.reportTo(&dialogs);
    PortChoice noPort(dialogs);
    RealPacer pacer;
    TForm1 form(noPort, pacer, dialogs, launch.exeName, launch.settingsPath);
    const QStringList problems = BatchRun::fileFieldProblems(form, dialogs, options.lineFile);
    app.reportTo(nullptr);
    return problems;
}

// Runs the production line on its ports, without a window.
int runLine(GuardedApplication& app, const ProgramOptions& options, const Launch& launch) {
    QTextStream err(stderr);
    ProductionLine::Settings settings;
    settings.station.file = options.lineFile;
    settings.station.full = options.full;
    settings.station.timeoutSeconds = options.timeoutSeconds;
    settings.fileProblems = lineFileProblems(app, options, launch, err);
    settings.ports = options.ports;
    settings.reportFile = options.reportFile;
    settings.again = options.again;
    ProductionLine line(settings, err);
    onSignals(line, {SIGTERM, SIGINT, SIGHUP, SIGPIPE}, [&line] { line.interrupt(); });
    return line.run();
}

} // namespace

int main(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // A batch run, the help, the version and a word on wrong arguments need no display.
    const ProgramOptions early = ProgramOptions::parse(arguments);
    if (!early.opensWindow() && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    GuardedApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zuvovu"));
    QApplication::setApplicationDisplayName(QStringLiteral("ZUVovu"));

    const ProgramOptions options = ProgramOptions::parse(QApplication::arguments());
    if (options.helpRequested) {
        std::fputs(qPrintable(options.helpText), stdout);
        return 0;
    }
    if (options.versionRequested) {
        std::printf("zuvovu %s\n", qPrintable(ProgramOptions::Version));
        return 0;
    }
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "%s\n%s", qPrintable(options.error), qPrintable(options.helpText));
        return BatchRun::BadArguments;
    }

    const Launch launch = launchFrom(QString::fromLocal8Bit(argv[0]));
    if (options.line()) return runLine(app, options, launch);
    if (options.batch()) return runBatch(app, options, launch);

    QtUserDialogs dialogs;
    app.reportTo(&dialogs);
    PortChoice port(dialogs);
    if (options.simulator)
        port.chooseSimulator();
    else if (!options.port.isEmpty())
        port.chooseDevice(options.port);
    RealPacer pacer;

    TForm1 window(port, pacer, dialogs, launch.exeName, launch.settingsPath);
    dialogs.setParentWindow(&window);
    bool signalled = false;
    // The window outlives a reader of its output that went away.
    std::signal(SIGPIPE, SIG_IGN);
    onSignals(window, {SIGTERM, SIGINT, SIGHUP}, [&window, &signalled] {
        signalled = true;
        window.closeBySignal();
    });
    window.run([&window] { window.FormCreate(); });
    // A signal during start-up, while the port dialog was open, has ended the program already.
    int status = 0;
    if (!signalled) {
        window.show();
        status = QApplication::exec();
    }
    // The dialogs end with this function, the application after it.
    app.reportTo(nullptr);
    return status;
}
