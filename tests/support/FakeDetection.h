// SPDX-License-Identifier: MIT
#pragma once

#include "FakeSerialLink.h"
#include "ScriptedDialogs.h"
#include "ui/ProgramState.h"
#include "app/DetectionDialog.h"
#include "link/StopRequest.h"

#include <QByteArray>
#include <QSignalSpy>
#include <memory>

// The detection window, as the entry routine runs it, against an in-memory
// meter that answers "{00}" with `identification` and nothing else. The family
// window it loads talks to the same silent meter, so that window's start-up
// ends at its first request with the fatal-error box; its title is set by then.
// The waits are cut short: nothing here is ever late.
class FakeDetection
{
public:
    explicit FakeDetection(const QByteArray &identification);

    // Runs the probe until the window closes itself.
    bool waitUntilClosed();

    ProgramState state;
    StopRequest stop;
    ScriptedDialogs dialogs;
    std::unique_ptr<DetectionDialog> splash;

private:
    std::unique_ptr<QSignalSpy> m_finished;
};
