// SPDX-License-Identifier: MIT
#pragma once

#include "ui/ProgramState.h"
#include "link/MeterTiming.h"
#include "link/SerialLink.h"

#include <QWidget>
#include <functional>
#include <memory>

class Exchange;
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
// is still up, shown afterwards by the entry routine. It owns its port, opened
// on the COM number the detection window found.
class MeterWindow : public QWidget
{
    Q_OBJECT
public:
    // Closing the window requests the context's stop.
    explicit MeterWindow(const MeterWindowContext &context, QWidget *parent = nullptr);
    ~MeterWindow() override;

    virtual MeterFamily family() const = 0;
    // The start-up sequence, run once before the window is first shown: the
    // title, the port, then the family's load, under a busy cursor.
    void load();
    // The view that lists the meter's measurement files; null in a window without one.
    virtual MeasurementView *measurementView() { return nullptr; }

public slots:
    // The window's one way out: ends the program.
    void exitProgram();

protected:
    // The family's part of the load, on the open port.
    virtual void loadFiles() = 0;
    // Escape does what the window's way out does: Exit, unless a window knows better.
    virtual void escapePressed() { exitProgram(); }

    void keyPressEvent(QKeyEvent *event) override;
    // It is the program's only window: closing it ends the program, as Exit does.
    void closeEvent(QCloseEvent *event) override;

    StopRequest &stopRequest() { return m_stop; }
    const ProgramState &state() const { return m_state; }
    UserDialogs &dialogs() { return m_dialogs; }
    const std::function<void(const QString &)> &progress() const { return m_progress; }
    Exchange &exchange() { return *m_exchange; }

private:
    StopRequest &m_stop;
    const ProgramState &m_state;
    UserDialogs &m_dialogs;
    std::function<void(const QString &)> m_progress;
    std::unique_ptr<SerialLink> m_port;
    std::unique_ptr<Exchange> m_exchange;
};

using MeterWindowFactory = std::function<std::unique_ptr<MeterWindow>(const MeterWindowContext &)>;
