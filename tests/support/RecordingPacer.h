#pragma once

#include "core/Pacer.h"

#include <QList>
#include <QPointer>

// A limit that only a test lets expire.
class ManualDeadline : public Deadline {
    Q_OBJECT
public:
    void start(int ms) override { armedMs = ms; }
    void stop() override { armedMs = 0; }
    // The limit of the running wait; 0 while none runs.
    int armedMs = 0;
};

// Records every pause in order and ends it at once; tests never sleep. Limits expire only when a test says.
class RecordingPacer : public Pacer {
public:
    // realDeadlines: limits expire by the event loop's clock, for whole runs that end on the unit's silence.
    explicit RecordingPacer(bool realDeadlines = false) : realDeadlines(realDeadlines) {}
    QList<int> waits;
    QTime clock{12, 34, 56};
    const bool realDeadlines;
    void after(int ms, QObject*, std::function<void()> then) override {
        waits << ms;
        then();
    }
    QTime now() override { return clock; }
    std::unique_ptr<Deadline> deadline() override {
        if (realDeadlines) return std::make_unique<TimerDeadline>();
        auto made = std::make_unique<ManualDeadline>();
        m_deadlines << made.get();
        return made;
    }
    // The limit of the running wait, 0 while none runs.
    int armedMs() const {
        for (const QPointer<ManualDeadline>& d : m_deadlines)
            if (d && d->armedMs > 0) return d->armedMs;
        return 0;
    }
    // Lets every running limit expire, as if that much time had passed in silence.
    void expire() {
        for (const QPointer<ManualDeadline>& d : QList(m_deadlines))
            if (d && d->armedMs > 0) {
                d->armedMs = 0;
                emit d->expired();
            }
    }

private:
    QList<QPointer<ManualDeadline>> m_deadlines;
};
