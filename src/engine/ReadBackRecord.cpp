#include "engine/ReadBackRecord.h"

#include "comm/SerialPort.h"
#include "files/ConfigFile.h"

using Phase = Dialogue::Phase;
using Outcome = Dialogue::Outcome;

ReadBackRecord::ReadBackRecord(Dialogue& dialogue, SerialPort& port, QObject* parent)
    : QObject(parent), m_dialogue(dialogue) {
    connect(&dialogue, &Dialogue::started, this, &ReadBackRecord::started);
    connect(&dialogue, &Dialogue::ended, this,
            [this](Phase phase, Outcome outcome) { ended(phase, outcome); });
    connect(&port, &SerialPort::connectionChanged, this, [this](bool open) {
        if (!open) forget();
    });
}

QByteArray ReadBackRecord::backup() const {
    return configurationFile(restoring(m_locations, m_capacity));
}

void ReadBackRecord::verifyNextRead(const QMap<int, SimLocation>& written) {
    m_written = written;
}

void ReadBackRecord::written(int location, const SimLocation& content) {
    if (content.name.isEmpty())
        m_locations.remove(location);
    else
        m_locations[location] = content;
}

void ReadBackRecord::forget() {
    m_known = false;
    m_locations.clear();
    m_unknown.clear();
    m_capacity = 0;
    m_written.reset();
}

void ReadBackRecord::started(Phase phase) {
    m_verification.reset();
    if (phase == Phase::Uploading) unitMayHaveChanged();
    if (phase == Phase::ReadingBack) m_reading.clear();
    // A result speaks only of the programming just ended, checked by the read that follows it at once.
    else
        m_written.reset();
}

void ReadBackRecord::ended(Phase phase, Outcome outcome) {
    if (phase != Phase::ReadingBack) return;
    const std::optional<QMap<int, SimLocation>> written = std::exchange(m_written, std::nullopt);
    // Only a read that went out and ran to its end says what the whole unit holds.
    const bool complete = outcome == Outcome::Done && m_dialogue.readStage() == Dialogue::ReadStage::Entries;
    if (!complete) return;
    m_known = true;
    m_current = true;
    m_unknown.clear();
    m_locations = m_reading;
    m_capacity = m_sized;
    if (written) m_verification = locationChanges(*written, m_locations, m_capacity);
}
