// SPDX-License-Identifier: MIT
#pragma once

#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "ui/MeterWindow.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// A meter window loaded against the simulator, the way the detection window
// loads it: program-wide state filled in, port COM 1, progress recorded.
class WindowHarness
{
public:
    // `simArguments` go to the simulator; `model` is what the detection
    // window would have stored.
    WindowHarness(const QString &model, MeterKind family, QStringList simArguments);

    // Starts the simulator (with simArguments), creates the family window and runs its start-up.
    bool load();

    // A data file in a private folder, for --data.
    QString writeDataFile(const QByteArray &contents);

    ProgramState state;
    ScriptedDialogs dialogs;
    QStringList progress; // every text written into the progress line, in order
    std::unique_ptr<MeterWindow> window;
    QStringList simArguments;
    std::unique_ptr<SimProcess> sim;
    QTemporaryDir files;         // data files and exported files of the test

    template <typename Window>
    Window *as() { return dynamic_cast<Window *>(window.get()); }
};
