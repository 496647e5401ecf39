#pragma once

#include <QString>

#include <QStringList>

class TForm1;
struct Confirmation;
struct ConfigurationChanges;

// What programming the window's configuration would change on the unit, against the last read-back.
ConfigurationChanges unitChanges(TForm1& form);
// The changes as lines to read: by meaning, then what would be lost, then how many locations.
QStringList changeLines(const ConfigurationChanges& changes);

// The question put before programming: what it would change on the unit against the last read-back.
Confirmation programmingQuestion(TForm1& form);

// Keeps the configuration last read back as a backup file and returns its path; empty when nothing has
// been read back. Called before the first write; a backup that cannot be written is a Failure.
QString backUpUnit(TForm1& form);

// The device group's Save: asks, keeps the backup and starts the programming sequence.
void confirmAndProgram(TForm1& form);
