#pragma once

#include "app/Pacer.h"

#include <QList>

// Records every wait in order and returns at once; tests never sleep.
class RecordingPacer : public Pacer {
public:
    QList<int> waits;
    QTime clock{12, 34, 56};
    void wait(int ms) override { waits << ms; }
    QTime now() override { return clock; }
};
