// SPDX-License-Identifier: MIT
#include "ui/KeyboardFocus.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace {

bool usable(const QWidget *widget)
{
    return widget && widget->isEnabled() && widget->isVisibleTo(widget->window());
}

bool takesTab(const QWidget *widget)
{
    return usable(widget) && (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

} // namespace

namespace KeyboardFocus {

QWidget *firstIn(QWidget *area)
{
    if (!area)
        return nullptr;
    if (takesTab(area))
        return area;
    // The window's Tab order, from the area on, until it leaves the area.
    for (QWidget *next = area->nextInFocusChain(); next && next != area; next = next->nextInFocusChain()) {
        if (area->isAncestorOf(next) && takesTab(next))
            return next;
    }
    return nullptr;
}

QWidget *firstUsable(std::initializer_list<QWidget *> widgets)
{
    for (QWidget *widget : widgets) {
        if (usable(widget))
            return widget;
    }
    return nullptr;
}

void showFocusFrames(QWidget *window)
{
    // Showing a window clears the state; it is set again as the window shows.
    class OnShow : public QObject
    {
    public:
        using QObject::QObject;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Show && watched == parent())
                static_cast<QWidget *>(watched)->setAttribute(Qt::WA_KeyboardFocusChange);
            return false;
        }
    };
    window->installEventFilter(new OnShow(window));
}

bool pressFocusedButton(QWidget *window, const QKeyEvent *event)
{
    const bool enter = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    auto *button = qobject_cast<QAbstractButton *>(window->focusWidget());
    if (!enter || event->isAutoRepeat() || !button || !usable(button) || button->window() != window)
        return false;
    button->click();
    return true;
}

} // namespace KeyboardFocus

BusyFrame::BusyFrame(QWidget *frame)
    : m_frame(frame)
{
    if (!m_frame)
        return;
    m_focus = m_frame->window()->focusWidget();
    m_frame->setEnabled(false);
}

BusyFrame::~BusyFrame()
{
    if (!m_frame)
        return;
    m_frame->setEnabled(true);
    if (m_focus && m_focus->window() == m_frame->window() && m_focus->isEnabled() &&
        m_focus->isVisibleTo(m_focus->window()))
        m_focus->setFocus(Qt::OtherFocusReason);
}
