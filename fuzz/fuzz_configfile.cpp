#include "FormFixture.h"
#include "FuzzSupport.h"

#include "app/ConfigurationView.h"
#include "config/FixedEntries.h"
#include "core/Bytes.h"
#include "core/Failure.h"
#include "files/ConfigFile.h"
#include "files/PhoneBookList.h"
#include "files/UnsavedEdits.h"

#include <utility>

// The configuration file loader (PC Load). The input is a file that a window holding a configuration loads.
// - A refused file (not a configuration file, or a value longer than its edit) is reported and leaves the
//   window as it was.
// - A loaded file puts the value of each fixed key's first line in its place (see fixedEntryHolds()); a fixed
// key the
//   file lacks keeps its value; every other line
//   becomes a phone-book row, in the file's order, with nothing lost.
// - The file the window then saves loads back to the same bytes.

namespace {

// What the window holds before the input is loaded: some settings, the other keys missing, two rows.
const QByteArray Base =
    "ADMIN1=+420603111222\r\nALARMON=Alarm on\r\nPARRL1=5#1#03#1\r\nAlice=+420777\r\nBob=555\r\n";

// A line ends at CR, at LF or at CR LF; a last line end starts no line.
QByteArrayList linesOf(const QByteArray& text) {
    QByteArrayList lines;
    QByteArray line;
    bool open = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines << std::exchange(line, {});
            open = false;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line += c;
            open = true;
        }
    }
    if (open) lines << line;
    return lines;
}

bool sameKey(const QByteArray& line, const QByteArray& name) {
    const qsizetype equals = line.indexOf('=');
    return equals > 0 && line.first(equals).toUpper() == name && line.first(equals).size() == name.size();
}

// The value a fixed entry holds in the window: its edit's text or its parameter string.
QByteArray held(TForm1& form, int entry) {
    if (const QLineEdit* edit = FixedEntries::edit(form, entry)) return toBytes(edit->text());
    return *FixedEntries::parameter(form.state, entry);
}

QByteArrayList rows(const TForm1& form) {
    QByteArrayList all;
    for (int i = 0; i < form.PhoneBook1->lineCount(); ++i)
        all << form.PhoneBook1->line(i);
    return all;
}

void load(FormFixture& f, const QString& path) {
    f.dialogs.openAnswers << path;
    f.form->run([&] { f.form->LoadClick(); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    startApplication();
    const QByteArray input = inputBytes(data, size);
    FormFixture f;
    TForm1& form = *f.form;
    const QString basePath = f.path(QStringLiteral("base.oru"));
    writeTargetFile(basePath, Base);
    load(f, basePath);
    FUZZ_CHECK(f.dialogs.errors.isEmpty(), f.dialogs.errors.join(QLatin1Char('\n')));
    const QByteArray before = configurationFile(readControls(form));
    QList<QByteArray> valuesBefore;
    for (int entry = 1; entry <= FixedEntries::Count; ++entry)
        valuesBefore << held(form, entry);

    const QString path = f.path(QStringLiteral("input.oru"));
    writeTargetFile(path, input);
    bool readable = true;
    try {
        readConfiguration(path);
    } catch (const Failure&) {
        readable = false;
    }
    const QByteArrayList lines = linesOf(input);
    QList<qsizetype> firstLine(FixedEntries::Count + 1, -1);
    bool tooLong = false;
    for (int entry = 1; entry <= FixedEntries::Count; ++entry) {
        const QByteArray name = FixedEntries::name(entry);
        for (qsizetype i = 0; i < lines.size() && firstLine[entry] < 0; ++i)
            if (sameKey(lines[i], name)) firstLine[entry] = i;
        const QLineEdit* edit = FixedEntries::edit(form, entry);
        if (edit && firstLine[entry] >= 0 &&
            lines[firstLine[entry]].size() - name.size() - 1 > edit->maxLength())
            tooLong = true;
    }

    load(f, path);
    if (!readable || tooLong) {
        FUZZ_CHECK(!f.dialogs.errors.isEmpty(), QStringLiteral("a refused file not reported"));
        FUZZ_CHECK(configurationFile(readControls(form)) == before, QStringLiteral("a refused file changed the window"));
        return 0;
    }
    QByteArrayList expectedRows;
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (!firstLine.contains(i)) expectedRows << lines[i];
    FUZZ_CHECK(rows(form) == expectedRows,
               QStringLiteral("rows \"%1\", file's lines \"%2\"")
                   .arg(printable(rows(form).join('|')), printable(expectedRows.join('|'))));
    for (int entry = 1; entry <= FixedEntries::Count; ++entry) {
        const QByteArray name = FixedEntries::name(entry);
        const QByteArray now = held(form, entry);
        const bool given = firstLine[entry] >= 0;
        const QByteArray expected =
            given ? lines[firstLine[entry]].sliced(name.size() + 1) : valuesBefore[entry - 1];
        FUZZ_CHECK(given ? fixedEntryHolds(entry, now, expected) : now == expected,
                   QStringLiteral("%1 holds \"%2\", expected \"%3\"")
                       .arg(QString::fromLatin1(name), printable(now), printable(expected)));
    }
    FUZZ_CHECK(!form.unsavedEdits->pending(), QStringLiteral("a loaded file counts as unsaved edits"));

    const QByteArray saved = configurationFile(readControls(form));
    const QString savedPath = f.path(QStringLiteral("saved.oru"));
    writeTargetFile(savedPath, saved);
    load(f, savedPath);
    const QByteArray again = configurationFile(readControls(form));
    FUZZ_CHECK(again == saved, QStringLiteral("saved \"%1\", loaded and saved again \"%2\"")
                                   .arg(printable(saved), printable(again)));
    return 0;
}
