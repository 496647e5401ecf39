#pragma once

#include "comm/Dialogue.h"
#include "config/ProgrammingPlan.h"

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <optional>

class TForm1;

// What the unit was last found to hold, kept from the read-backs as they complete: its locations, and the
// configuration file PC Save would have written right then. It also keeps what the last programming wrote,
// so that the read-back following it can be checked against it.
class ReadBackRecord : public QObject {
    Q_OBJECT
public:
    explicit ReadBackRecord(TForm1& form);

    // Whether a read-back has completed since the port was last opened.
    bool known() const { return m_known; }
    const QMap<int, SimLocation>& locations() const { return m_locations; }
    const QByteArray& configuration() const { return m_configuration; }
    // Whether the read-back under way has listed this location already.
    bool listed(int location) const { return m_reading.contains(location); }

signals:
    // The read-back that follows a programming has completed: where it differs from what was written.
    void verified(const QList<LocationChange>& differences);

private:
    void started(Dialogue::Phase phase);
    void ended(Dialogue::Phase phase, Dialogue::Outcome outcome);
    void line(const QByteArray& line);
    void forget();

    TForm1& m_form;
    bool m_known = false;
    QMap<int, SimLocation> m_locations;
    QByteArray m_configuration;
    // The locations of the read-back under way.
    QMap<int, SimLocation> m_reading;
    // What the last programming wrote, while its read-back is still to come.
    std::optional<QMap<int, SimLocation>> m_written;
};
