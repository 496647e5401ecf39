#pragma once

#include "SimFormFixture.h"

#include <QStringList>

// A window on a simulated unit, started and, when asked, read back; its backups go to the fixture's folder.
struct ProgrammingFixture : SimFormFixture {
    ProgrammingFixture(const SimOptions& options, bool readBack);
    ProgrammingFixture(const QMap<int, SimEntry>& phonebook, bool readBack);
    // Programs through the device group's Save, answering its question.
    void programAnswering(bool answer);
    QStringList backups() const;
};
