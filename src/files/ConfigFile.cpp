#include "files/ConfigFile.h"

#include "app/TForm1.h"
#include "config/FixedEntries.h"
#include "core/Bytes.h"
#include "core/Failure.h"
#include "core/WholeFile.h"
#include "files/ChangedSettings.h"
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

// A parameter string whose settings controls the user changed is saved as programming would send it;
// one left untouched is saved byte for byte as the unit or a file last gave it.
QByteArray configurationText(TForm1& form) {
    const ChangedSettings::Strings strings = form.changedSettings->forSaving();
    QByteArray text;
    for (int entry = 1; entry <= FixedEntries::Count; ++entry) {
        const QLineEdit* edit = FixedEntries::edit(form, entry);
        text += FixedEntries::name(entry) + '=' +
                (edit ? toBytes(edit->text()) : strings[entry - FixedEntries::Count + 3]) + "\r\n";
    }
    return text + form.PhoneBook1->text();
}

void TForm1::SaveClick() {
    const QString path = dialogs.saveFileName(OruFilter);
    if (path.isEmpty()) return;
    writeWholeFile(path, configurationText(*this));
    unsavedEdits->settle();
}

// The whole file is checked before anything changes. Every line becomes a phone-book row, except the
// first line of each fixed key (letter case ignored), whose value is put in place. A key missing from
// the file leaves its edit or string as it was.
void TForm1::LoadClick() {
    PhoneBook1->setCurrentLine(0);
    const QString path = dialogs.openFileName(OruFilter, QString());
    if (path.isEmpty()) return;
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

    PhoneBook1->clearLines();
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (!lineOf.contains(i)) PhoneBook1->appendLine(lines[i]);
    QStringList reported;
    for (int entry = 1; entry <= FixedEntries::Count; ++entry) {
        if (lineOf[entry] < 0) continue;
        const QByteArray value = lines[lineOf[entry]].sliced(FixedEntries::name(entry).size() + 1);
        if (QLineEdit* edit = FixedEntries::edit(*this, entry)) {
            // The edit's own handler filters a number and fills an ABUTTON edit's twin.
            edit->setText(fromBytes(value));
            continue;
        }
        *FixedEntries::parameter(state, entry) = value;
        // A value the decoder cannot read is reported once and the load goes on, so that the keys
        // after it still reach their places. It stays in its string, to be saved back as it came.
        try {
            ParamsToControls();
        } catch (const Failure& failure) {
            if (reported.contains(failure.text())) continue;
            reported << failure.text();
            dialogs.reportError(QStringLiteral("%1: %2").arg(atLine(path, lineOf[entry]), failure.text()));
        }
    }
    changedSettings->forget();
    unsavedEdits->settle();
}
