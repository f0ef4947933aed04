// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

// "Exit" ends the program at once, also in the middle of a wait for the meter.
// Whoever waits with a local event loop listens to requested() and stops; code
// that resumes after such a wait asks isRequested() and returns quietly, so no
// further message or request follows an Exit. The program makes one and hands
// it to the windows, dialogs, exchanges and ports it creates.
class StopRequest : public QObject
{
    Q_OBJECT
public:
    bool isRequested() const { return m_requested; }
    // Ends the program: emits requested() once; the program's entry routine
    // connects it to leaving the application's event loop.
    void request();

signals:
    void requested();

private:
    bool m_requested = false;
};
