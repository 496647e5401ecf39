#include "batch/LineStation.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

namespace {

// How soon a port where no unit answered is asked again: sooner after a unit, less often the longer it
// stays empty (an adapter the system lists may have nothing behind it). And how often a missing adapter
// is looked for.
constexpr int LookAgainMs = 2000;
constexpr int LookAgainAtMostMs = 16000;
constexpr int AdapterBackMs = 1000;

// A batch run's exit status as the report names it.
QString resultOf(int status) {
    switch (status) {
    case 0:
        return QStringLiteral("done");
    case 1:
        return QStringLiteral("differences");
    case 2:
        return QStringLiteral("refused");
    case 4:
        return QStringLiteral("interrupted");
    default:
        return QStringLiteral("failed");
    }
}

} // namespace

LineStation::LineStation(const QString& port, const LineSettings& settings, QObject* parent)
    : QObject(parent), m_port(port), m_settings(settings), m_lookAgainMs(LookAgainMs) {
    connect(&m_run, &QProcess::readyReadStandardError, this, &LineStation::takeProgress);
    connect(&m_run, &QProcess::finished, this, &LineStation::served);
    connect(&m_run, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        m_reason = QStringLiteral("the unit's run could not start: ") + m_run.errorString();
        served(-1, QProcess::CrashExit);
    });
    m_quiet.setSingleShot(true);
    connect(&m_quiet, &QTimer::timeout, this, [this] {
        m_line.close();
        serve();
    });
    connect(&m_line, &QSerialPort::readyRead, this, [this] {
        m_line.readAll();
        m_quiet.start();
    });
    connect(&m_line, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (!m_line.isOpen() || (error != QSerialPort::ResourceError && error != QSerialPort::ReadError))
            return;
        m_line.close();
        m_quiet.stop();
        lookAgainLater(State::Gone, QStringLiteral("adapter unplugged: waiting for it"));
    });
    m_later.setSingleShot(true);
    connect(&m_later, &QTimer::timeout, this, [this] {
        if (m_state == State::Gone && !QFileInfo::exists(m_port))
            m_later.start(AdapterBackMs);
        else
            serve();
    });
}

LineStation::~LineStation() {
    // A run still going when the line ends is stopped as on a signal, and waited for.
    if (m_run.state() != QProcess::NotRunning) {
        m_run.terminate();
        m_run.waitForFinished();
    }
}

void LineStation::start() {
    serve();
}

void LineStation::serve() {
    if (!QFileInfo::exists(m_port)) {
        lookAgainLater(State::Gone, QStringLiteral("no adapter: waiting for it"));
        return;
    }
    m_state = State::Serving;
    m_unit.clear();
    m_reason.clear();
    m_said.clear();
    m_activity = QStringLiteral("looking for a unit");
    QStringList arguments{QStringLiteral("--port"),      m_port,
                          QStringLiteral("--program"),   m_settings.file,
                          QStringLiteral("--line-unit"), m_settings.doneFile,
                          QStringLiteral("--timeout"),   QString::number(m_settings.timeoutSeconds)};
    if (m_settings.full) arguments << QStringLiteral("--full");
    m_run.start(QCoreApplication::applicationFilePath(), arguments);
}

void LineStation::takeProgress() {
    m_said += m_run.readAllStandardError();
    for (qsizetype end = m_said.indexOf('\n'); end >= 0; end = m_said.indexOf('\n')) {
        const QString line = QString::fromLocal8Bit(m_said.left(end)).trimmed();
        m_said.remove(0, end + 1);
        if (line.isEmpty()) continue;
        if (line.startsWith(QLatin1String("error: "))) {
            // The first error names the cause; those after it say what followed from it.
            if (m_reason.isEmpty()) m_reason = line.mid(7);
        } else if (line.startsWith(QLatin1String("unit "))) {
            m_unit = line.mid(5);
        } else {
            m_activity = line;
        }
    }
}

void LineStation::served(int exitCode, QProcess::ExitStatus status) {
    takeProgress();
    QJsonObject said;
    for (const QByteArray& line : m_run.readAllStandardOutput().split('\n'))
        if (line.startsWith('{')) said = QJsonDocument::fromJson(line).object();
    const bool ending = m_state == State::Ended;
    const bool answered = said.value(QStringLiteral("answered")).toBool(status != QProcess::NormalExit);
    if (!answered) {
        if (ending) {
            emit ended();
            return;
        }
        // The run says why: nothing answered, or the port could not be opened (taken, no permission).
        lookAgainLater(State::Looking, (m_reason.isEmpty() ? QStringLiteral("no unit answers") : m_reason) +
                                           QStringLiteral(": looking again"));
        m_lookAgainMs = std::min(2 * m_lookAgainMs, LookAgainAtMostMs);
        return;
    }
    m_lookAgainMs = LookAgainMs;
    const QString imei = said.value(QStringLiteral("imei")).toString();
    if (said.value(QStringLiteral("alreadyDone")).toBool()) {
        m_activity = QStringLiteral("already done in this run: waiting for the next unit");
    } else {
        UnitRecord record;
        record.time = QDateTime::currentDateTime();
        record.port = m_port;
        record.imei = imei;
        record.simNumber = said.value(QStringLiteral("simNumber")).toString();
        record.result =
            status == QProcess::NormalExit && !said.isEmpty() ? resultOf(exitCode) : QStringLiteral("failed");
        record.written = said.value(QStringLiteral("written")).toInt();
        record.differences = said.value(QStringLiteral("differences")).toInteger();
        record.backup = said.value(QStringLiteral("backup")).toString();
        // The unit's run names what the unit or the port did; its own words say the rest.
        record.reason = said.value(QStringLiteral("reason")).toString();
        if (record.reason.isEmpty()) record.reason = m_reason;
        if (record.result == QLatin1String("failed") && said.isEmpty() && m_reason.isEmpty())
            record.reason =
                QStringLiteral("the unit's run ended without saying how (%1)").arg(m_run.errorString());
        if (record.result == QLatin1String("interrupted") && record.reason.isEmpty())
            record.reason = QStringLiteral("the line was ended while the unit was being served");
        m_activity = record.result + QStringLiteral(": waiting for the next unit");
        emit finished(record);
    }
    if (ending) {
        emit ended();
        return;
    }
    watch();
}

void LineStation::watch() {
    m_state = State::Watching;
    m_line.setPortName(m_port);
    m_line.setBaudRate(QSerialPort::Baud115200);
    m_line.setFlowControl(QSerialPort::HardwareControl);
    if (!m_line.open(QIODevice::ReadWrite)) {
        lookAgainLater(State::Gone,
                       QStringLiteral("the port cannot be opened (%1): waiting").arg(m_line.errorString()));
        return;
    }
    // The stop line stays off: the unit just served runs its script.
    m_line.setDataTerminalReady(false);
    m_quiet.start(m_settings.timeoutSeconds * 1000);
}

void LineStation::lookAgainLater(State state, const QString& activity) {
    m_state = state;
    m_activity = activity;
    m_later.start(state == State::Gone ? AdapterBackMs : m_lookAgainMs);
}

void LineStation::interrupt() {
    if (m_state == State::Ended) return;
    const bool serving = m_state == State::Serving;
    m_state = State::Ended;
    m_later.stop();
    m_quiet.stop();
    m_line.close();
    m_activity = QStringLiteral("ended");
    // The unit's run ends as on a signal: the command in flight answered, the unit back in run mode.
    if (serving)
        m_run.terminate();
    else
        emit ended();
}

QString LineStation::progress() const {
    QString text = m_port;
    // The IMEI says which unit; its SIM number goes to the report.
    if (!m_unit.isEmpty()) text += QStringLiteral("  unit ") + m_unit.section(QLatin1Char(','), 0, 0);
    return text + QStringLiteral("  ") + m_activity;
}
