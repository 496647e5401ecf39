#include "FormFixture.h"
#include "FuzzSupport.h"

#include <QFile>

// The settings file. The input is the file a window starts on and writes back when it closes.
// - Every line of the file stays, in its order, byte for byte, except that a key the program writes may
//   get another value; what the program adds comes in between.
// - The written file is settled: a second window started on it and closed writes it back unchanged.

namespace {

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The lines of a settings file without their line ends.
QByteArrayList linesOf(const QByteArray& text) {
    QByteArrayList lines = text.split('\n');
    if (text.isEmpty() || text.endsWith('\n')) lines.removeLast();
    for (QByteArray& line : lines)
        if (line.endsWith('\r')) line.chop(1);
    return lines;
}

// The line, or the same key with another value.
bool kept(const QByteArray& was, const QByteArray& now) {
    if (was == now) return true;
    const qsizetype equals = was.indexOf('=');
    const QByteArray key = was.first(equals + 1);
    return equals > 0 && !key.trimmed().startsWith(';') && !key.trimmed().startsWith('[') &&
           now.startsWith(key);
}

// Starts a window on the settings file and closes it; the file it leaves.
QByteArray startAndClose(const QByteArray& settings) {
    FormFixture f(QStringLiteral("zuvovu"), false);
    f.writeSettings(settings);
    f.form->run([&] { f.form->FormCreate(); });
    f.form->run([&] { f.form->FormClose(); });
    FUZZ_CHECK(f.dialogs.unexpected.isEmpty(), f.dialogs.unexpected.join(QLatin1Char(' ')));
    return readFile(f.settingsPath());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    startApplication();
    const QByteArray input = inputBytes(data, size);
    const QByteArray written = startAndClose(input);

    const QByteArrayList before = linesOf(input);
    const QByteArrayList after = linesOf(written);
    qsizetype at = 0;
    for (const QByteArray& line : before) {
        while (at < after.size() && !kept(line, after[at]))
            ++at;
        FUZZ_CHECK(
            at < after.size(),
            QStringLiteral("the line \"%1\" is lost from \"%2\"").arg(printable(line), printable(written)));
        ++at;
    }

    const QByteArray again = startAndClose(written);
    FUZZ_CHECK(again == written,
               QStringLiteral("written \"%1\", then \"%2\"").arg(printable(written), printable(again)));
    return 0;
}
