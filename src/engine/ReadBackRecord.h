#pragma once

#include "config/ProgrammingPlan.h"
#include "engine/Dialogue.h"

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QSet>
#include <optional>
#include <utility>

class SerialPort;

// What the unit holds, location by location, as far as this connection has seen: what the read-backs found
// as they completed, and every write the unit confirmed since. A write the unit did not answer leaves its
// location unknown, and a unit that ran its script or took an upload may hold anything: either way the
// unit is read again before it is compared or programmed. Also the check of the read-back that follows a
// programming against what it wrote.
class ReadBackRecord : public QObject {
    Q_OBJECT
public:
    // Follows the dialogue's read-backs, and forgets what it knows whenever the port closes: the unit at
    // its end may be another one then.
    ReadBackRecord(Dialogue& dialogue, SerialPort& port, QObject* parent = nullptr);

    // Whether a read-back has completed since the port was last opened.
    bool known() const { return m_known; }
    // Whether the record says what the unit holds in every location: no write since went unanswered, and
    // the unit has not run its script or taken an upload since, either of which may change its SIM.
    bool current() const { return m_known && m_current && m_unknown.isEmpty(); }
    void unitMayHaveChanged() { m_current = false; }
    // The unit confirmed a write: the location holds that now (cleared when the content is empty).
    void written(int location, const SimLocation& content);
    // A write got no answer: the location may hold the old content or the new.
    void unknownAt(int location) { m_unknown.insert(location); }
    const QMap<int, SimLocation>& locations() const { return m_locations; }
    // The SIM's size that read-back spoke of.
    int capacity() const { return m_capacity; }
    // The configuration file that programs what the unit holds back into it.
    QByteArray backup() const;
    // Whether the read-back under way has listed this location already.
    bool listed(int location) const { return m_reading.contains(location); }
    // The read-back under way listed this entry at that location.
    void list(int location, const SimLocation& content) { m_reading[location] = content; }
    // The unit gave its SIM's size.
    void sized(int capacity) { m_sized = capacity; }

    // The read-back about to start follows a programming that wrote these locations: it is checked
    // against them, if it runs to its end.
    void verifyNextRead(const QMap<int, SimLocation>& written);
    // Once, after the read-back that followed a programming has completed: where it differs from what
    // was written.
    std::optional<QList<LocationChange>> takeVerification() { return std::exchange(m_verification, {}); }

private:
    void started(Dialogue::Phase phase);
    void ended(Dialogue::Phase phase, Dialogue::Outcome outcome);
    void forget();

    Dialogue& m_dialogue;
    bool m_known = false;
    bool m_current = false;
    QMap<int, SimLocation> m_locations;
    QSet<int> m_unknown;
    int m_capacity = 0;
    // The size the unit gave last.
    int m_sized = 0;
    // The locations of the read-back under way.
    QMap<int, SimLocation> m_reading;
    // What the programming just ended wrote, while the read-back that follows it runs.
    std::optional<QMap<int, SimLocation>> m_written;
    std::optional<QList<LocationChange>> m_verification;
};
