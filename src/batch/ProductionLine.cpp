#include "batch/ProductionLine.h"

#include "comm/QtSerialPort.h"
#include "core/Failure.h"
#include "core/WholeFile.h"
#include "files/Backup.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <functional>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// A terminal's line is redrawn a few times a second, never for every step.
constexpr int DisplayMs = 250;
constexpr int AdaptersMs = 2000;

} // namespace

ProductionLine::ProductionLine(const Settings& settings, QTextStream& err)
    : m_settings(settings), m_err(err) {
    m_terminal = ::isatty(STDERR_FILENO) == 1;
    m_adapters.setInterval(AdaptersMs);
    connect(&m_adapters, &QTimer::timeout, this, &ProductionLine::lookForAdapters);
    m_display.setInterval(DisplayMs);
    connect(&m_display, &QTimer::timeout, this, &ProductionLine::show);
}

int ProductionLine::run() {
    // Everything is checked before any unit is touched.
    QStringList problems = m_settings.fileProblems;
    m_settings.station.file = QFileInfo(m_settings.station.file).absoluteFilePath();
    const auto check = [&problems](const std::function<void()>& checked) {
        try {
            checked();
        } catch (const Failure& failure) {
            problems << failure.text();
        }
    };
    check(prepareBackupFolder);
    check([this] { m_report = std::make_unique<LineReport>(m_settings.reportFile); });
    // The units' runs learn there which units are done.
    m_settings.station.doneFile = m_scratch.filePath(QStringLiteral("done"));
    if (!m_scratch.isValid())
        problems << QStringLiteral("No temporary folder can be made: %1").arg(m_scratch.errorString());
    else
        check([this] { writeWholeFile(m_settings.station.doneFile, {}); });
    for (const QString& problem : problems)
        m_err << "error: " << problem << Qt::endl;
    if (!problems.isEmpty()) return 2;

    m_err << "programming every unit from " << m_settings.station.file;
    if (!m_settings.reportFile.isEmpty())
        m_err << "; report: " << QFileInfo(m_settings.reportFile).absoluteFilePath();
    m_err << "; Ctrl+C ends" << Qt::endl;
    if (m_settings.ports.isEmpty()) {
        lookForAdapters();
        m_adapters.start();
    } else {
        for (const QString& port : std::as_const(m_settings.ports))
            addStation(port);
    }
    if (m_terminal) m_display.start();
    QCoreApplication::exec();
    m_display.stop();
    show();
    if (m_report && m_report->pending()) {
        try {
            m_report->retry();
        } catch (const Failure& failure) {
            m_err << "error: " << failure.text() << Qt::endl;
            m_err << summary() << Qt::endl;
            return 2;
        }
    }
    m_err << summary() << Qt::endl;
    if (m_unfinished > 0) return 4;
    return m_failed > 0 ? 1 : 0;
}

void ProductionLine::addStation(const QString& port) {
    auto station = std::make_unique<LineStation>(port, m_settings.station);
    connect(station.get(), &LineStation::finished, this, &ProductionLine::unitFinished);
    connect(station.get(), &LineStation::ended, this, &ProductionLine::stationEnded);
    station->start();
    m_stations.push_back(std::move(station));
}

void ProductionLine::lookForAdapters() {
    if (m_ending) return;
    for (const QString& port : QtSerialPort::devices().keys()) {
        const bool known = std::any_of(m_stations.begin(), m_stations.end(),
                                       [&port](const auto& station) { return station->port() == port; });
        if (!known) addStation(port);
    }
}

void ProductionLine::unitFinished(const UnitRecord& record) {
    if (record.result == QLatin1String("done"))
        ++m_succeeded;
    else if (record.result == QLatin1String("interrupted"))
        ++m_unfinished;
    else
        ++m_failed;
    if (record.result == QLatin1String("done") && !m_settings.again) {
        m_done << record.imei;
        try {
            writeWholeFile(m_settings.station.doneFile, m_done.join(QLatin1Char('\n')).toLatin1() + '\n');
        } catch (const Failure& failure) {
            m_err << "error: " << failure.text() << Qt::endl;
        }
    }
    try {
        if (m_report) m_report->add(record);
    } catch (const Failure& failure) {
        m_err << "error: the report could not be written (it is tried again with the next unit): "
              << failure.text() << Qt::endl;
    }
    if (m_terminal) return;
    QString line = QStringLiteral("%1 %2 unit %3: %4")
                       .arg(record.time.toString(Qt::ISODate), record.port,
                            record.imei.isEmpty() ? QStringLiteral("?") : record.imei, record.result);
    if (record.written > 0 || record.result == QLatin1String("done"))
        line += QStringLiteral(", %1 locations written").arg(record.written);
    if (record.differences > 0) line += QStringLiteral(", %1 differ").arg(record.differences);
    if (!record.reason.isEmpty()) line += QStringLiteral(" (%1)").arg(record.reason);
    m_err << line << Qt::endl;
}

void ProductionLine::show() {
    if (!m_terminal) return;
    // A line wider than the terminal would take two, and the block would no longer be redrawn in place.
    winsize size{};
    const int width =
        ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 1 ? size.ws_col - 1 : 1000;
    QString block;
    for (const auto& station : m_stations)
        block += QStringLiteral("\r\x1b[K") + station->progress().left(width) + QLatin1Char('\n');
    block += QStringLiteral("\x1b[K") + summary() + QLatin1Char('\r');
    if (block == m_shown) return;
    // Back to the first line of the block, then each port's line anew.
    if (m_linesShown > 0) m_err << "\x1b[" << m_linesShown << "A";
    m_err << block;
    m_err.flush();
    m_shown = block;
    m_linesShown = int(m_stations.size());
}

void ProductionLine::interrupt() {
    if (m_ending) return;
    m_ending = true;
    m_adapters.stop();
    m_err << Qt::endl << "ending: units being served are stopped and switched back to run mode" << Qt::endl;
    m_linesShown = 0;
    m_shown.clear();
    for (const auto& station : m_stations)
        station->interrupt();
    stationEnded();
}

void ProductionLine::stationEnded() {
    if (!m_ending) return;
    const bool allEnded = std::all_of(m_stations.begin(), m_stations.end(),
                                      [](const auto& station) { return station->hasEnded(); });
    if (allEnded) QCoreApplication::exit(0);
}

QString ProductionLine::summary() const {
    return QStringLiteral("%1 done, %2 failed, %3 unfinished")
        .arg(m_succeeded)
        .arg(m_failed)
        .arg(m_unfinished);
}
