// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QWidget>

class QScrollBar;

// Frame4: the borderless frame that clips the list. A wheel turned anywhere
// over it (check boxes and labels leave wheel events to their parent) scrolls
// the list through its scroll bar, as if the wheel were over the bar itself.
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
