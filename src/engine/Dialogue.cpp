#include "engine/Dialogue.h"

#include "core/Pacer.h"

#include <algorithm>

Dialogue::Dialogue(Pacer& pacer, QObject* parent) : QObject(parent), m_deadline(pacer.deadline()) {
    connect(m_deadline.get(), &Deadline::expired, this, [this] {
        if (m_phase != Phase::Idle) emit timedOut(m_phase);
    });
}

Dialogue::~Dialogue() = default;

void Dialogue::start(Phase phase, int total, std::optional<int> limitMs) {
    if (m_phase != Phase::Idle) end(Outcome::Cancelled);
    m_phase = phase;
    m_readStage = ReadStage::Write;
    busyRetries = 0;
    m_done = 0;
    m_total = total;
    m_limitMs = limitMs.value_or(answerMs);
    m_deadline->start(m_limitMs);
    emit started(phase);
    emit progressed(phase, m_done, m_total);
}

void Dialogue::setTotal(int total) {
    m_total = total;
    emit progressed(m_phase, m_done, m_total);
}

void Dialogue::step(int done) {
    m_done = done;
    answered();
    emit progressed(m_phase, m_done, m_total);
}

void Dialogue::answered() {
    if (m_phase != Phase::Idle) m_deadline->start(m_limitMs);
}

void Dialogue::expect(int ms) {
    if (m_phase != Phase::Idle) m_deadline->start(ms);
}

void Dialogue::end(Outcome outcome, const QString& detail) {
    if (m_phase == Phase::Idle) return;
    const Phase ended = m_phase;
    m_phase = Phase::Idle;
    m_deadline->stop();
    // What the phase was waiting for will not come, or no longer counts.
    uploadActive = false;
    asendPending = false;
    awaitingPrompt = false;
    if (outcome != Outcome::Done) {
        rereadPending = false;
        readAgain = false;
        programAfterRead = false;
    }
    emit this->ended(ended, outcome, detail);
}

void Dialogue::reachRead(ReadStage stage) {
    if (m_phase != Phase::ReadingBack) {
        // The stop's own read-back follows the stop.
        if (m_phase == Phase::Stopping) end(Outcome::Done);
        start(Phase::ReadingBack);
    }
    m_readStage = std::max(m_readStage, stage);
    answered();
}

bool Dialogue::askReadBack() {
    switch (m_phase) {
    case Phase::Idle:
        return true;
    case Phase::ReadingBack:
        // A single write's answer starts its own read-back; once a read is out, another follows it
        // so that it shows what was written meanwhile.
        if (m_readStage == ReadStage::Write) return true;
        if (m_readStage == ReadStage::Entries) readAgain = true;
        return false;
    case Phase::Uploading:
        readAgain = true;
        return false;
    case Phase::Stopping:
    case Phase::Programming:
        // Each ends in a read-back of its own.
        return false;
    }
    return false;
}

QString Dialogue::describe(Phase phase) {
    switch (phase) {
    case Phase::Idle:
        return QStringLiteral("Idle");
    case Phase::Stopping:
        return QStringLiteral("Stop");
    case Phase::ReadingBack:
        return QStringLiteral("Read-back");
    case Phase::Programming:
        return QStringLiteral("Programming");
    case Phase::Uploading:
        return QStringLiteral("Upload");
    }
    return {};
}
