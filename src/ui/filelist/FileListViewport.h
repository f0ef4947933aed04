// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QWidget>

class QScrollBar;

// The list's viewport: the borderless frame that holds the list's view. A wheel turned
// over the strip above the first line scrolls the list through its scroll
// bar, as a wheel over the view itself does.
class FileListViewport : public QWidget
{
    Q_OBJECT

public:
    explicit FileListViewport(QWidget *parent);

    void setScrollBar(QScrollBar *scrollBar);

protected:
    void wheelEvent(QWheelEvent *event) override;

private:
    QPointer<QScrollBar> m_scrollBar;
};
