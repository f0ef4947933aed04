// SPDX-License-Identifier: MIT
#pragma once

#include "ui/ProgramState.h"
#include "link/MeterTiming.h"
#include "link/SerialLink.h"

#include <QWidget>
#include <functional>
#include <memory>

class StopRequest;
class MeasurementView;
class UserDialogs;

// Makes the serial port object of a window (receive buffer size in bytes).
using PortFactory = std::function<std::unique_ptr<SerialLink>(qint64 readBufferSize)>;

// What a meter window needs from the rest of the program when it loads.
struct MeterWindowContext
{
    const ProgramState &state;
    UserDialogs &dialogs;
    StopRequest &stop;
    PortFactory makePort;
    // Writes the detection window's progress line, still on screen while the window loads.
    std::function<void(const QString &)> showProgress;
    MeterTiming timing = {};
};

// A family window: loaded (start-up exchanges run) while the detection window
// is still up, shown afterwards by the entry routine.
class MeterWindow : public QWidget
{
    Q_OBJECT
public:
    // Closing the window requests `stop`.
    explicit MeterWindow(StopRequest &stop, QWidget *parent = nullptr);

    virtual MeterFamily family() const = 0;
    // The start-up sequence; runs once, before the window is first shown.
    virtual void load() = 0;
    // The view that lists the meter's measurement files; null in a window without one.
    virtual MeasurementView *measurementView() { return nullptr; }

protected:
    // It is the program's only window: closing it ends the program, as Exit does.
    void closeEvent(QCloseEvent *event) override;

    StopRequest &stopRequest() { return m_stop; }

private:
    StopRequest &m_stop;
};

using MeterWindowFactory = std::function<std::unique_ptr<MeterWindow>(const MeterWindowContext &)>;
