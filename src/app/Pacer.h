#pragma once

#include <QTime>

// The unit's pacing: blocking waits on the window thread, and the clock for the monitor log.
class Pacer {
public:
    virtual ~Pacer() = default;
    virtual void wait(int ms) = 0;
    virtual QTime now() = 0;
};

// Blocks the window thread for real; received bytes wait in the port's input buffer meanwhile.
class RealPacer : public Pacer {
public:
    void wait(int ms) override;
    QTime now() override;
};
