#include "app/Main.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setProgramNames();
    return Main();
}
