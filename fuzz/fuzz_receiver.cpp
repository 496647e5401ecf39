#include "FormFixture.h"
#include "FuzzSupport.h"

#include "config/PhonebookEntry.h"
#include "core/Failure.h"

#include <QDir>

// The response receiver: what a unit says, faulty or not, split anywhere, reaching a window in any phase
// of the dialogue. Byte 0 of the input picks the phase the window is in, byte 1 seeds where the unit's
// bytes are split; the rest is what the unit says. After every notification, and so after every line,
// the window must keep to the rules:
// - every command it sent is one the rules make, from values it checked: a location of the SIM, the
//   SIM's own size, fields the unit takes whole, what the upgrade list asks for;
// - a phase runs exactly while a limit on the unit's silence runs, and no dialog opens;
// - a phase that fails says so.
// At the end the unit falls silent, and whatever ran ends.

namespace {

using Phase = Dialogue::Phase;
using Outcome = Dialogue::Outcome;

// The running unit, the stop under way, the read-back after it, a single write of a memory, programming, an
// upload waiting for the data prompt and for the answer to the data, the stopped unit read whole.
enum class Start {
    Running,
    Stopping,
    ReadingBack,
    SingleWrite,
    Programming,
    UploadPrompt,
    UploadData,
    Stopped,
    Count
};

// The upgrade list of the upload phases, with the files it names and what the unit must get for it.
const QByteArray UploadList = "RUN:old.pyo\noru.pyo\nASEND:tone.wav\nSET:AT#SLED=2\nDEL:old.pyo\nRUN:oru.pyo";
const QByteArray Script = "x = 1";
const QByteArray Tone = "RIFF\x01\x02";
const QByteArrayList UploadSends = {"AT#ESCRIPT=old.pyo\r\n",
                                    "AT#WSCRIPT=oru.pyo,5\r\n",
                                    "AT#ASEND=tone.wav,6\r\n",
                                    "AT#SLED=2\r\n",
                                    "AT#DSCRIPT=old.pyo\r\n",
                                    "AT#ESCRIPT=oru.pyo\r\n",
                                    Script,
                                    Tone};

// The unit stops and lists its SIM of 30 locations, up to the read's end when complete.
void stopAndRead(FormFixture& f, bool complete) {
    f.form->run([&] { f.form->StopORUClick(); });
    f.say({"STOP", "OK", "[AT#SLED=1]=", "#SPN: NET", "OK", "+CPBR: (1-30),80,40", "OK",
           "+CPBR: 1,\"+420603111222\",145,\"ADMIN1\""});
    if (complete) f.say({"OK"});
}

// Brings the fresh window into the phase the way a user and a well-behaved unit would.
void enter(FormFixture& f, Start start) {
    TForm1& form = *f.form;
    if (start != Start::Running && start != Start::Stopping) stopAndRead(f, start != Start::ReadingBack);
    switch (start) {
    case Start::Running:
    case Start::ReadingBack:
    case Start::Stopped:
    case Start::Count:
        break;
    case Start::Stopping:
        form.run([&] { form.StopORUClick(); });
        break;
    case Start::SingleWrite:
        form.Memo->setText(QStringLiteral("7"));
        form.MemoPNumber->setText(QStringLiteral("123"));
        form.run([&] { form.WriteMemoClick(); });
        break;
    case Start::Programming:
        form.ADMIN[1]->setText(QStringLiteral("2"));
        form.run([&] { form.SaveORUClick(); });
        f.say({"OK", "OK"});
        break;
    case Start::UploadPrompt:
    case Start::UploadData:
        writeTargetFile(f.path(QStringLiteral("oru.pyo")), Script);
        writeTargetFile(f.path(QStringLiteral("tone.wav")), Tone);
        form.List->setPlainText(QString::fromLatin1(UploadList));
        form.run([&] { form.UpgradeClick(); });
        f.say({"OK"});
        if (start == Start::UploadData) f.port.deliver(">>>");
        break;
    }
}

// Why a send breaks the rules; empty when the rules make it.
QString ruleBroken(const QByteArray& sent, const TForm1& form, bool uploading) {
    if (uploading && UploadSends.contains(sent)) return {};
    if (!sent.endsWith("\r\n")) return QStringLiteral("a send that is no command");
    const QByteArray command = sent.chopped(2);
    static const QByteArrayList plain = {"AT", "ATE0", "AT#SPN", "ATE0;#SPN", "AT+CPBR=?"};
    if (plain.contains(command)) return {};
    const int capacity = form.engine.sim.capacity;
    if (command.startsWith("AT+CPBR=1,")) {
        bool number = false;
        const int last = command.sliced(10).toInt(&number);
        if (!number || last != capacity || last < 0)
            return QStringLiteral("a read that is not of the SIM's %1 locations").arg(capacity);
        return {};
    }
    if (command.startsWith("AT+CPBW=")) {
        const QByteArrayList fields = command.sliced(8).split(',');
        if (capacity < 1 || locationOf(fields[0], capacity) == 0)
            return QStringLiteral("a write to no location of a SIM of %1").arg(capacity);
        if (fields.size() == 1) return {};
        if (fields.size() != 4 || !fields[2].isEmpty() || fields[1].isEmpty() || fields[3].isEmpty())
            return QStringLiteral("a write whose fields the unit cannot tell apart");
        for (const QByteArray& field : {fields[1], fields[3]})
            if (!breakingCharacter(field).isEmpty()) return QStringLiteral("a field the unit would cut");
        return {};
    }
    return QStringLiteral("a command the rules do not make");
}

// Ends every notification at a line's end at the latest, so that the rules are checked after every line,
// and cuts the lines at points a little generator draws from the seed.
QByteArrayList split(const QByteArray& bytes, quint8 seed) {
    QByteArrayList chunks;
    quint32 state = seed;
    qsizetype start = 0;
    while (start < bytes.size()) {
        state = state * 1103515245u + 12345u;
        qsizetype end = std::min(bytes.size(), start + 1 + (state >> 16) % 24);
        const qsizetype lineEnd = bytes.indexOf('\r', start);
        if (lineEnd >= 0 && lineEnd < end) end = lineEnd + 1;
        chunks << bytes.sliced(start, end - start);
        start = end;
    }
    return chunks;
}

class Checker {
public:
    Checker(FormFixture& f, bool uploading)
        : m_f(f), m_uploading(uploading), m_checkedSends(f.port.sent.size()) {
        m_ended = QObject::connect(&f.form->dialogue, &Dialogue::ended, [this](Phase, Outcome outcome) {
            if (outcome != Outcome::Done && outcome != Outcome::Cancelled) ++m_failures;
        });
    }
    ~Checker() { QObject::disconnect(m_ended); }
    Checker(const Checker&) = delete;
    Checker& operator=(const Checker&) = delete;

    void check(const QByteArray& said) {
        const TForm1& form = *m_f.form;
        const auto context = [&](const QString& what) {
            return QStringLiteral("%1\nafter the unit said \"%2\"").arg(what, printable(said));
        };
        for (; m_checkedSends < m_f.port.sent.size(); ++m_checkedSends) {
            const QByteArray& sent = m_f.port.sent[m_checkedSends];
            const QString broken = ruleBroken(sent, form, m_uploading);
            FUZZ_CHECK(broken.isEmpty(), context(broken + QStringLiteral(": \"%1\"").arg(printable(sent))));
        }
        const bool running = !form.dialogue.is(Phase::Idle);
        FUZZ_CHECK(running == (m_f.pacer.armedMs() > 0),
                   context(QStringLiteral("phase %1, limit %2 ms")
                               .arg(Dialogue::describe(form.dialogue.phase()))
                               .arg(m_f.pacer.armedMs())));
        FUZZ_CHECK(m_f.dialogs.unexpected.isEmpty(), context(m_f.dialogs.unexpected.join(QLatin1Char(' '))));
        FUZZ_CHECK(m_failures <= m_f.dialogs.errors.size(),
                   context(QStringLiteral("%1 phases failed, %2 errors reported")
                               .arg(m_failures)
                               .arg(m_f.dialogs.errors.size())));
    }

private:
    FormFixture& m_f;
    const bool m_uploading;
    qsizetype m_checkedSends;
    qsizetype m_failures = 0;
    QMetaObject::Connection m_ended;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    startApplication();
    const WorkingFolderKept folder;
    const auto start = static_cast<Start>(data[0] % static_cast<int>(Start::Count));
    FormFixture f;
    QDir::setCurrent(f.dir.path());
    enter(f, start);
    FUZZ_CHECK(f.dialogs.errors.isEmpty(), f.dialogs.errors.join(QLatin1Char('\n')));

    Checker checker(f, start == Start::UploadPrompt || start == Start::UploadData);
    checker.check("(nothing yet)");
    for (const QByteArray& chunk : split(inputBytes(data, size).sliced(2), data[1])) {
        f.port.deliver(chunk);
        checker.check(chunk);
    }
    // Silence ends whatever still runs.
    f.pacer.expire();
    checker.check("(nothing more)");
    FUZZ_CHECK(f.form->dialogue.is(Phase::Idle), Dialogue::describe(f.form->dialogue.phase()));
    return 0;
}
