// SPDX-License-Identifier: MIT
#include "ui/filelist/FileListViewport.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QWheelEvent>

FileListViewport::FileListViewport(QWidget *parent)
    : QWidget(parent)
{
}

void FileListViewport::setScrollBar(QScrollBar *scrollBar)
{
    m_scrollBar = scrollBar;
}

void FileListViewport::wheelEvent(QWheelEvent *event)
{
    if (m_scrollBar && !m_scrollBar->isHidden() && m_scrollBar->isEnabled()) {
        QCoreApplication::sendEvent(m_scrollBar, event);
        return;
    }
    QWidget::wheelEvent(event);
}
