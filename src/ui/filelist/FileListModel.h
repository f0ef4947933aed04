// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/RecordCells.h"

#include <QAbstractTableModel>
#include <QList>
#include <QString>

#include <vector>

// What each file row of a list holds: its tick, whether the tick may change
// (an empty slot's check box is disabled) and the text of every label cell.
// The view paints from it; the window's load writes it from the window's
// MeterFiles, which the export reads.
//
// To the view the model is a table of lines with two items each, as the files
// stand on screen: file row r (0-based) is the item at line r / 2, column
// r % 2. An odd count leaves the last line's right-hand item without a file.
class FileListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Role {
        FileRowRole = Qt::UserRole + 1, // int: the item's file row, -1 where there is none
        CheckEnabledRole,               // bool: whether the tick may change
    };

    // What the meter has told of a file, for what a screen reader says of it.
    enum class FileState {
        NotRead, // no record yet, or its fetch failed: the cells are the list's own
        Read,    // a record filled the cells; "  ---" in one is a value the record lacks
        Empty,   // the meter holds no file in the slot
    };

    // Text of a label cell that no record has filled.
    static QString emptyCellText() { return RecordCells::unfilledText(); }

    explicit FileListModel(int cellColumns, QObject *parent = nullptr);

    // Grows or shrinks to `rows` file rows; rows that already exist keep their
    // state, new rows are clear, enabled and show emptyCellText().
    void resize(int rows);

    int fileRows() const { return int(m_rows.size()); }
    int cellColumns() const { return m_cellColumns; }
    bool hasRow(int row) const { return row >= 0 && row < fileRows(); }

    // The file number the user sees, 1-based; empty for a row that does not exist.
    QString checkCaption(int row) const;

    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString &text);

    bool isTicked(int row) const;
    // Returns false (and changes nothing) for a disabled or missing row.
    bool setTicked(int row, bool ticked);
    // Flips the tick; false for a disabled or missing row.
    bool toggle(int row);
    // Ticks or clears every enabled row below `rowLimit`.
    void setAllTicks(int rowLimit, bool ticked);

    bool isEnabled(int row) const;
    void setEnabled(int row, bool enabled);

    FileState fileState(int row) const;
    void setFileState(int row, FileState state);

    // How a screen reader reads the row: "File 3: " and the shown cells of a
    // read file, "no value" for a placeholder; "File 4: empty"; "File 5: not read".
    QString spokenText(int row) const;

    // Between file rows and the view's items.
    QModelIndex indexOfRow(int row) const;
    static int rowOf(const QModelIndex &index);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    struct RowState
    {
        bool ticked = false;
        bool enabled = true;
        FileState fileState = FileState::NotRead;
    };

    bool hasCell(int row, int column) const;
    void rowChanged(int row, const QList<int> &roles);

    int m_cellColumns;
    std::vector<RowState> m_rows;
    QList<QString> m_cells; // row-major, m_cellColumns texts per row
};
