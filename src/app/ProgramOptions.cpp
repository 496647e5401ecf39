#include "app/ProgramOptions.h"

#include <QCommandLineParser>

const QString ProgramOptions::Version = QStringLiteral("6.1");

ProgramOptions ProgramOptions::parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Configures a GSM door-intercom unit over a serial line.\n"
        "Without --simulator or --port the program asks for the port at start.\n"
        "--read, --program, --diff and --upload run without a window and end when done, with the exit\n"
        "status 0 done (and verified), 1 verification found differences (with --diff: programming would\n"
        "change something), 2 bad arguments or a file that cannot be read or written, 3 port failure, no\n"
        "answer or an error answer from the unit, 4 ended by a signal (SIGINT, SIGTERM, SIGHUP) or a\n"
        "closed output. Files and folders are checked before the unit is touched, and a unit that was\n"
        "stopped goes back to run mode however the run ends."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the program's version."));
    const QCommandLineOption simulator(QStringLiteral("simulator"),
                                       QStringLiteral("Talks to the built-in simulated unit."));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Opens serial device NAME without asking."),
                                  QStringLiteral("NAME"));
    const QCommandLineOption read(
        QStringLiteral("read"),
        QStringLiteral("Reads the unit's whole configuration into the configuration file FILE."),
        QStringLiteral("FILE"));
    const QCommandLineOption program(
        QStringLiteral("program"),
        QStringLiteral("Programs the unit from the configuration file FILE, writing the locations that "
                       "differ from what it holds, and verifies every location."),
        QStringLiteral("FILE"));
    const QCommandLineOption full(
        QStringLiteral("full"),
        QStringLiteral("With --program: writes every location in the full sequence, changed or not."));
    const QCommandLineOption stayStopped(
        QStringLiteral("stay-stopped"), QStringLiteral("Leaves the unit in stop mode after the batch task."));
    const QCommandLineOption log(QStringLiteral("log"),
                                 QStringLiteral("Writes the monitor log of the batch task to FILE."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption timeout(
        QStringLiteral("timeout"),
        QStringLiteral(
            "Ends the batch task when the unit says nothing for SECONDS (default 60) in any of its "
            "stages, counted once everything sent has left."),
        QStringLiteral("SECONDS"), QStringLiteral("60"));
    const QCommandLineOption diff(
        QStringLiteral("diff"),
        QStringLiteral(
            "Reads the unit and lists what programming FILE would change: each setting, number and "
            "phone-book row, what would be lost, and how many locations; writes nothing."),
        QStringLiteral("FILE"));
    const QCommandLineOption locations(
        QStringLiteral("locations"),
        QStringLiteral(
            "With --diff: lists each SIM location that would change, with its content now and after."));
    const QCommandLineOption upload(QStringLiteral("upload"),
                                    QStringLiteral("Runs the upgrade list LIST on the unit, line by line."),
                                    QStringLiteral("LIST"));
    const QCommandLineOption line(
        QStringLiteral("line"),
        QStringLiteral(
            "Production line: programs every unit that appears on the ports from the configuration "
            "file FILE (stop, read, back up, check, program what differs, verify, run), units on "
            "different ports at the same time, until Ctrl+C."),
        QStringLiteral("FILE"));
    const QCommandLineOption ports(
        QStringLiteral("ports"),
        QStringLiteral("With --line: the serial devices to watch (more may follow as arguments, or be "
                       "separated by commas); by default every serial adapter the system lists."),
        QStringLiteral("PORT"));
    const QCommandLineOption report(
        QStringLiteral("report"),
        QStringLiteral("With --line: appends one record per unit to REPORT, as CSV (.csv) or JSON lines "
                       "(.jsonl), as each unit finishes."),
        QStringLiteral("REPORT"));
    const QCommandLineOption again(
        QStringLiteral("again"),
        QStringLiteral("With --line: programs a unit again that this run has done."));
    QCommandLineOption lineUnit(QStringLiteral("line-unit"), QStringLiteral("One unit of a production line."),
                                QStringLiteral("DONE"));
    lineUnit.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOptions({help, version, simulator, port, read, program, full, diff, locations, upload,
                       stayStopped, log, timeout, line, ports, report, again, lineUnit});

    ProgramOptions options;
    options.helpText = parser.helpText();
    if (!parser.parse(arguments)) {
        options.error = parser.errorText();
        return options;
    }
    options.helpRequested = parser.isSet(help);
    options.versionRequested = parser.isSet(version);
    options.simulator = parser.isSet(simulator);
    options.port = parser.value(port);
    QStringList tasks;
    for (const QCommandLineOption* task : {&read, &program, &diff, &upload}) {
        if (!parser.isSet(*task)) continue;
        tasks << QStringLiteral("--") + task->names().first();
        options.task = task->names().first();
        options.taskFile = parser.value(*task);
    }
    options.stayStopped = parser.isSet(stayStopped);
    options.byLocation = parser.isSet(locations);
    options.full = parser.isSet(full);
    options.logFile = parser.value(log);
    options.lineFile = parser.value(line);
    for (const QString& value : parser.values(ports))
        options.ports << value.split(QLatin1Char(','), Qt::SkipEmptyParts);
    options.reportFile = parser.value(report);
    options.again = parser.isSet(again);
    options.lineUnit = parser.value(lineUnit);
    QStringList positional = parser.positionalArguments();
    // "--ports A B C": the devices after the first are arguments of their own.
    if (options.line() && parser.isSet(ports)) {
        options.ports << positional;
        positional.clear();
    }
    bool number = false;
    options.timeoutSeconds = parser.value(timeout).toInt(&number);

    if (!positional.isEmpty())
        options.error = QStringLiteral("Unexpected argument: ") + positional.first();
    else if (options.line() && (options.batch() || options.simulator || parser.isSet(port)))
        options.error =
            QStringLiteral("--line goes alone: its units are on --ports, not --port or --simulator, "
                           "and it programs them, so no other task goes with it.");
    else if (!options.line() && (parser.isSet(ports) || parser.isSet(report) || options.again))
        options.error = QStringLiteral("--ports, --report and --again go with --line.");
    else if (options.simulator && parser.isSet(port))
        options.error = QStringLiteral("--simulator and --port exclude each other.");
    else if (tasks.size() > 1)
        options.error = tasks.join(QStringLiteral(" and ")) + QStringLiteral(" exclude each other.");
    else if (options.batch() && options.taskFile.isEmpty())
        options.error = tasks.first() + QStringLiteral(" needs a file name.");
    else if (options.batch() && !options.simulator && options.port.isEmpty())
        options.error = tasks.first() + QStringLiteral(" needs --port NAME or --simulator.");
    else if (options.line() && (options.stayStopped || parser.isSet(log)))
        options.error = QStringLiteral("--stay-stopped and --log do not go with --line.");
    else if (!options.batch() && !options.line() &&
             (options.stayStopped || parser.isSet(log) || parser.isSet(timeout)))
        options.error =
            QStringLiteral("--stay-stopped, --log and --timeout go with --read, --program, --diff or "
                           "--upload.");
    else if (options.byLocation && options.task != QLatin1String("diff"))
        options.error = QStringLiteral("--locations goes with --diff.");
    else if (options.full && options.task != QLatin1String("program") && !options.line())
        options.error = QStringLiteral("--full goes with --program.");
    else if (!number || options.timeoutSeconds <= 0)
        options.error = QStringLiteral("--timeout takes a whole number of seconds greater than 0.");
    return options;
}
