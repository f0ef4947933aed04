// SPDX-License-Identifier: MIT
#pragma once

#include "windows/filelist/FileList.h"

#include <QList>

#include <memory>
#include <vector>

class QCheckBox;
class QLabel;
class QWidget;
class FileListModel;

// The few real widgets that show the list: one line widget per line that can
// be on screen at once, each with a check box and the labels of two rows.
// Line L always uses pool slot L modulo the pool size, so a row keeps its
// widgets (and the keyboard focus) while it stays in view; a slot is re-filled
// from the model only when it takes over a new line.
class FileListRowPool
{
public:
    FileListRowPool(QWidget *viewport, const FileListColumn &checkColumn,
                    const QList<FileListColumn> &labelColumns, FileListModel &model);
    ~FileListRowPool();

    FileListRowPool(const FileListRowPool &) = delete;
    FileListRowPool &operator=(const FileListRowPool &) = delete;

    // Shows the lines that fall inside the viewport with the panel at this Top.
    void place(double panelTopTwips);
    // Re-reads every shown row, e.g. after rows were created.
    void refill();
    // Re-reads one row if it is shown.
    void refillRow(int row);

    QCheckBox *checkBox(int row) const;
    QLabel *label(int row, int column) const;

private:
    struct RowCells
    {
        QCheckBox *check = nullptr;
        QList<QLabel *> labels;
    };
    struct Line
    {
        QWidget *widget = nullptr;
        RowCells rows[2]; // left column, right column
        int shownLine = -1;
    };

    Line &slot(int index);
    void createCells(Line &line, int index);
    void fill(Line &line, int lineIndex);
    void fillRow(RowCells &cells, int row);
    void onCheckClicked(int slotIndex, int side, bool checked);
    const Line *lineShowing(int row) const;

    QWidget *m_viewport;
    FileListColumn m_checkColumn;
    QList<FileListColumn> m_labelColumns;
    FileListModel &m_model;
    std::vector<std::unique_ptr<Line>> m_lines;
    double m_panelTop = 0;
};
