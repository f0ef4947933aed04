// SPDX-License-Identifier: MIT
#include "ui/MeterWindow.h"

#include "ui/Accessibility.h"
#include "link/StopRequest.h"

#include <QCloseEvent>

MeterWindow::MeterWindow(StopRequest &stop, QWidget *parent)
    : QWidget(parent)
    , m_stop(stop)
{
    Accessibility::installFactory();
}

void MeterWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        m_stop.request();
}
