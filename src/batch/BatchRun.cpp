#include "batch/BatchRun.h"

#include "app/Bytes.h"
#include "app/Failure.h"
#include "app/TForm1.h"
#include "app/WholeFile.h"
#include "batch/ConsoleDialogs.h"
#include "batch/WatchedPort.h"
#include "config/PhonebookEntry.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <utility>

namespace {

struct PortLost {};

QString describe(const QByteArray& number, const QByteArray& name) {
    if (number.isEmpty() && name.isEmpty()) return QStringLiteral("(empty)");
    return QStringLiteral("\"%1\" named \"%2\"").arg(fromBytes(number), fromBytes(name));
}

} // namespace

BatchRun::BatchRun(TForm1& form, WatchedPort& port, ConsoleDialogs& dialogs, const Settings& settings,
                   QTextStream& err)
    : m_form(form), m_port(port), m_dialogs(dialogs), m_settings(settings), m_err(err) {
    connect(&m_port, &WatchedPort::sent, this, &BatchRun::onSent);
    connect(&m_port, &WatchedPort::received, this, [this] { m_sinceReceived.restart(); });
    connect(&m_form, &TForm1::lineHandled, this, &BatchRun::onLine);
}

int BatchRun::run() {
    m_dialogs.file = m_settings.file;
    m_sinceReceived.start();
    if (m_settings.task == Task::Program) {
        // Checked before the unit is touched; what the file holds is the load's business.
        QFile file(m_settings.file);
        if (!QFileInfo(m_settings.file).isFile() || !file.open(QIODevice::ReadOnly)) {
            m_err << "error: cannot read the configuration file " << m_settings.file << Qt::endl;
            return BadArguments;
        }
    }
    int code = Done;
    try {
        stage(QStringLiteral("stopping"));
        click([this] { m_form.FormCreate(); });
        readUnit();
        if (m_settings.task == Task::Read) {
            stage(QStringLiteral("saving ") + m_settings.file);
            const int errors = m_dialogs.errorCount;
            click([this] { m_form.SaveClick(); });
            if (m_dialogs.errorCount > errors) code = BadArguments;
        } else {
            stage(QStringLiteral("loading ") + m_settings.file);
            click([this] { m_form.LoadClick(); });
            m_written.clear();
            const int readBacks = m_readBacks;
            click([this] { m_form.SaveORUClick(); });
            if (!m_form.dialogue.is(Dialogue::Phase::Programming)) {
                m_err << "error: the programming did not start" << Qt::endl;
                code = BadArguments;
            } else {
                waitFor([this, readBacks] { return m_readBacks > readBacks; });
                stage(QStringLiteral("verifying"));
                code = verify();
            }
        }
        if (!m_settings.stayStopped && code != BadArguments) {
            stage(QStringLiteral("running"));
            click([this] { m_form.RunORUClick(); });
        }
    } catch (const TimedOut&) {
        m_err << "error: the unit has not answered for " << m_settings.timeoutSeconds << " s while "
              << m_stage << Qt::endl;
        code = PortFailure;
    } catch (const PortLost&) {
        m_err << "error: the serial port failed while " << m_stage << Qt::endl;
        code = PortFailure;
    }
    writeLog();
    return code;
}

void BatchRun::stage(const QString& text) {
    m_stage = text;
    m_err << text << Qt::endl;
}

bool BatchRun::waitFor(const std::function<bool()>& done, int limitMs) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (m_port.failed()) throw PortLost{};
        if (m_sinceReceived.elapsed() > qint64(m_settings.timeoutSeconds) * 1000) throw TimedOut{};
        if (limitMs >= 0 && elapsed.elapsed() >= limitMs) return false;
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

void BatchRun::click(const std::function<void()>& handler) {
    m_form.run(handler);
    if (m_port.failed()) throw PortLost{};
}

void BatchRun::readUnit() {
    const int readBacks = m_readBacks;
    click([this] { m_form.StopORUClick(); });
    const auto readDone = [this, readBacks] { return m_readBacks > readBacks; };
    // A unit that is stopped already does not answer the stop line: ask it as "Load" does.
    if (!waitFor(readDone, m_settings.stopAnswerMs) && !m_stopAnswered)
        click([this] { m_form.LoadORUClick(); });
    waitFor(readDone);
}

int BatchRun::verify() {
    int differences = 0;
    for (int index = 1; index <= m_form.state.simCapacity; ++index) {
        const Entry written = m_written.value(index);
        const Entry back = m_readBack.value(index);
        if (written == back) continue;
        ++differences;
        m_err << "location " << index << ": wrote " << describe(written.number, written.name)
              << ", read back " << describe(back.number, back.name) << Qt::endl;
    }
    if (differences == 0) return Done;
    m_err << differences << (differences == 1 ? " location differs" : " locations differ") << Qt::endl;
    return Differences;
}

void BatchRun::writeLog() {
    if (m_settings.logFile.isEmpty()) return;
    try {
        writeWholeFile(m_settings.logFile, m_form.monitorText());
    } catch (const Failure& failure) {
        m_dialogs.reportError(failure.text());
    }
}

void BatchRun::onSent(const QByteArray& data) {
    if (data.startsWith("AT+CPBR=1,")) {
        m_readPending = true;
        m_readSentNow = true;
        m_oksBeforeRead = 0;
        m_readBack.clear();
    } else if (data.startsWith("AT+CPBW=") && m_form.dialogue.is(Dialogue::Phase::Programming)) {
        // "AT+CPBW=" index "," number ",," name, or "AT+CPBW=" index alone to clear.
        const QByteArray command = data.mid(8).chopped(2);
        const qsizetype comma = command.indexOf(',');
        const int index = command.left(comma < 0 ? command.size() : comma).toInt();
        const QByteArray fields = comma < 0 ? QByteArray() : command.mid(comma + 1);
        const qsizetype separator = fields.indexOf(",,");
        m_written[index] = separator < 0 ? Entry{} : Entry{fields.left(separator), fields.mid(separator + 2)};
        stage(QStringLiteral("programming location %1 of %2").arg(index).arg(m_form.state.simCapacity));
    }
}

void BatchRun::onLine(const QByteArray& line) {
    // The read is done at its own "OK". An "OK" that made the program send the read command belongs
    // to the command before it; a read sent on another line (the SIM size) still has that line's
    // "OK" to come before its own.
    if (std::exchange(m_readSentNow, false)) {
        if (line == "OK") return;
        m_oksBeforeRead = 1;
    }
    if (line == "STOP" || line.contains("#APLAYEV:")) m_stopAnswered = true;
    if (line.contains("+CPBR: (1-")) {
        stage(QStringLiteral("reading %1 locations").arg(m_form.state.simCapacity));
        // A SIM of 10 locations or fewer is not read at all.
        if (m_form.state.simCapacity <= 10) ++m_readBacks;
    } else if (m_readPending && line.startsWith("+CPBR:")) {
        const PhonebookEntry entry = PhonebookEntry::parse(line);
        m_readBack[entry.index.toInt()] = {entry.number, entry.name};
    } else if (m_readPending && line == "OK") {
        if (m_oksBeforeRead > 0) {
            --m_oksBeforeRead;
            return;
        }
        m_readPending = false;
        ++m_readBacks;
    }
}
