#pragma once

#include <QString>

// Where the program was started from: argv[0] as given (a link named after an edition selects it)
// and the settings file beside it.
struct Launch {
    QString exeName;      // file name without folder, with extension
    QString settingsPath; // the executable's path with its extension replaced by ".ini"
};

Launch launchFrom(const QString& argv0);
QString settingsPathFor(const QString& executablePath);
