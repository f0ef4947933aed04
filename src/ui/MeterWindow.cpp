// SPDX-License-Identifier: MIT
#include "ui/MeterWindow.h"

#include "ui/Accessibility.h"
#include "link/StopRequest.h"

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
        StopRequest::request();
}
