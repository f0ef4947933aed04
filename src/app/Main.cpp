#include "app/Main.h"

#include "app/MeterWindow.h"
#include "app/Shutdown.h"
#include "app/UserDialogs.h"
#include "app/frmSplash.h"

#include <QApplication>

void setProgramNames()
{
    QCoreApplication::setOrganizationName(QStringLiteral("Kestrix"));
    QCoreApplication::setApplicationName(QStringLiteral("Kestrix"));
}

int Main()
{
    // Exit, wherever it is pressed, leaves every event loop at once.
    QObject::connect(&Shutdown::instance(), &Shutdown::requested, qApp, [] { QCoreApplication::exit(0); });

    ProgramState state;
    QtUserDialogs dialogs;
    std::unique_ptr<MeterWindow> window;
    {
        frmSplash splash(state, dialogs, createSerialPort, createFamilyWindow);
        splash.exec();
        if (Shutdown::isRequested())
            return 0;
        window = splash.takeLoadedWindow();
    }
    if (!window)
        return 0;
    window->show();
    return QApplication::exec();
}
