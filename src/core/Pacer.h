#pragma once

#include <QObject>
#include <QTime>
#include <QTimer>
#include <functional>
#include <memory>

// A limit on how long the program waits for the unit. It expires once, through the event queue,
// unless it is started again or stopped first.
class Deadline : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void start(int ms) = 0;
    virtual void stop() = 0;

signals:
    void expired();
};

// The unit's pacing, the clock for the monitor log, and the limits on waiting for the unit's answers. No
// wait blocks the thread: a pause is a timer whose expiry carries on.
class Pacer {
public:
    virtual ~Pacer() = default;
    // Runs then once ms have passed, through the event queue, unless context is gone by then.
    virtual void after(int ms, QObject* context, std::function<void()> then) = 0;
    virtual QTime now() = 0;
    virtual std::unique_ptr<Deadline> deadline() = 0;
};

// A limit kept by a timer of the event loop.
class TimerDeadline : public Deadline {
    Q_OBJECT
public:
    TimerDeadline();
    void start(int ms) override { m_timer.start(ms); }
    void stop() override { m_timer.stop(); }

private:
    QTimer m_timer;
};

// Pauses by the event loop's clock. The clock looks at the time zone once a minute, not for every line it
// stamps.
class RealPacer : public Pacer {
public:
    void after(int ms, QObject* context, std::function<void()> then) override;
    QTime now() override;
    std::unique_ptr<Deadline> deadline() override { return std::make_unique<TimerDeadline>(); }

private:
    qint64 m_zoneOffsetMs = 0;
    qint64 m_zoneCheckedUntil = 0;
};
