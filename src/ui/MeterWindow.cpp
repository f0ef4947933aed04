// SPDX-License-Identifier: MIT
#include "ui/MeterWindow.h"

#include "link/Exchange.h"
#include "link/StopRequest.h"
#include "ui/Accessibility.h"
#include "ui/BusyCursor.h"
#include "ui/KeyboardFocus.h"
#include "ui/MeterStartup.h"
#include "ui/PlainText.h"

#include <QCloseEvent>
#include <QKeyEvent>

MeterWindow::MeterWindow(const MeterWindowContext &context, QWidget *parent)
    : QWidget(parent)
    , m_stop(context.stop)
    , m_state(context.state)
    , m_dialogs(context.dialogs)
    , m_progress(context.showProgress)
    , m_port(context.makePort(SerialLink::meterBufferSize))
    , m_exchange(std::make_unique<Exchange>(*m_port, context.stop, context.timing))
{
    Accessibility::installFactory();
    KeyboardFocus::showFocusFrames(this);
}

MeterWindow::~MeterWindow()
{
    m_port->close();
}

void MeterWindow::load()
{
    const BusyCursor busy;
    PlainText::setWindowTitle(this, m_state.windowTitle());
    MeterStartup::openPort(*m_port, m_state.port);
    loadFiles();
}

void MeterWindow::exitProgram()
{
    m_port->close();
    m_stop.request();
    close();
}

void MeterWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        escapePressed();
        return;
    }
    if (KeyboardFocus::pressFocusedButton(this, event))
        return;
    QWidget::keyPressEvent(event);
}

void MeterWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        m_stop.request();
}
