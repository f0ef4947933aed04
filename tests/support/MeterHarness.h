// SPDX-License-Identifier: MIT
#pragma once

#include "ChildNamed.h"
#include "MemoryMeter.h"
#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "link/MeterTiming.h"
#include "link/StopRequest.h"
#include "ui/MeterWindow.h"

#include <QMetaType>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class FileList;
class WindingMeterWindow;

// Where the meter behind a window lives.
enum class Line {
    InMemory, // the simulator's meter in this process, with the waits shortened
    Pty,      // the simulator as its own process on a pseudo-terminal, in real time
};
Q_DECLARE_METATYPE(Line)

// A meter window loaded the way the detection window loads it: program-wide
// state filled in, port COM 1, every progress text recorded (and handed to
// onProgress). `simArguments` are the simulator's command line on either line.
class MeterHarness
{
public:
    MeterHarness(const QString &model, MeterFamily family, QStringList simArguments, Line line = Line::InMemory);
    // The meter alone, for a detection window to find.
    explicit MeterHarness(QStringList simArguments, Line line = Line::InMemory);
    ~MeterHarness();

    // Starts the meter (the simulator process, or the one in memory).
    bool startMeter();
    // The ports of the program on this line (after startMeter), ended by `stop`.
    PortFactory ports();
    void createWindow();
    // Starts the meter, creates the family window and runs its start-up.
    bool load();
    // Destroys the window, as the end of the program does.
    void closeWindow() { window.reset(); }

    // The meter's device goes away.
    void unplug();
    // The requests the meter has had so far.
    QStringList requests() const;
    // How many ports of this process are open on the meter's device.
    int openPorts() const;
    // File descriptors of this process open on a pseudo-terminal. One that
    // has gone away still shows its old path, marked "(deleted)".
    static int openHandlesTo(const QString &device);

    // A data file in a private folder, for --data.
    QString writeDataFile(const QByteArray &contents);

    // Clicks the window's control of that object name (the user's click or key).
    bool click(const QString &objectName);
    // Presses the measurement view's Download with `answer` as the save dialog's answer.
    [[nodiscard]] bool download(const QString &answer)
    {
        dialogs.saveAnswers << answer;
        return click(QStringLiteral("cmdRMDownload"));
    }

    FileList &list();
    WindingMeterWindow *winding();
    template <typename Window>
    Window *as()
    {
        return dynamic_cast<Window *>(window.get());
    }

    Line line;
    QStringList simArguments;
    ProgramState state;
    StopRequest stop; // the program's, for everything the harness makes
    ScriptedDialogs dialogs;
    QStringList progress; // every text written into the progress line, in order
    std::function<void(const QString &)> onProgress;
    MeterTiming timing; // the window's waits
    std::unique_ptr<SimProcess> sim;
    std::unique_ptr<MemoryMeter> memory;
    QString device; // the pseudo-terminal, on the Pty line
    std::unique_ptr<MeterWindow> window;
    QTemporaryDir files; // data files and exported files of the test
};
