// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

// A navy-blue text that works as a link button ("Select All", "Unselect All"):
// a mouse click, Space or Enter while it has the focus, or an assistive
// tool's press action all emit clicked().
class ClickLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ClickLabel(const QString &text, QWidget *parent = nullptr);

    // Emits clicked() unless the label is disabled.
    void click();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool m_pressed = false;
};
