// SPDX-License-Identifier: MIT
#include "app/MeterWindow.h"

#include "app/Accessibility.h"
#include "app/Shutdown.h"

#include <QCloseEvent>

MeterWindow::MeterWindow(QWidget *parent)
    : QWidget(parent)
{
    Accessibility::installFactory();
}

void MeterWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        Shutdown::request();
}
