// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

#include <vector>

// What each row of a file list holds: its tick, whether the tick may change
// (an empty slot's check box is disabled) and the text of every label cell.
// The rows outlive the few widgets that show them, so this is the only copy.
class FileListModel
{
public:
    // Text of a label cell that no record has filled.
    static QString emptyCellText() { return QStringLiteral("  ---"); }

    explicit FileListModel(int columnCount);

    // Grows or shrinks to `rowCount` rows; rows that already exist keep their state,
    // new rows are clear, enabled and show emptyCellText().
    void resize(int rowCount);

    int rowCount() const { return int(m_rows.size()); }
    int columnCount() const { return m_columnCount; }
    bool hasRow(int row) const { return row >= 0 && row < rowCount(); }

    // The file number the user sees, 1-based; empty for a row that does not exist.
    QString checkCaption(int row) const;

    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString &text);

    bool isTicked(int row) const;
    // Returns false (and changes nothing) for a disabled or missing row.
    bool setTicked(int row, bool ticked);

    bool isEnabled(int row) const;
    void setEnabled(int row, bool enabled);

private:
    struct RowState
    {
        bool ticked = false;
        bool enabled = true;
    };

    bool hasCell(int row, int column) const;

    int m_columnCount;
    std::vector<RowState> m_rows;
    QList<QString> m_cells; // row-major, m_columnCount texts per row
};
