// SPDX-License-Identifier: MIT
#include "windows/filelist/FileList.h"

#include "windows/Twips.h"
#include "windows/WindowGeometry.h"
#include "windows/filelist/FileListLayout.h"
#include "windows/filelist/FileListRowPool.h"
#include "windows/filelist/FileListViewport.h"

#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

using namespace FileListLayout;

namespace {

QRect scrollBarPlaceFor(const QRect &viewport)
{
    return QRect(viewport.left() + viewport.width(), viewport.top() + scrollBarDrop, scrollBarWidth,
                 viewport.height() - scrollBarDrop);
}

QRect toPixels(const QRect &twips)
{
    return Twips::rect(twips.left(), twips.top(), twips.width(), twips.height());
}

} // namespace

FileList::FileList(QWidget *frame2, const FileListGeometry &geometry, const FileListColumn &checkColumn,
                   const QList<FileListColumn> &labelColumns, QObject *parent)
    : QObject(parent)
    , m_geometry(geometry)
    , m_checkColumn(checkColumn)
    , m_labelColumns(labelColumns)
    , m_model(int(labelColumns.size()))
    , m_panelTop(float(panelTopAfterSetup)) // Frame3 stands at Top 120 in the design
    , m_panelHeight(geometry.panelDesignHeightTwips)
    , m_scrollBarTwips(scrollBarPlaceFor(geometry.viewportTwips))
{
    auto *viewport = new FileListViewport(frame2);
    viewport->setObjectName(QStringLiteral("Frame4"));
    viewport->setGeometry(toPixels(geometry.viewportTwips));
    viewport->setFont(WindowGeometry::sansSerif(8.25, false));
    m_viewport = viewport;

    m_scrollBar = new QScrollBar(Qt::Vertical, frame2);
    m_scrollBar->setObjectName(QStringLiteral("VScroll1"));
    m_scrollBar->setGeometry(toPixels(m_scrollBarTwips));
    m_scrollBar->setRange(0, 0);
    // The panel follows the value only once it is settled: arrows, trough
    // clicks and the release of a dragged thumb.
    m_scrollBar->setTracking(false);
    m_scrollBar->hide(); // shown by the scroll set-up when the files overflow the viewport
    viewport->setScrollBar(m_scrollBar);
    connect(m_scrollBar, &QScrollBar::valueChanged, this, &FileList::VScroll1_Change);

    m_pool = std::make_unique<FileListRowPool>(m_viewport, m_checkColumn, m_labelColumns, m_model);
    m_model.resize(designRowCount);
    m_pool->place(m_panelTop);
}

FileList::~FileList() = default;

void FileList::createRows(int fileCount)
{
    m_fileCount = std::clamp(fileCount, 0, maxFileCount);
    // Rows are made in pairs from index 2, but an odd count gets no row beyond
    // its last file: nothing would ever fill, tick or export it.
    const int rows = std::max(designRowCount, m_fileCount);
    m_model.resize(rows);
    m_panelHeight = rows > designRowCount ? rowTop(rows - 1) + rowPitch : m_geometry.panelDesignHeightTwips;
    m_pool->refill();
}

void FileList::setupScroll()
{
    if (m_fileCount <= filesWithoutScrollBar) {
        m_scrollBar->hide();
    } else {
        m_scrollBarTwips = scrollBarPlaceFor(m_geometry.viewportTwips);
        m_scrollBar->setGeometry(toPixels(m_scrollBarTwips));
        m_scrollBar->setRange(0, m_fileCount);
        m_scrollBar->setPageStep(scrollLargeChange);
        m_scrollBar->setSingleStep(1);
        m_scrollBar->setValue(0);
        m_scrollBar->show();
    }
    m_panelTop = float(panelTopAfterSetup);
    showPanel();
}

void FileList::setCellText(int row, int column, const QString &text)
{
    m_model.setCellText(row, column, text);
    m_pool->refillRow(row);
}

void FileList::setTicked(int row, bool ticked)
{
    if (m_model.setTicked(row, ticked))
        m_pool->refillRow(row);
}

void FileList::setCheckEnabled(int row, bool enabled)
{
    m_model.setEnabled(row, enabled);
    m_pool->refillRow(row);
}

void FileList::lblSelectAll_Click()
{
    setAllTicks(true);
}

void FileList::lblUnselectAll_Click()
{
    setAllTicks(false);
}

void FileList::VScroll1_Change()
{
    if (m_fileCount <= 0)
        return;
    // Single precision, left to right: value 0 puts the panel's top edge at the
    // viewport's top, the maximum (fileCount) puts the bottom edges together.
    const float overflow = float(m_geometry.viewportTwips.height() - m_panelHeight);
    m_panelTop = overflow * float(m_scrollBar->value()) / float(m_fileCount);
    showPanel();
}

int FileList::panelTopTwips() const
{
    return int(std::lround(m_panelTop));
}

int FileList::rowTopTwips(int row) const
{
    return rowTop(row);
}

int FileList::checkLeftTwips(int row) const
{
    return m_checkColumn.leftTwips[row % 2 == 0 ? 0 : 1];
}

int FileList::rowLeftTwips(int row, int column) const
{
    if (column < 0 || column >= m_labelColumns.size())
        return 0;
    return m_labelColumns.at(column).leftTwips[row % 2 == 0 ? 0 : 1];
}

bool FileList::isScrollBarShown() const
{
    return !m_scrollBar->isHidden();
}

QCheckBox *FileList::visibleCheckBox(int row) const
{
    return m_pool->checkBox(row);
}

QLabel *FileList::visibleLabel(int row, int column) const
{
    return m_pool->label(row, column);
}

void FileList::setAllTicks(bool ticked)
{
    // Only the files the meter reported; disabled (empty) slots keep their value.
    for (int row = 0; row < m_fileCount; ++row)
        m_model.setTicked(row, ticked);
    m_pool->refill();
}

void FileList::showPanel()
{
    m_pool->place(double(m_panelTop));
}
