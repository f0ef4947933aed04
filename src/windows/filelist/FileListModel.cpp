// SPDX-License-Identifier: MIT
#include "windows/filelist/FileListModel.h"

#include <algorithm>

FileListModel::FileListModel(int columnCount)
    : m_columnCount(std::max(0, columnCount))
{
}

void FileListModel::resize(int rowCount)
{
    rowCount = std::max(0, rowCount);
    m_rows.resize(size_t(rowCount));
    // Every new cell shares the one "  ---" string, so thousands of rows cost little.
    const QString empty = emptyCellText();
    m_cells.resize(qsizetype(rowCount) * m_columnCount, empty);
}

QString FileListModel::checkCaption(int row) const
{
    return hasRow(row) ? QString::number(row + 1) : QString();
}

QString FileListModel::cellText(int row, int column) const
{
    return hasCell(row, column) ? m_cells.at(qsizetype(row) * m_columnCount + column) : QString();
}

void FileListModel::setCellText(int row, int column, const QString &text)
{
    if (hasCell(row, column))
        m_cells[qsizetype(row) * m_columnCount + column] = text;
}

bool FileListModel::isTicked(int row) const
{
    return hasRow(row) && m_rows[size_t(row)].ticked;
}

bool FileListModel::setTicked(int row, bool ticked)
{
    if (!hasRow(row) || !m_rows[size_t(row)].enabled)
        return false;
    m_rows[size_t(row)].ticked = ticked;
    return true;
}

bool FileListModel::isEnabled(int row) const
{
    return hasRow(row) && m_rows[size_t(row)].enabled;
}

void FileListModel::setEnabled(int row, bool enabled)
{
    if (hasRow(row))
        m_rows[size_t(row)].enabled = enabled;
}

bool FileListModel::hasCell(int row, int column) const
{
    return hasRow(row) && column >= 0 && column < m_columnCount;
}
