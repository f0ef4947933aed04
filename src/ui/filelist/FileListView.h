// SPDX-License-Identifier: MIT
#pragma once

#include "ui/filelist/FileList.h"

#include <QTableView>

class FileListModel;

// The list's one keyboard stop: every file of the list as an item, two to a
// line in screen order (files 1 and 2 on the first line, 3 and 4 on the
// second...). The items are painted in the designed cells by a delegate, so
// no widget exists per row; ticks go straight to the model.
//
// Keys: Left/Right step one file in screen order, Up/Down one line, Page
// Up/Down a page of lines, Home/End the first and the last file; Space ticks
// the current file. Scrolling (wheel, scroll bar) never changes the current
// file, and the view scrolls to keep the current file in sight.
class FileListView : public QTableView
{
    Q_OBJECT

public:
    FileListView(FileListModel &model, const FileListColumn &checkColumn,
                 const QList<FileListColumn> &labelColumns, QWidget *parent);

    FileListModel &fileModel() const { return m_model; }

    int currentRow() const;
    void setCurrentRow(int row);
    // Lines that fit the view whole.
    int pageLines() const;
    int topLine() const;

    // Where a row's cells are painted, in the viewport's pixels.
    QRect checkCellRect(int row) const;
    QRect labelCellRect(int row, int column) const;
    // The whole file, check box to last cell, in the viewport's pixels.
    QRect fileRect(int row) const;
    // Whether any part of the row is inside the viewport.
    bool isRowOnScreen(int row) const;

    // Typed text does not move the current file: a search by the file
    // number would only look through the current file's column.
    void keyboardSearch(const QString &search) override;
    // The current file is the part of the list a scrolled window shows.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    // Lays the lines out at once rather than when the view is next shown.
    void layOutNow();
    // Lays the two columns out for the view's current width.
    void fitColumns();

signals:
    // The range or page of the view's own (hidden) scroll bar changed.
    void scrollGeometryChanged();

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void focusInEvent(QFocusEvent *event) override;
    void updateGeometries() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void announceCurrent();
    QRect cellRect(int row, const FileListColumn &column) const;
    void announceChange(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles);

    FileListModel &m_model;
    FileListColumn m_checkColumn;
    QList<FileListColumn> m_labelColumns;
};
