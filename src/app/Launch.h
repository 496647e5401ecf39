#pragma once

#include <QString>

// Where the program was started from: argv[0] as given (a link named after an edition selects it)
// and the settings file that goes with it.
struct Launch {
    QString exeName;      // file name without folder, with extension
    QString settingsPath; // see settingsLocation
};

Launch launchFrom(const QString& argv0);
// The executable's path with its extension replaced by ".ini".
QString settingsPathFor(const QString& executablePath);
// The file beside the executable while it exists or its folder can be written (a copy carried on a
// stick keeps its settings with it); an installed program keeps them in the user's configuration
// folder under the same file name.
QString settingsLocation(const QString& besideExecutable, const QString& userConfigFolder);
