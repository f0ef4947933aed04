// SPDX-License-Identifier: MIT
#include "app/Program.h"

#include "ui/MeterWindow.h"
#include "link/StopRequest.h"
#include "ui/UserDialogs.h"
#include "app/DetectionDialog.h"

#include <QApplication>

int runProgram()
{
    // Exit, wherever it is pressed, leaves every event loop at once.
    QObject::connect(&StopRequest::instance(), &StopRequest::requested, qApp, [] { QCoreApplication::exit(0); });

    ProgramState state;
    QtUserDialogs dialogs;
    std::unique_ptr<MeterWindow> window;
    {
        DetectionDialog splash(state, dialogs, createSerialPort, createFamilyWindow);
        splash.exec();
        if (StopRequest::isRequested())
            return 0;
        window = splash.takeLoadedWindow();
    }
    if (!window)
        return 0;
    window->show();
    return QApplication::exec();
}
