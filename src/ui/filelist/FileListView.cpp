// SPDX-License-Identifier: MIT
#include "ui/filelist/FileListView.h"

#include "ui/Twips.h"
#include "ui/WindowGeometry.h"
#include "ui/filelist/FileListAccessible.h"
#include "ui/filelist/FileListDelegate.h"
#include "ui/filelist/FileListLayout.h"
#include "ui/filelist/FileListModel.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QHeaderView>
#include <QScrollBar>

#include <algorithm>

using namespace FileListLayout;

FileListView::FileListView(FileListModel &model, const FileListColumn &checkColumn,
                           const QList<FileListColumn> &labelColumns, QWidget *parent)
    : QTableView(parent)
    , m_model(model)
    , m_checkColumn(checkColumn)
    , m_labelColumns(labelColumns)
{
    FileListAccessible::install();
    setModel(&model);
    setItemDelegate(new FileListDelegate(this));

    // The list is one Tab stop; inside it the arrows move. Ticks are the only
    // state a file has, so there is no selection to show.
    setTabKeyNavigation(false);
    setSelectionMode(NoSelection);
    setEditTriggers(NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setFrameShape(QFrame::NoFrame);
    // The rows stand on the frame's own background, as labels would.
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);

    // One line a row pitch high, scrolled a whole line at a time; the window's
    // own scroll bar stands for the view's hidden one.
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(Twips::toPixels(rowPitch));
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(true);
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fitColumns();

    connect(&model, &QAbstractItemModel::dataChanged, this, &FileListView::announceChange);
}

int FileListView::currentRow() const
{
    return FileListModel::rowOf(currentIndex());
}

void FileListView::setCurrentRow(int row)
{
    const QModelIndex index = m_model.indexOfRow(row);
    if (index.isValid())
        setCurrentIndex(index);
}

int FileListView::pageLines() const
{
    const int pitch = verticalHeader()->defaultSectionSize();
    return std::max(1, (height() - 2 * frameWidth()) / std::max(1, pitch));
}

int FileListView::topLine() const
{
    return verticalScrollBar()->value();
}

QRect FileListView::checkCellRect(int row) const
{
    return cellRect(row, m_checkColumn);
}

QRect FileListView::labelCellRect(int row, int column) const
{
    if (column < 0 || column >= m_labelColumns.size())
        return QRect();
    return cellRect(row, m_labelColumns.at(column));
}

QRect FileListView::fileRect(int row) const
{
    QRect file = checkCellRect(row);
    for (int column = 0; column < m_labelColumns.size(); ++column)
        file = file.united(labelCellRect(row, column));
    return file;
}

bool FileListView::isRowOnScreen(int row) const
{
    const QRect cell = checkCellRect(row);
    return cell.isValid() && cell.bottom() >= 0 && cell.top() < viewport()->height();
}

void FileListView::keyboardSearch(const QString &search)
{
    Q_UNUSED(search);
}

QVariant FileListView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImCursorRectangle) {
        if (const QRect file = fileRect(currentRow()); file.isValid())
            return QRect(viewport()->mapTo(this, file.topLeft()), file.size());
    }
    return QTableView::inputMethodQuery(query);
}

void FileListView::layOutNow()
{
    // A view that was never shown has not sized its viewport yet; the
    // scroll range and the cells' places need it now.
    QResizeEvent resize(size(), size());
    QCoreApplication::sendEvent(this, &resize);
    doItemsLayout();
}

void FileListView::fitColumns()
{
    // The right-hand file starts where the design puts its check box.
    setColumnWidth(0, Twips::toPixels(m_checkColumn.leftTwips[1]));
}

QModelIndex FileListView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    Q_UNUSED(modifiers);
    const int rows = m_model.fileRows();
    if (rows <= 0)
        return QModelIndex();
    const int current = currentRow();
    if (current < 0)
        return m_model.indexOfRow(cursorAction == MoveEnd ? rows - 1 : 0);

    // Files run left to right, then down: a step is one file, a line two.
    int row = current;
    switch (cursorAction) {
    case MoveLeft:
    case MovePrevious:
        row = std::max(0, current - 1);
        break;
    case MoveRight:
    case MoveNext:
        row = std::min(rows - 1, current + 1);
        break;
    case MoveUp:
        row = current - 2;
        break;
    case MoveDown:
        row = current + 2;
        break;
    case MovePageUp:
        row = current - 2 * pageLines();
        break;
    case MovePageDown:
        row = current + 2 * pageLines();
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = rows - 1;
        break;
    }
    // Past either end a line step stays in its column, at the first or last line.
    while (row < 0)
        row += 2;
    while (row >= rows)
        row -= 2;
    return m_model.indexOfRow(std::max(0, row));
}

void FileListView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    // QTableView would announce the item by its own cell numbering; the files
    // are announced by their row (see FileListAccessible), so skip to the base.
    QAbstractItemView::currentChanged(current, previous);
    if (!hasFocus())
        return;
    announceCurrent();
    // The view has scrolled to the file; a window too small for the list
    // (a small screen, a large scale) scrolls to it as well. Not under a
    // click: the release must land where the press did.
    if (current.isValid() && QGuiApplication::mouseButtons() == Qt::NoButton)
        WindowGeometry::bringIntoView(viewport(), fileRect(FileListModel::rowOf(current)));
}

void FileListView::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    announceCurrent();
}

void FileListView::updateGeometries()
{
    QTableView::updateGeometries();
    emit scrollGeometryChanged();
}

void FileListView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    fitColumns();
}

void FileListView::announceCurrent()
{
    const int row = currentRow();
    if (row < 0 || !QAccessible::isActive())
        return;
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(row);
    QAccessible::updateAccessibility(&event);
}

void FileListView::announceChange(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                                  const QList<int> &roles)
{
    if (!QAccessible::isActive() || topLeft != bottomRight)
        return;
    // A tick or an enabled state is a state change of the file's item, a new
    // cell text a change of its name.
    const int row = FileListModel::rowOf(topLeft);
    if (roles.contains(Qt::AccessibleTextRole)) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        event.setChild(row);
        QAccessible::updateAccessibility(&event);
        return;
    }
    QAccessible::State changed;
    changed.checked = roles.contains(Qt::CheckStateRole);
    changed.disabled = roles.contains(FileListModel::CheckEnabledRole);
    QAccessibleStateChangeEvent event(this, changed);
    event.setChild(row);
    QAccessible::updateAccessibility(&event);
}

QRect FileListView::cellRect(int row, const FileListColumn &column) const
{
    const QModelIndex index = m_model.indexOfRow(row);
    if (!index.isValid())
        return QRect();
    // The view does not scroll sideways, so the designed Left is the viewport's x.
    return QRect(Twips::toPixels(column.leftTwips[row % 2]), rowViewportPosition(index.row()),
                 Twips::toPixels(column.widthTwips), Twips::toPixels(cellHeight));
}
