#pragma once

#include <QObject>
#include <QTime>
#include <QTimer>
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

// The unit's pacing: blocking waits on the window thread, the clock for the monitor log, and the limits
// on waiting for the unit's answers.
class Pacer {
public:
    virtual ~Pacer() = default;
    virtual void wait(int ms) = 0;
    // As wait(), while the windows on screen are drawn; the unit's answers and the user's input wait all the
    // same.
    virtual void waitDrawing(int ms) { wait(ms); }
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

// Blocks the window thread for real; received bytes wait in the port's input buffer meanwhile. The clock
// looks at the time zone once a minute, not for every line it stamps.
class RealPacer : public Pacer {
public:
    void wait(int ms) override;
    void waitDrawing(int ms) override;
    QTime now() override;
    std::unique_ptr<Deadline> deadline() override { return std::make_unique<TimerDeadline>(); }

private:
    qint64 m_zoneOffsetMs = 0;
    qint64 m_zoneCheckedUntil = 0;
};
