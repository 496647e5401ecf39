#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Backups of the unit's configuration, kept as configuration files in the user's data folder.

// $XDG_DATA_HOME/zuvovu/backups (by default under ~/.local/share).
QString backupFolder();
// Makes the backup folder when it is missing; a Failure naming it when it cannot be made or written into.
void prepareBackupFolder();

// Writes a new backup named by the time given and returns its path; an existing file is never replaced.
// A backup that cannot be written is a Failure naming it.
QString writeBackup(const QByteArray& configuration, const QDateTime& when = QDateTime::currentDateTime());
