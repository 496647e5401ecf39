#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>

// The settings file: sections in square brackets, "key=value" lines. Section names and keys match
// without regard to letter case and may hold blanks and dots; blanks around them are not part of the
// name, blanks inside are. The value is everything after the first "=" to the end of the line, however
// long, without the stray CRs a line end may have gathered (CR CR LF); a CR inside it is part of it.
// Lines starting with ";" are comments. A UTF-8 byte-order mark that an editor put before the first
// line is not part of it.
//
// The whole file is read at construction and kept in memory; writes change only that copy until
// save(). Writing a key replaces its value in place or adds the key at the end of its section (the
// section at the end of the file); every other line, with its own line end, is written back byte for
// byte, and so is the byte-order mark. Files may use CR LF or LF; added lines take the line end of the
// file's first line, and a new file uses CR LF, the format the settings file has always had.
class IniFile {
public:
    // A missing file reads as empty. A file that exists but cannot be read (also a FIFO, a device or a
    // file of more than a few MiB, which are never opened for reading) also reads as empty, and save()
    // then refuses to replace it, so that its contents are never lost.
    explicit IniFile(const QString& path);

    // A missing section or key yields the default; a present key with an empty value yields "".
    QByteArray readString(QByteArrayView section, QByteArrayView key, const QByteArray& fallback) const;
    // Decimal with an optional sign, or hexadecimal after "0x" or "$"; anything else (or a number
    // outside the int range) yields the default.
    int readInteger(QByteArrayView section, QByteArrayView key, int fallback) const;
    // Stored as an integer: 0 is false, any other integer true.
    bool readBool(QByteArrayView section, QByteArrayView key, bool fallback) const;

    // A key, section or value that the file could not hold (a line feed, a CR that would end the line,
    // an "=" in a key, ...) is a Failure: written as it stands it would read back otherwise.
    void writeString(QByteArrayView section, QByteArrayView key, const QByteArray& value);
    void writeInteger(QByteArrayView section, QByteArrayView key, int value);
    void writeBool(QByteArrayView section, QByteArrayView key, bool value);

    // Writes the file when something was changed. The old file stays whole until the new one is
    // complete; a file that cannot be written is a Failure naming the file and the system's reason.
    void save();

private:
    struct Line {
        QByteArray text; // without its line end
        QByteArray end;  // "\r\n", "\n", or "" for a last line without one
    };

    std::optional<qsizetype> findSection(QByteArrayView section) const;
    std::optional<qsizetype> findKey(QByteArrayView section, QByteArrayView key) const;
    QByteArray newLineEnd() const;
    void insertLine(qsizetype at, const QByteArray& text);

    QString m_path;
    QString m_readError;
    QByteArray m_byteOrderMark;
    QList<Line> m_lines;
    bool m_changed = false;
};
