#include "core/IniFile.h"

#include "core/Failure.h"
#include "core/WholeFile.h"

#include <QDir>
#include <QFileInfo>
#include <limits>

namespace {

bool sameName(QByteArrayView a, QByteArrayView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The name of a section header line ("[name]"), or nothing for any other line.
std::optional<QByteArrayView> sectionName(QByteArrayView line) {
    line = line.trimmed();
    const qsizetype close = line.indexOf(']');
    if (!line.startsWith('[') || close < 0) return std::nullopt;
    return line.sliced(1, close - 1).trimmed();
}

// The position of the "=" of a key line; nothing for headers, comments, lines without a key.
std::optional<qsizetype> keySeparator(QByteArrayView line) {
    const QByteArrayView trimmed = line.trimmed();
    if (trimmed.startsWith(';') || trimmed.startsWith('[')) return std::nullopt;
    const qsizetype equals = line.indexOf('=');
    if (equals < 0 || line.first(equals).trimmed().isEmpty()) return std::nullopt;
    return equals;
}

std::optional<int> parseInteger(QByteArrayView text) {
    text = text.trimmed();
    bool negative = false;
    if (text.startsWith('+') || text.startsWith('-')) {
        negative = text.front() == '-';
        text = text.sliced(1);
    }
    int base = 10;
    if (text.startsWith("0x") || text.startsWith("0X")) {
        base = 16;
        text = text.sliced(2);
    } else if (text.startsWith('$')) {
        base = 16;
        text = text.sliced(1);
    }
    if (text.isEmpty()) return std::nullopt;
    qint64 magnitude = 0;
    for (const char c : text) {
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : base;
        if (digit >= base) return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > qint64(1) << 31) return std::nullopt;
    }
    const qint64 value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max()) return std::nullopt;
    return int(value);
}

constexpr QByteArrayView ByteOrderMark("\xEF\xBB\xBF");

bool hasLineBreak(QByteArrayView text) {
    return text.contains('\n') || text.contains('\r');
}

void checkWritable(QByteArrayView section, QByteArrayView key, const QByteArray& value) {
    const bool sectionOk = !section.isEmpty() && section.trimmed() == section && !section.contains(']') &&
                           !hasLineBreak(section);
    const bool keyOk = !key.isEmpty() && key.trimmed() == key && !key.contains('=') && !key.startsWith(';') &&
                       !key.startsWith('[') && !hasLineBreak(key);
    // A CR inside a value reads back as it was; one at its end would be taken for part of the line end.
    const bool valueOk = !value.contains('\n') && !value.endsWith('\r');
    if (!sectionOk || !keyOk || !valueOk)
        throw Failure(QStringLiteral("Cannot store [%1] \"%2\" in the settings file")
                          .arg(QString::fromLatin1(section), QString::fromLatin1(key)));
}

} // namespace

IniFile::IniFile(const QString& path) : m_path(path) {
    if (!QFileInfo::exists(path)) return;
    QByteArray data;
    try {
        data = readWholeFile(path);
    } catch (const Failure& failure) {
        m_readError = failure.text();
        return;
    }
    qsizetype start = 0;
    if (data.startsWith(ByteOrderMark)) {
        m_byteOrderMark = ByteOrderMark.toByteArray();
        start = ByteOrderMark.size();
    }
    while (start < data.size()) {
        const qsizetype newline = data.indexOf('\n', start);
        if (newline < 0) {
            m_lines.append({data.sliced(start), {}});
            break;
        }
        const bool crlf = newline > start && data.at(newline - 1) == '\r';
        const qsizetype textEnd = crlf ? newline - 1 : newline;
        m_lines.append({data.sliced(start, textEnd - start), crlf ? "\r\n" : "\n"});
        start = newline + 1;
    }
}

std::optional<qsizetype> IniFile::findSection(QByteArrayView section) const {
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(m_lines[i].text);
        if (name && sameName(*name, section)) return i;
    }
    return std::nullopt;
}

std::optional<qsizetype> IniFile::findKey(QByteArrayView section, QByteArrayView key) const {
    const auto header = findSection(section);
    if (!header) return std::nullopt;
    for (qsizetype i = *header + 1; i < m_lines.size() && !sectionName(m_lines[i].text); ++i) {
        const QByteArrayView text = m_lines[i].text;
        const auto equals = keySeparator(text);
        if (equals && sameName(text.first(*equals).trimmed(), key)) return i;
    }
    return std::nullopt;
}

QByteArray IniFile::readString(QByteArrayView section, QByteArrayView key, const QByteArray& fallback) const {
    const auto line = findKey(section, key);
    if (!line) return fallback;
    const QByteArray& text = m_lines[*line].text;
    QByteArray value = text.sliced(*keySeparator(text) + 1);
    // A stray CR before the line end belongs to the line end, not to the value.
    while (value.endsWith('\r'))
        value.chop(1);
    return value;
}

int IniFile::readInteger(QByteArrayView section, QByteArrayView key, int fallback) const {
    return parseInteger(readString(section, key, {})).value_or(fallback);
}

bool IniFile::readBool(QByteArrayView section, QByteArrayView key, bool fallback) const {
    return readInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::writeString(QByteArrayView section, QByteArrayView key, const QByteArray& value) {
    checkWritable(section, key, value);
    if (const auto line = findKey(section, key)) {
        QByteArray& text = m_lines[*line].text;
        const QByteArray replaced = text.first(*keySeparator(text) + 1) + value;
        if (replaced != text) {
            text = replaced;
            m_changed = true;
        }
        return;
    }
    auto header = findSection(section);
    if (!header) {
        insertLine(m_lines.size(), '[' + section.toByteArray() + ']');
        header = m_lines.size() - 1;
    }
    // After the section's last key, so that blank lines and comments before the next section stay there.
    qsizetype at = *header + 1;
    for (qsizetype i = at; i < m_lines.size() && !sectionName(m_lines[i].text); ++i)
        if (keySeparator(m_lines[i].text)) at = i + 1;
    insertLine(at, key.toByteArray() + '=' + value);
}

void IniFile::writeInteger(QByteArrayView section, QByteArrayView key, int value) {
    writeString(section, key, QByteArray::number(value));
}

void IniFile::writeBool(QByteArrayView section, QByteArrayView key, bool value) {
    writeInteger(section, key, value ? 1 : 0);
}

QByteArray IniFile::newLineEnd() const {
    for (const Line& line : m_lines)
        if (!line.end.isEmpty()) return line.end;
    return "\r\n";
}

void IniFile::insertLine(qsizetype at, const QByteArray& text) {
    const QByteArray end = newLineEnd();
    if (at == m_lines.size() && at > 0 && m_lines.last().end.isEmpty()) m_lines.last().end = end;
    m_lines.insert(at, {text, end});
    m_changed = true;
}

void IniFile::save() {
    if (!m_changed) return;
    if (!m_readError.isEmpty())
        throw Failure(QStringLiteral("The settings file %1 stays as it is, since it could not be read: %2")
                          .arg(QDir::toNativeSeparators(m_path), m_readError));
    QByteArray data = m_byteOrderMark;
    for (const Line& line : std::as_const(m_lines))
        data += line.text + line.end;
    // The user's configuration folder may not hold a folder for the program yet.
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    writeWholeFile(m_path, data);
    m_changed = false;
}
