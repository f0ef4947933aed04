// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

// "Exit" ends the program at once, also in the middle of a wait for the meter.
// Whoever waits with a local event loop listens to requested() and stops; code
// that resumes after such a wait asks isRequested() and returns quietly, so no
// further message or request follows an Exit.
class StopRequest : public QObject
{
    Q_OBJECT
public:
    static StopRequest &instance();

    static bool isRequested();
    // Ends the program: emits requested() once; the program's entry routine
    // connects it to leaving the application's event loop.
    static void request();

    // Tests run many "programs" in one process.
    static void resetForTests();

signals:
    void requested();

private:
    bool m_requested = false;
};
