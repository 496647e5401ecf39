#pragma once

#include "batch/LineReport.h"
#include "batch/LineStation.h"

#include <QObject>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <memory>
#include <vector>

// Programs every unit that appears on its ports from one configuration file, units on different ports at
// the same time, until it is asked to end; keeps a record of each unit in the report as it finishes, and
// shows one line per port on a terminal (elsewhere a plain line per finished unit).
class ProductionLine : public QObject {
    Q_OBJECT
public:
    struct Settings {
        LineSettings station;
        // What the window found in the configuration file when it loaded it: said with the line's own
        // checks, before any unit is touched.
        QStringList fileProblems;
        // None: every serial adapter the system lists, as adapters come.
        QStringList ports;
        QString reportFile;
        bool again = false;
    };

    ProductionLine(const Settings& settings, QTextStream& err);

    // Runs the line until it is ended; the program's exit status.
    int run();
    // Ends the line: units being served are stopped cleanly, the report is written, and what became of
    // the units is said.
    void interrupt();

private:
    void addStation(const QString& port);
    void lookForAdapters();
    void unitFinished(const UnitRecord& record);
    void show();
    void stationEnded();
    QString summary() const;

    Settings m_settings;
    QTextStream& m_err;
    QTemporaryDir m_scratch;
    std::unique_ptr<LineReport> m_report;
    std::vector<std::unique_ptr<LineStation>> m_stations;
    QStringList m_done;
    int m_succeeded = 0;
    int m_failed = 0;
    int m_unfinished = 0;
    bool m_ending = false;
    bool m_terminal = false;
    // The block of port lines on the terminal, and how many lines it has.
    QString m_shown;
    int m_linesShown = 0;
    QTimer m_adapters;
    QTimer m_display;
};
