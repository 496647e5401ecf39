#include "app/Launch.h"
#include "app/Pacer.h"
#include "app/QtUserDialogs.h"
#include "app/TForm1.h"
#include "app/PortChoice.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2];

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[0], &byte, 1);
}

// SIGTERM and SIGINT close the window as its close button does, so the settings are written.
void closeOnSignals(QWidget& window) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char byte;
        [[maybe_unused]] const auto got = ::read(signalPipe[1], &byte, 1);
        window.close();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zuvovu"));
    QApplication::setApplicationDisplayName(QStringLiteral("ZUVovu"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Configures a GSM door-intercom unit over a serial line."));
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("Open serial device NAME without asking."),
                                        QStringLiteral("NAME"));
    parser.addOption(portOption);
    const QCommandLineOption simulatorOption(QStringLiteral("simulator"),
                                             QStringLiteral("Talk to the built-in simulated unit instead of a serial port."));
    parser.addOption(simulatorOption);
    parser.process(app);

    const Launch launch = launchFrom(QString::fromLocal8Bit(argv[0]));
    QtUserDialogs dialogs;
    PortChoice port(dialogs);
    if (parser.isSet(simulatorOption)) port.chooseSimulator();
    else if (parser.isSet(portOption)) port.chooseDevice(parser.value(portOption));
    RealPacer pacer;

    TForm1 window(port, pacer, dialogs, launch.exeName, launch.settingsPath);
    dialogs.setParentWindow(&window);
    closeOnSignals(window);
    window.run([&window] { window.FormCreate(); });
    window.show();
    return QApplication::exec();
}
