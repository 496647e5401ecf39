#pragma once

#include <QByteArrayList>
#include <QString>
#include <QStringList>

// What would keep the upgrade list in the file listPath from running through: the list itself, and each
// file its lines name, up to the blank line that ends it (names relative to the list's folder). A file
// that cannot be opened or read, that is no regular file, too large or empty, ends an upload early.
// Empty when nothing does.
QStringList uploadListProblems(const QString& listPath);
// The same for a list's lines, up to its first blank one, with names relative to folder; each problem starts
// with where + the line's number.
QStringList uploadLinesProblems(const QByteArrayList& lines, const QString& folder, const QString& where);
