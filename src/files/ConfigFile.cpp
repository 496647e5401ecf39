#include "files/ConfigFile.h"

#include "app/ConfigurationView.h"
#include "app/TForm1.h"
#include "config/FixedEntries.h"
#include "core/Bytes.h"
#include "core/Failure.h"
#include "core/WholeFile.h"
#include "files/PhoneBookList.h"
#include "files/UnsavedEdits.h"

#include <QDir>
#include <QStringDecoder>
#include <algorithm>

// The configuration file: "key=value" lines ended by CR LF. Lines 1 to 27 hold the numbers, the alarm
// texts and the parameter strings under fixed keys, in a fixed order; the phone-book rows follow.

namespace {

const QString OruFilter = QStringLiteral("ORU files (*.oru)|*.oru");

bool isControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t' && c != '\r' && c != '\n') || byte == 0x7f;
}

// A line with a name before its first "=".
bool isKeyLine(const QByteArray& line) {
    return line.indexOf('=') > 0;
}

QByteArray keyOf(const QByteArray& line) {
    return line.left(line.indexOf('='));
}

[[noreturn]] void refuse(const QString& path, const QString& reason) {
    throw Failure(
        QStringLiteral("%1 is not a configuration file: %2").arg(QDir::toNativeSeparators(path), reason));
}

QString atLine(const QString& path, qsizetype index) {
    return QStringLiteral("%1, line %2").arg(QDir::toNativeSeparators(path)).arg(index + 1);
}

constexpr QByteArrayView Utf8Mark("\xEF\xBB\xBF");

// A file that an editor saved as UTF-8 starts with its byte-order mark: the letters are taken in the code
// page, and one the code page cannot hold is named with its line rather than replaced. Bytes after the
// mark that are not UTF-8 after all stay as they are.
QByteArray fromUtf8(const QString& path, const QByteArray& utf8) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(utf8);
    if (decoder.hasError()) return utf8;
    const QStringList lines = text.split(QLatin1Char('\n'));
    QByteArrayList encoded;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        try {
            encoded << toBytes(lines[i]);
        } catch (const Failure& failure) {
            throw Failure(QStringLiteral("%1: %2").arg(atLine(path, i), failure.text()));
        }
    }
    return encoded.join('\n');
}

} // namespace

QByteArray readConfiguration(const QString& path) {
    QByteArray text = readWholeFile(path);
    if (text.startsWith(Utf8Mark)) text = fromUtf8(path, text.sliced(Utf8Mark.size()));
    if (text.isEmpty()) refuse(path, QStringLiteral("it is empty"));
    const QByteArrayList lines = textLines(text);
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].contains('\0'))
            throw Failure(
                QStringLiteral("%1: a NUL byte; this is not a configuration file").arg(atLine(path, i)));
    // Text in any 8-bit code page has few control characters; random or binary data has many.
    if (std::count_if(text.begin(), text.end(), isControl) * 10 > text.size())
        refuse(path, QStringLiteral("it does not hold text"));
    if (std::none_of(lines.begin(), lines.end(), isKeyLine))
        refuse(path, QStringLiteral("no line holds a name, \"=\" and a value"));
    return text;
}

QByteArray configurationFile(const Configuration& configuration) {
    QByteArray text;
    for (int entry = 1; entry <= FixedEntries::Count; ++entry)
        text += FixedEntries::name(entry) + '=' + configuration.entry(entry) + "\r\n";
    for (const QByteArray& row : configuration.rows)
        text += row + "\r\n";
    return text;
}

void TForm1::SaveClick() {
    const QString path = dialogs.saveFileName(OruFilter);
    if (path.isEmpty()) return;
    writeWholeFile(path, configurationFile(readControls(*this)));
    unsavedEdits->settle();
    shownFile = path;
    refreshTitle();
    showResult(QStringLiteral("Saved to %1").arg(QDir::toNativeSeparators(path)));
}

// The whole file is checked before anything changes. Every line becomes a phone-book row, except the
// first line of each fixed key (letter case ignored), whose value is put in place. A key missing from
// the file leaves its edit or string as it was.
void TForm1::LoadClick() {
    PhoneBook1->setCurrentLine(0);
    const QString path = dialogs.openFileName(OruFilter, QString());
    if (path.isEmpty()) return;
    loadFile(path);
}

void TForm1::loadFile(const QString& path) {
    const QByteArrayList lines = textLines(readConfiguration(path));

    QList<qsizetype> lineOf(FixedEntries::Count + 1, -1);
    for (int entry = 1; entry <= FixedEntries::Count; ++entry) {
        const QByteArray name = FixedEntries::name(entry);
        for (qsizetype i = 0; i < lines.size() && lineOf[entry] < 0; ++i)
            if (isKeyLine(lines[i]) && keyOf(lines[i]).compare(name, Qt::CaseInsensitive) == 0)
                lineOf[entry] = i;
        const QLineEdit* edit = FixedEntries::edit(*this, entry);
        if (lineOf[entry] < 0 || !edit) continue;
        // Cut to the edit's length, the value would be saved and programmed shortened.
        const QByteArray value = lines[lineOf[entry]].sliced(name.size() + 1);
        if (value.size() > edit->maxLength())
            throw Failure(QStringLiteral("%1: the value of %2 is longer than its %3 characters")
                              .arg(atLine(path, lineOf[entry]), fromBytes(name))
                              .arg(edit->maxLength()));
    }

    Configuration loaded = readControls(*this);
    loaded.rows.clear();
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (!lineOf.contains(i)) loaded.rows << lines[i];
    for (int entry = 1; entry <= FixedEntries::Count; ++entry)
        if (lineOf[entry] >= 0)
            loaded.entry(entry) = lines[lineOf[entry]].sliced(FixedEntries::name(entry).size() + 1);
    // A value the decoder cannot read is reported at the first parameter key and stays in its string,
    // to be saved back as it came.
    try {
        showOnControls(*this, loaded);
    } catch (const Failure& failure) {
        const auto first = std::find_if(lineOf.begin() + FixedEntries::FirstParameter, lineOf.end(),
                                        [](qsizetype line) { return line >= 0; });
        dialogs.reportError(first == lineOf.end()
                                ? failure.text()
                                : QStringLiteral("%1: %2").arg(atLine(path, *first), failure.text()));
    }
    unsavedEdits->settle();
    shownFile = path;
    refreshTitle();
    showResult(QStringLiteral("Loaded %1").arg(QDir::toNativeSeparators(path)));
}
