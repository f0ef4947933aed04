// SPDX-License-Identifier: MIT
#include "ui/filelist/FileList.h"

#include "ui/Twips.h"
#include "ui/WindowGeometry.h"
#include "ui/filelist/FileListLayout.h"
#include "ui/filelist/FileListView.h"
#include "ui/filelist/FileListViewport.h"

#include <QEvent>
#include <QScrollBar>

#include <algorithm>

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

FileList::FileList(QWidget *frame, const FileListGeometry &geometry, const FileListColumn &checkColumn,
                   const QList<FileListColumn> &labelColumns, QObject *parent)
    : QObject(parent)
    , m_geometry(geometry)
    , m_checkColumn(checkColumn)
    , m_labelColumns(labelColumns)
    , m_model(int(labelColumns.size()))
    , m_panelHeight(geometry.panelDesignHeightTwips)
    , m_scrollBarTwips(scrollBarPlaceFor(geometry.viewportTwips))
{
    auto *viewport = new FileListViewport(frame);
    viewport->setObjectName(QStringLiteral("Frame4"));
    viewport->setGeometry(toPixels(geometry.viewportTwips));
    viewport->setFont(WindowGeometry::sansSerif(8.25, false));
    m_viewport = viewport;

    // The first line stands where the design's first row is with the panel at
    // the top; the view below it holds every line, scrolled a line at a time.
    m_view = new FileListView(m_model, m_checkColumn, m_labelColumns, viewport);
    m_view->setObjectName(QStringLiteral("lstFiles"));
    fitView();
    viewport->installEventFilter(this);

    m_scrollBar = new QScrollBar(Qt::Vertical, frame);
    m_scrollBar->setObjectName(QStringLiteral("VScroll1"));
    m_scrollBar->setGeometry(toPixels(m_scrollBarTwips));
    m_scrollBar->setRange(0, 0);
    // The bar is for the mouse; the keyboard scrolls by moving in the list,
    // which the bar hands its focus to.
    m_scrollBar->setFocusPolicy(Qt::NoFocus);
    m_scrollBar->setFocusProxy(m_view);
    m_scrollBar->hide(); // shown by the scroll set-up when the files overflow the viewport
    viewport->setScrollBar(m_scrollBar);
    connect(m_scrollBar, &QScrollBar::valueChanged, this, &FileList::onScrolled);
    connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, m_scrollBar, &QScrollBar::setValue);
    connect(m_view, &FileListView::scrollGeometryChanged, this, &FileList::followView);

    m_view->layOutNow();
    m_ownViewport = m_viewport;
    m_ownScrollBar = m_scrollBar;
    m_model.resize(designRowCount);
}

FileList::~FileList()
{
    delete m_ownViewport;
    delete m_ownScrollBar;
}

void FileList::createRows(int fileCount)
{
    m_fileCount = std::clamp(fileCount, 0, maxFileCount);
    // Rows are made in pairs from index 2, but an odd count gets no row beyond
    // its last file: nothing would ever fill, tick or export it.
    const int rows = std::max(designRowCount, m_fileCount);
    m_model.resize(rows);
    m_panelHeight = rows > designRowCount ? rowTop(rows - 1) + rowPitch : m_geometry.panelDesignHeightTwips;
}

void FileList::setupScroll()
{
    if (m_fileCount <= filesWithoutScrollBar) {
        m_scrollBar->hide();
    } else {
        m_scrollBarTwips = scrollBarPlaceFor(m_geometry.viewportTwips);
        m_scrollBar->setGeometry(toPixels(m_scrollBarTwips));
        m_scrollBar->show();
    }
    m_view->layOutNow();
    followView();
    m_scrollBar->setValue(0);
    m_view->scrollToTop();
}

void FileList::setCellText(int row, int column, const QString &text)
{
    m_model.setCellText(row, column, text);
}

void FileList::setTicked(int row, bool ticked)
{
    m_model.setTicked(row, ticked);
}

void FileList::setCheckEnabled(int row, bool enabled)
{
    m_model.setEnabled(row, enabled);
}

void FileList::setColumnHeadings(const QStringList &headings)
{
    m_view->setAccessibleDescription(QStringLiteral("Columns: ") + headings.join(QStringLiteral(", ")));
}

void FileList::selectAll()
{
    // Only the files the meter reported; disabled (empty) slots keep their value.
    m_model.setAllTicks(m_fileCount, true);
}

void FileList::unselectAll()
{
    m_model.setAllTicks(m_fileCount, false);
}

void FileList::onScrolled(int line)
{
    m_view->verticalScrollBar()->setValue(line);
}

int FileList::currentRow() const
{
    return m_view->currentRow();
}

void FileList::setCurrentRow(int row)
{
    m_view->setCurrentRow(row);
}

int FileList::topLine() const
{
    return m_view->topLine();
}

int FileList::pageLines() const
{
    return m_view->pageLines();
}

QRect FileList::checkCellRect(int row) const
{
    return m_view->checkCellRect(row);
}

QRect FileList::labelCellRect(int row, int column) const
{
    return m_view->labelCellRect(row, column);
}

bool FileList::isRowOnScreen(int row) const
{
    return m_view->isRowOnScreen(row);
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

bool FileList::eventFilter(QObject *watched, QEvent *event)
{
    // A window that gives the list another size (a small screen, a maximised
    // window) keeps whole lines in view and the scroll range to match.
    if (watched == m_viewport && event->type() == QEvent::Resize) {
        fitView();
        m_view->layOutNow();
        followView();
    }
    return QObject::eventFilter(watched, event);
}

void FileList::fitView()
{
    // Whole lines only, so that a scrolled list never shows a cut line at its top.
    const int firstLine = Twips::toPixels(firstRowTop);
    const int pitch = std::max(1, Twips::toPixels(rowPitch));
    const int wholeLines = std::max(1, (m_viewport->height() - firstLine) / pitch);
    m_view->setGeometry(0, firstLine, m_viewport->width(), wholeLines * pitch);
}

void FileList::followView()
{
    // In lines: the last line can come to the bottom of the view, and a page
    // is the lines the view shows whole. Worked out here too, as a view that
    // was never shown has not laid itself out yet.
    const int lines = m_view->model()->rowCount();
    const int page = m_view->pageLines();
    const int value = m_scrollBar->value();
    m_scrollBar->setRange(0, std::max(0, lines - page));
    m_scrollBar->setPageStep(page);
    m_scrollBar->setSingleStep(1);
    m_scrollBar->setValue(value);
    m_view->verticalScrollBar()->setValue(m_scrollBar->value());
}
