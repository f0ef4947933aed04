// SPDX-License-Identifier: MIT
#include "app/Program.h"

#include "ui/FamilyWindows.h"
#include "app/SerialPorts.h"
#include "ui/MeterWindow.h"
#include "link/InterruptSignals.h"
#include "link/StopRequest.h"
#include "ui/ScreenFont.h"
#include "ui/UserDialogs.h"
#include "app/DetectionDialog.h"

#include <QApplication>
#include <QDir>

int runProgram()
{
    // Exit, wherever it is pressed, leaves every event loop at once.
    StopRequest stop;
    QObject::connect(&stop, &StopRequest::requested, qApp, [] { QCoreApplication::exit(0); });
    // A session that ends (SIGHUP), a kill (SIGTERM) or Ctrl-C in the terminal
    // is an Exit too: the port closes and its lock file goes with it.
    stopOnInterrupt(stop);

    // The program works from its own folder, whatever folder it was started in.
    QDir::setCurrent(QCoreApplication::applicationDirPath());

    // Every window is drawn in one face and layout factor, chosen before the first.
    ScreenFont::use(ScreenFont::programChoice());

    ProgramState state;
    QtUserDialogs dialogs(stop);
    std::unique_ptr<MeterWindow> window;
    {
        DetectionDialog splash(state, dialogs, stop, serialPorts(stop), createFamilyWindow);
        splash.exec();
        if (stop.isRequested())
            return 0;
        window = splash.takeLoadedWindow();
    }
    if (!window)
        return 0;
    window->show();
    return QApplication::exec();
}
