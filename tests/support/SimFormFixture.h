#pragma once

#include "RecordingPacer.h"
#include "ScriptedDialogs.h"

#include "app/TForm1.h"
#include "sim/SimulatedPort.h"
#include "sim/SimulatedUnit.h"

#include <QTemporaryDir>
#include <memory>

// A window talking to the simulated unit, with waits recorded instead of slept and scripted dialogs,
// in a temporary folder that holds its settings file.
struct SimFormFixture {
    explicit SimFormFixture(const SimOptions& options = {},
                            const QString& exeName = QStringLiteral("zuvovu"));

    QTemporaryDir dir;
    SimulatedUnit unit;
    SimulatedPort port;
    RecordingPacer pacer;
    ScriptedDialogs dialogs;
    std::unique_ptr<TForm1> form;

    QString path(const QString& name) const { return dir.filePath(name); }
    // Runs a handler as a click would, then lets the unit and the window talk until both are quiet.
    template <typename Handler> void click(Handler&& handler) {
        form->run(std::forward<Handler>(handler));
        settle();
    }
    void settle();
    // The monitor's lines.
    QStringList monitorLines() const;
};
