#pragma once

#include <QString>
#include <QStringList>

// The command line: how the program reaches the unit, and the batch tasks that run without a window.
struct ProgramOptions {
    bool simulator = false;
    QString port;
    QString readFile;
    QString programFile;
    bool stayStopped = false;
    QString logFile;
    int timeoutSeconds = 60;

    bool batch() const { return !readFile.isEmpty() || !programFile.isEmpty(); }

    // Empty when the arguments are usable; otherwise what is wrong with them.
    QString error;
    bool helpRequested = false;
    QString helpText;

    static ProgramOptions parse(const QStringList& arguments);
    // Whether the raw arguments ask for a batch task, before the toolkit is set up: such a run needs
    // no display.
    static bool asksForBatch(int argc, char* argv[]);
};
