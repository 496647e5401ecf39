#pragma once

#include "batch/LineReport.h"

#include <QObject>
#include <QProcess>
#include <QSerialPort>
#include <QString>
#include <QStringList>
#include <QTimer>

// What every station of a production line runs with.
struct LineSettings {
    QString file;
    bool full = false;
    int timeoutSeconds = 60;
    // The identities done in this run, one a line; empty when units are done again.
    QString doneFile;
};

// One port of the production line. A unit on it is served by a batch run of its own (a process that
// stops, reads, backs up, identifies, checks, programs what differs, verifies and switches the unit back
// to run mode), so that units on different ports go at the same time. Then the station watches the line:
// while the unit it served is attached and running, it keeps talking; once the line has been quiet for
// the time limit, or the adapter is plugged again, the next unit is looked for. A port where no unit
// answers is asked again a little later.
class LineStation : public QObject {
    Q_OBJECT
public:
    LineStation(const QString& port, const LineSettings& settings, QObject* parent = nullptr);
    ~LineStation() override;

    void start();
    // Ends the station: a unit being served is stopped cleanly as a batch run stops on a signal.
    void interrupt();
    // Ended, and no unit's run is still going.
    bool hasEnded() const { return m_state == State::Ended && m_run.state() == QProcess::NotRunning; }
    const QString& port() const { return m_port; }
    // Port, unit and what is being done, for the terminal.
    QString progress() const;

signals:
    void finished(const UnitRecord& record);
    void ended();

private:
    enum class State { Looking, Serving, Watching, Gone, Ended };

    void serve();
    void takeProgress();
    void served(int exitCode, QProcess::ExitStatus status);
    void watch();
    void lookAgainLater(State state, const QString& activity);

    QString m_port;
    LineSettings m_settings;
    State m_state = State::Looking;
    QProcess m_run;
    QByteArray m_said;
    QString m_unit;
    QString m_activity;
    QString m_reason;
    int m_lookAgainMs = 0;
    QSerialPort m_line;
    QTimer m_quiet;
    QTimer m_later;
};
