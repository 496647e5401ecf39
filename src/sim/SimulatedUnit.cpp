#include "sim/SimulatedUnit.h"

#include "sim/SimText.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace {

const QByteArray Ok = "OK";
const QByteArray SimBusy = "+CME ERROR: 14";

QByteArray framed(const QByteArray& line) {
    return "\r\n" + line + "\r\n";
}

} // namespace

SimulatedUnit::SimulatedUnit(const SimOptions& options, QObject* parent)
    : QObject(parent), m_options(options),
      m_phonebook(options.capacity, options.numberLength, options.textLength), m_general(m_options),
      m_simBusyFor(options.busyPhonebookCommands), m_mode(Mode::Stop),
      m_outputLine(options.outputBytesPerSecond) {
    m_phonebook.load(options.phonebook);
    m_outputTimer.setSingleShot(true);
    connect(&m_outputTimer, &QTimer::timeout, this, &SimulatedUnit::deliver);
    m_followUp.setSingleShot(true);
    m_followUp.setInterval(options.followUpDelayMs);
    connect(&m_followUp, &QTimer::timeout, this, [this] { sayLines({"[AT#SLED=1]="}); });
    m_statusTimer.setInterval(options.statusPeriodMs);
    connect(&m_statusTimer, &QTimer::timeout, this, &SimulatedUnit::tick);
    if (!options.startStopped) runScript();
}

void SimulatedUnit::receive(const QByteArray& bytes) {
    qsizetype at = 0;
    // In run mode the script owns the line and the module reads nothing, also not what follows
    // "AT#REBOOT" in the same bytes.
    while (at < bytes.size() && m_mode == Mode::Stop) {
        if (m_dataMode) {
            at = takeData(bytes, at);
            continue;
        }
        const char c = bytes[at++];
        if (c == '\r') {
            execute(std::exchange(m_line, {}));
        } else if (c == '\b') {
            m_line.chop(1);
        } else if (c != '\n') {
            m_line.append(c);
        }
    }
}

void SimulatedUnit::setDtr(bool on) {
    if (m_dtr == on) return;
    m_dtr = on;
    if (on && m_mode == Mode::Run)
        stopScript();
    else if (!on && m_mode == Mode::Stop && m_options.kind == SimKind::Lte)
        runScript();
}

void SimulatedUnit::tick() {
    if (m_mode != Mode::Run) return;
    const QList<QByteArray> lines = {
        "+CREG: 0,1",
        "#CBC: 0," + QByteArray::number(m_options.battery),
        "+CSQ: " + QByteArray::number(m_options.signal) + ",0",
        "+COPS: 0,0,\"" + m_options.operatorName + "\"",
        "[AT#tone=i,4]=",
    };
    sayLines({lines[m_statusStep++ % lines.size()]});
}

void SimulatedUnit::failNext(const QByteArray& command, const QByteArray& answer) {
    m_faults.append({command, {answer}});
}

void SimulatedUnit::ignoreNext(const QByteArray& command) {
    m_faults.append({command, {}});
}

void SimulatedUnit::dropNextWrite(const QByteArray& command) {
    m_faults.append({command, {Ok}});
}

void SimulatedUnit::answerNext(const QByteArray& command, const QList<QByteArray>& lines) {
    m_faults.append({command, lines});
}

void SimulatedUnit::injectGarbage(const QByteArray& bytes) {
    say(bytes);
}

qsizetype SimulatedUnit::takeData(const QByteArray& bytes, qsizetype from) {
    const qsizetype count = qMin(bytes.size() - from, m_fileSize - m_fileData.size());
    m_fileData.append(bytes.constData() + from, count);
    if (m_fileData.size() == m_fileSize) finishUpload();
    return from + count;
}

void SimulatedUnit::execute(const QByteArray& line) {
    if (line.isEmpty()) return;
    if (m_echo) say(line + "\r\n");
    // A line that is no command is left alone, as the module waits for "AT".
    if (!line.toUpper().startsWith("AT")) return;
    emit executed(line);
    for (qsizetype i = 0; i < m_faults.size(); ++i) {
        if (line.startsWith(m_faults[i].command)) {
            sayLines(m_general.reported(m_faults.takeAt(i).answer));
            return;
        }
    }
    sayLines(m_general.reported(answerTo(line.mid(2))));
}

QList<QByteArray> SimulatedUnit::answerTo(const QByteArray& line) {
    QByteArray command = line;
    // Echo settings may lead the command, as in "ATE0;#SPN".
    while (command.left(2).toUpper() == "E0" || command.left(2).toUpper() == "E1") {
        m_echo = command[1] == '1';
        command = command.mid(command.size() > 2 && command[2] == ';' ? 3 : 2);
    }
    const QByteArray upper = command.toUpper();
    const auto argsOf = [&](const QByteArray& verb) -> std::optional<QByteArray> {
        if (!upper.startsWith(verb)) return std::nullopt;
        return command.mid(verb.size());
    };
    if (command.isEmpty()) return {Ok};
    if (auto answer = m_general.answer(command)) return *answer;
    if (upper == "+CSQ") return {"+CSQ: " + QByteArray::number(m_options.signal) + ",0", Ok};
    if (upper == "#CBC") return {"#CBC: 0," + QByteArray::number(m_options.battery), Ok};
    if (upper == "#SPN") return {"#SPN: " + m_options.operatorName, Ok};
    if (upper.startsWith("+CPB")) return phonebookAnswer(command, upper);
    if (upper == "#REBOOT") {
        reboot();
        return {};
    }
    if (const auto args = argsOf("#WSCRIPT=")) return startUpload(FileKind::Script, *args);
    if (const auto args = argsOf("#ASEND=")) return startUpload(FileKind::Audio, *args);
    if (const auto args = argsOf("#ESCRIPT=")) {
        m_selectedScript = unquoted(*args);
        return {Ok};
    }
    if (const auto args = argsOf("#DSCRIPT=")) {
        m_scripts.remove(unquoted(*args));
        return {Ok};
    }
    return {"ERROR"};
}

QList<QByteArray> SimulatedUnit::phonebookAnswer(const QByteArray& command, const QByteArray& upper) {
    const QByteArray args = command.mid(command.indexOf('=') + 1);
    if (upper == "+CPBS?") return m_phonebook.storage();
    if (upper == "+CPBS=?") return m_phonebook.storages();
    if (upper.startsWith("+CPBS=")) return m_phonebook.selectStorage(args);
    const bool read = upper.startsWith("+CPBR=");
    if (!read && !upper.startsWith("+CPBW=")) return {"ERROR"};
    // Until the module has read the SIM, it refuses to touch its phonebook.
    if (m_simBusyFor > 0) {
        --m_simBusyFor;
        return {SimBusy};
    }
    if (upper == "+CPBR=?") return m_phonebook.size();
    if (upper == "+CPBW=?") return m_phonebook.writeRange();
    return read ? listRecords(m_phonebook.read(args), args) : m_phonebook.write(args);
}

// With a time per record, or per location looked at, the records trickle out one by one; the closing line
// is the answer, after the locations beyond the last record have been looked at.
QList<QByteArray> SimulatedUnit::listRecords(const QList<QByteArray>& lines, const QByteArray& range) {
    if ((m_options.recordMs <= 0 && m_options.locationMs <= 0) || lines.last() != Ok) return lines;
    const QList<QByteArray> bounds = range.split(',');
    int looked = bounds.first().trimmed().toInt() - 1;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const int index = lines[i].mid(7, lines[i].indexOf(',') - 7).toInt();
        sayAfter(m_options.recordMs + (index - looked) * m_options.locationMs, framed(lines[i]));
        looked = index;
    }
    const int last = bounds.last().trimmed().toInt();
    sayAfter(m_options.answerDelayMs + (last - looked) * m_options.locationMs, framed(lines.last()));
    return {};
}

QList<QByteArray> SimulatedUnit::startUpload(FileKind kind, const QByteArray& args) {
    const qsizetype comma = args.lastIndexOf(',');
    const QByteArray name = unquoted(args.left(comma));
    bool ok = false;
    const qsizetype size = args.mid(comma + 1).toLongLong(&ok, 10);
    if (comma < 0 || name.isEmpty() || !ok || size < 0) return {"ERROR"};
    // The data starts after the prompt; what arrives before it (the command's line feed) is no data.
    say(">>>", [this, kind, name, size] {
        if (m_mode != Mode::Stop) return;
        m_dataMode = true;
        m_fileKind = kind;
        m_fileName = name;
        m_fileSize = size;
        m_fileData.clear();
        // Room for the announced bytes at once (within reason: the size comes from the line).
        m_fileData.reserve(std::min<qsizetype>(size, 16 * 1024 * 1024));
        if (size == 0) finishUpload();
    });
    return {};
}

void SimulatedUnit::finishUpload() {
    m_dataMode = false;
    (m_fileKind == FileKind::Script ? m_scripts : m_audioFiles)
        .insert(m_fileName, std::exchange(m_fileData, {}));
    sayLines({Ok});
    if (m_fileKind == FileKind::Audio) sayLines({"#ASENDEV: 0"});
}

void SimulatedUnit::stopScript() {
    m_mode = Mode::Stop;
    m_statusTimer.stop();
    if (m_options.kind == SimKind::Lte) {
        sayLines({"#APLAYEV: 0"});
        return;
    }
    sayLines({"STOP"});
    m_followUp.start();
}

void SimulatedUnit::runScript() {
    m_mode = Mode::Run;
    m_line.clear();
    m_dataMode = false;
    m_followUp.stop();
    m_statusStep = 0;
    if (m_options.statusPeriodMs > 0) m_statusTimer.start();
}

void SimulatedUnit::reboot() {
    // The module starts afresh and reads the SIM again; its script stops again at once while DTR is still on.
    m_echo = true;
    m_general.restart();
    m_simBusyFor = m_options.busyPhonebookCommands;
    runScript();
    if (m_dtr) stopScript();
}

void SimulatedUnit::say(const QByteArray& bytes, std::function<void()> then) {
    sayAfter(m_options.answerDelayMs, bytes, std::move(then));
}

void SimulatedUnit::sayAfter(int delayMs, const QByteArray& bytes, std::function<void()> then) {
    m_pending.append({bytes, delayMs, std::move(then)});
    if (!m_outputTimer.isActive()) m_outputTimer.start(delayMs);
}

void SimulatedUnit::sayLines(const QList<QByteArray>& lines) {
    if (lines.isEmpty()) return;
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += framed(line);
    say(bytes);
}

void SimulatedUnit::deliver() {
    const QByteArray bytes = m_pending.first().bytes;
    qsizetype count = bytes.size() - m_chunkSaid;
    if (m_options.outputBytesPerSecond > 0) {
        if (!std::exchange(m_chunkStarted, true)) m_outputLine.restart();
        count = std::min<qsizetype>(count, m_outputLine.due());
        m_outputLine.pass(count);
    }
    const QByteArray piece = bytes.mid(m_chunkSaid, count);
    m_chunkSaid += count;
    std::function<void()> then;
    if (m_chunkSaid < bytes.size()) {
        // The rest follows as the line carries it, in steps of at most 10 ms.
        m_outputTimer.start(std::min(10, m_outputLine.msUntil(bytes.size() - m_chunkSaid)));
    } else {
        then = m_pending.takeFirst().then;
        m_chunkSaid = 0;
        m_chunkStarted = false;
        if (!m_pending.isEmpty()) m_outputTimer.start(m_pending.first().delayMs);
    }
    if (!piece.isEmpty()) emit output(piece);
    if (then) then();
}
