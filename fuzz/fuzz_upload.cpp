#include "FormFixture.h"
#include "FuzzSupport.h"

#include "core/Bytes.h"
#include "service/UploadList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <sys/stat.h>

// The upgrade list and the upload of what it names. The input is a list file, loaded by Load List in a
// folder that holds a script, an audio file with every kind of byte, an empty file, a folder and a FIFO.
// - The list holds the file's lines exactly: a line ends at LF, with or without a CR before it; a last
//   line without LF counts; a CR anywhere else is part of its line.
// - Upgrade, against a unit that answers every command as it should, sends for each line exactly the
//   command its kind asks for, followed by the named file's bytes exactly where the unit asks for data.
// - The whole list is checked before its first line goes: an empty list, one that starts with a blank line,
//   or one naming, before its first blank line, a file that is no regular file, cannot be read or is empty,
//   sends nothing and is reported once.
// - Otherwise the upload ends done at a blank line or the list's end. Nothing is sent after; a blank line
//   before other lines names them in one report.

namespace {

const QByteArray Script = "x = 1\r\n";
const QByteArray Tone = QByteArray("RIFF\0\r\n>>>\x80\xff", 12);

// A list file's lines, as Load List must take them.
QByteArrayList listLines(const QByteArray& text) {
    QByteArrayList lines;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0) end = text.size();
        QByteArray line = text.sliced(start, end - start);
        if (line.endsWith('\r')) line.chop(1);
        lines << line;
        start = end + 1;
    }
    return lines;
}

// What the unit must get for one line: a command and the data it asks for, or nothing at all.
struct Step {
    QByteArray command;
    QByteArray data;
    bool audio = false;
    // Nothing is sent: the list ends here, done (a blank line) or failed (a file that cannot be sent).
    bool ends = false;
    bool fails = false;
};

// The file's bytes, or nothing when it is no regular file or cannot be read whole.
std::optional<QByteArray> fileBytes(const QByteArray& name) {
    if (name.isEmpty()) return std::nullopt;
    const QString path = fromBytes(name);
    if (!QFileInfo(path).isFile()) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll();
}

Step stepFor(const QByteArray& line) {
    const QByteArray argument = line.mid(line.indexOf(':') + 1);
    const auto command = [](const QByteArray& text) { return Step{text + "\r\n", {}, false, false, false}; };
    if (line.contains("RUN:")) return command("AT#ESCRIPT=" + argument);
    const bool audio = line.contains("ASEND:");
    if (!audio && line.contains("SET:")) return command(argument);
    if (!audio && line.contains("DEL:")) return command("AT#DSCRIPT=" + argument);
    if (line.isEmpty()) return {{}, {}, false, true, false};
    const QByteArray name = audio ? argument : line;
    const std::optional<QByteArray> bytes = fileBytes(name);
    if (!bytes || bytes->isEmpty()) return {{}, {}, audio, true, true};
    const QByteArray keyword = audio ? "AT#ASEND=" : "AT#WSCRIPT=";
    return {keyword + name + ',' + QByteArray::number(bytes->size()) + "\r\n", *bytes, audio, false, false};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    startApplication();
    const WorkingFolderKept folder;
    const QByteArray input = inputBytes(data, size);
    FormFixture f;
    TForm1& form = *f.form;
    writeTargetFile(f.path(QStringLiteral("oru.pyo")), Script);
    writeTargetFile(f.path(QStringLiteral("tone.wav")), Tone);
    writeTargetFile(f.path(QStringLiteral("empty.pyo")), {});
    QDir(f.dir.path()).mkdir(QStringLiteral("folder.pyo"));
    mkfifo(QFile::encodeName(f.path(QStringLiteral("fifo.pyo"))).constData(), 0600);
    const QString listPath = f.path(QStringLiteral("upgrade.ifo"));
    writeTargetFile(listPath, input);

    f.dialogs.openAnswers << listPath;
    form.run([&] { form.LoadListClick(); });
    const QByteArrayList lines = listLines(input);
    QByteArrayList listed;
    for (int i = 0; i < listLineCount(form.List); ++i)
        listed << listLine(form.List, i);
    FUZZ_CHECK(f.dialogs.errors.isEmpty() && listed == lines,
               QStringLiteral("the list holds \"%1\", the file \"%2\"")
                   .arg(printable(listed.join('|')), printable(lines.join('|'))));

    f.forgetStartup();
    form.run([&] { form.UpgradeClick(); });
    bool refused = lines.isEmpty() || lines[0].isEmpty();
    for (qsizetype i = 0; i < lines.size() && !lines[i].isEmpty(); ++i)
        refused = refused || stepFor(lines[i]).fails;
    if (refused) {
        FUZZ_CHECK(f.port.sent.isEmpty() && f.dialogs.errors.size() == 1 &&
                       form.dialogue.is(Dialogue::Phase::Idle),
                   QStringLiteral("a list that cannot run through: sent \"%1\", reported \"%2\"")
                       .arg(printable(f.port.sent.join('|')), f.dialogs.errors.join(QLatin1Char('\n'))));
        return 0;
    }
    qsizetype sends = 0;
    for (int index = 0;; ++index) {
        const Step step = stepFor(lines.value(index));
        const QString where = QStringLiteral("line %1 \"%2\"").arg(index).arg(printable(lines.value(index)));
        if (step.ends) {
            FUZZ_CHECK(f.port.sent.size() == sends,
                       where + QStringLiteral(": sent for a line that ends the list"));
            FUZZ_CHECK(form.dialogue.is(Dialogue::Phase::Idle), where);
            // A blank line before other lines says which of them were not sent.
            const bool leavesLines =
                std::any_of(lines.begin() + qMin<qsizetype>(index + 1, lines.size()), lines.end(),
                            [](const QByteArray& line) { return !line.isEmpty(); });
            FUZZ_CHECK(f.dialogs.errors.size() == (step.fails || leavesLines ? 1 : 0),
                       where + QStringLiteral(": ") + f.dialogs.errors.join(QLatin1Char('\n')));
            break;
        }
        FUZZ_CHECK(f.dialogs.errors.isEmpty(),
                   where + QStringLiteral(": ") + f.dialogs.errors.join(QLatin1Char('\n')));
        FUZZ_CHECK(f.port.sent.value(sends) == step.command && f.port.sent.size() == sends + 1,
                   where + QStringLiteral(": sent \"%1\"").arg(printable(f.port.sent.mid(sends).join('|'))));
        ++sends;
        if (!step.data.isEmpty()) {
            f.port.deliver("\r\n>>>");
            const QByteArray payload = f.port.sent.mid(sends).join();
            FUZZ_CHECK(payload == step.data, where + QStringLiteral(": data \"%1\"").arg(printable(payload)));
            sends = f.port.sent.size();
            f.say({"OK"});
        }
        if (step.audio) {
            f.say({"#ASENDEV: 0"});
            FUZZ_CHECK(f.port.sent.mid(sends) == QByteArrayList{"AT\r\n"}, where);
            ++sends;
        }
        if (step.data.isEmpty() || step.audio) f.say({"OK"});
    }
    return 0;
}
