// SPDX-License-Identifier: MIT
#pragma once

#include "ActWhen.h"

// What the end-to-end fault tests share: a meter window loaded against the
// simulator with hooks into the load, and the checks every fault ends with.

#include "ScriptedDialogs.h"
#include "SimProcess.h"
#include "ui/MeterWindow.h"
#include "ui/FileListWindow.h"
#include "ui/filelist/FileList.h"
#include "ui/WindingMeterWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QMetaObject>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace faults {

// One meter family as the fault tests drive it.
struct Family
{
    QString model;                 // the identification text the detection window stored
    MeterKind kind;
    QString countRequest;          // the start-up request that gives the file count
    QString recordPrefix;          // how every record request begins
    QString countFailure;          // the "Fatal Error" text of the start-up
    int labelColumns;              // label cells per row
};

inline const QList<Family> &families()
{
    static const QList<Family> all{
        {"[KX-W1]", MeterKind::Winding, "{03}", "{11", "Error Communication with Winding Resistance Meter", 7},
        {"[KX-C1]", MeterKind::Contact, "{03}", "{11", "Error Communication with Winding Resistance Meter", 3},
        {"KXT1", MeterKind::Ratio, "{03}", "{11", "Error Communication with Winding Resistance Meter", 3},
        {"[KX-R1]", MeterKind::Cable, "{01}", "{10", "Error Communication with Cable Resistance Meter", 6},
    };
    return all;
}

inline const ScriptedDialogs::Box communicationError{true, "Error", "Communication Error"};
inline const ScriptedDialogs::Box downloadError{true, "Error", "Error downloading the file"};
inline const ScriptedDialogs::Box meterLost{true, "Error", "The meter is no longer connected. The files read so far are listed."};

// File descriptors of this process that are open on `device`: the check that
// a window's port is closed. A pseudo-terminal that has gone away still shows
// its old path, marked "(deleted)".
inline int openHandlesTo(const QString &device)
{
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QFileInfo &fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
        const QString target = fd.symLinkTarget();
        if (target == device || target.startsWith(device + QStringLiteral(" (")))
            ++count;
    }
    return count;
}

// Blocks until the simulator's unsolicited start-up text is waiting on the
// line (or `msecs` pass), without reading it: the window must drop it itself.
inline bool waitUntilInputPending(const QString &device, int msecs)
{
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    pollfd watch{fd, POLLIN, 0};
    const bool pending = ::poll(&watch, 1, msecs) == 1 && (watch.revents & POLLIN);
    ::close(fd);
    return pending;
}

// A meter window loaded against the simulator, the way the detection window
// loads it (COM 1), with a hook on every progress text.
class MeterRun
{
public:
    // The simulator plays the family's model unless the arguments say otherwise.
    MeterRun(const Family &family, QStringList simArguments)
        : family(family), simArguments(QStringList{"--model", family.model} + simArguments)
    {
        state.model = family.model;
        state.family = family.kind;
        state.port = 1;
    }

    ~MeterRun() { closeWindow(); }

    bool startSimulator()
    {
        sim = std::make_unique<SimProcess>(simArguments);
        if (!sim->start())
            return false;
        device = sim->device();
        return true;
    }

    void createWindow()
    {
        const MeterWindowContext context{state, dialogs, createSerialPort, [this](const QString &text) {
                                             progress << text;
                                             if (onProgress)
                                                 onProgress(text);
                                         }};
        window = createFamilyWindow(context);
    }

    // Starts the simulator, creates the family window and runs its start-up.
    bool load()
    {
        if (!startSimulator())
            return false;
        createWindow();
        window->load();
        return true;
    }

    // Destroys the window, as the end of the program does.
    void closeWindow() { window.reset(); }

    FileList &list() { return window->measurementView()->list(); }

    WindingMeterWindow *winding() { return dynamic_cast<WindingMeterWindow *>(window.get()); }

    // The window's own Exit button handler.
    void pressExit() { QMetaObject::invokeMethod(window.get(), "exitProgram", Qt::DirectConnection); }

    // True when no fetch has written the row: every label keeps its design
    // text and the file can still be ticked.
    bool rowUntouched(int row) { return rowTextsUntouched(row) && list().isCheckEnabled(row); }

    // True when every label of the row keeps its design text.
    bool rowTextsUntouched(int row)
    {
        for (int column = 0; column < family.labelColumns; ++column) {
            // The winding design leaves the first row's right-hand name blank.
            const bool blankInDesign = family.kind == MeterKind::Winding && row == 1 && column == 0;
            if (list().cellText(row, column) != (blankInDesign ? QString() : QStringLiteral("  ---")))
                return false;
        }
        return true;
    }

    // True when a fetch filled the row from the meter's record.
    bool rowFilled(int row) { return list().cellText(row, 0) != QStringLiteral("  ---") && !rowUntouched(row); }

    // The requests the simulator has had so far.
    QStringList requests() const { return sim->requests(); }

    Family family;
    QStringList simArguments;
    ProgramState state;
    ScriptedDialogs dialogs;
    QStringList progress;
    std::function<void(const QString &)> onProgress;
    std::unique_ptr<SimProcess> sim;
    QString device;
    std::unique_ptr<MeterWindow> window;
    QTemporaryDir files;
};


} // namespace faults
