// SPDX-License-Identifier: MIT
#include "ui/filelist/ClickLabel.h"

#include "ui/filelist/ClickLabelAccessible.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

ClickLabel::ClickLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    ClickLabelAccessible::install();
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);

    // Navy text while enabled; a disabled label greys out as usual.
    const QColor navy(0, 0, 128);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Active, QPalette::WindowText, navy);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, navy);
    setPalette(palette);
}

void ClickLabel::click()
{
    if (isEnabled())
        emit clicked();
}

void ClickLabel::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    // Like a button: the click counts only when released over the label.
    const bool wasPressed = m_pressed;
    m_pressed = false;
    event->accept();
    if (wasPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        click();
}

void ClickLabel::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        click();
        break;
    default:
        QLabel::keyPressEvent(event);
    }
}

void ClickLabel::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(backgroundRole());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}
