#pragma once

#include <QString>
#include <QStringList>

// The command line: how the program reaches the unit, and the batch tasks that run without a window.
struct ProgramOptions {
    bool simulator = false;
    QString port;
    // The batch task ("read", "program", "diff" or "upload") and its file; none opens the window.
    QString task;
    QString taskFile;
    bool stayStopped = false;
    // --diff by location rather than by meaning.
    bool byLocation = false;
    // --program writes every location, not only those that differ.
    bool full = false;
    QString logFile;
    int timeoutSeconds = 60;
    // The production line: the configuration file every unit gets, the ports it watches (none: every
    // serial adapter the system lists), the report, and whether a unit done in this run is done again.
    QString lineFile;
    QStringList ports;
    QString reportFile;
    bool again = false;
    // Internal: one unit of a production line, with the file of the identities done already.
    QString lineUnit;

    bool batch() const { return !task.isEmpty(); }
    bool line() const { return !lineFile.isEmpty(); }
    // Whether the arguments ask for the window, or only for something said on the terminal or a batch run.
    bool opensWindow() const {
        return !batch() && !line() && !helpRequested && !versionRequested && error.isEmpty();
    }

    // Empty when the arguments are usable; otherwise what is wrong with them.
    QString error;
    bool helpRequested = false;
    bool versionRequested = false;
    QString helpText;
    // The tool's own version, as the status bar shows it.
    static const QString Version;

    static ProgramOptions parse(const QStringList& arguments);
};
