// SPDX-License-Identifier: MIT
#include "ui/filelist/FileListModel.h"

#include "ui/PlainText.h"

#include <algorithm>

namespace {

constexpr int itemsPerLine = 2;

int linesFor(int rows)
{
    return (rows + itemsPerLine - 1) / itemsPerLine;
}

} // namespace

FileListModel::FileListModel(int cellColumns, QObject *parent)
    : QAbstractTableModel(parent)
    , m_cellColumns(std::max(0, cellColumns))
{
}

void FileListModel::resize(int rows)
{
    rows = std::max(0, rows);
    if (rows == fileRows())
        return;
    // Rows are made once, at load, so a reset is the simplest honest signal.
    beginResetModel();
    m_rows.resize(size_t(rows));
    // Every new cell shares the one "  ---" string, so thousands of rows cost little.
    const QString empty = emptyCellText();
    m_cells.resize(qsizetype(rows) * m_cellColumns, empty);
    endResetModel();
}

QString FileListModel::checkCaption(int row) const
{
    return hasRow(row) ? QString::number(row + 1) : QString();
}

QString FileListModel::cellText(int row, int column) const
{
    return hasCell(row, column) ? m_cells.at(qsizetype(row) * m_cellColumns + column) : QString();
}

void FileListModel::setCellText(int row, int column, const QString &text)
{
    if (!hasCell(row, column))
        return;
    m_cells[qsizetype(row) * m_cellColumns + column] = text;
    rowChanged(row, {Qt::AccessibleTextRole});
}

bool FileListModel::isTicked(int row) const
{
    return hasRow(row) && m_rows[size_t(row)].ticked;
}

bool FileListModel::setTicked(int row, bool ticked)
{
    if (!hasRow(row) || !m_rows[size_t(row)].enabled)
        return false;
    if (m_rows[size_t(row)].ticked != ticked) {
        m_rows[size_t(row)].ticked = ticked;
        rowChanged(row, {Qt::CheckStateRole});
    }
    return true;
}

bool FileListModel::toggle(int row)
{
    return setTicked(row, !isTicked(row));
}

void FileListModel::setAllTicks(int rowLimit, bool ticked)
{
    const int limit = std::min(rowLimit, fileRows());
    for (int row = 0; row < limit; ++row) {
        if (m_rows[size_t(row)].enabled)
            m_rows[size_t(row)].ticked = ticked;
    }
    if (limit > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::CheckStateRole});
}

bool FileListModel::isEnabled(int row) const
{
    return hasRow(row) && m_rows[size_t(row)].enabled;
}

void FileListModel::setEnabled(int row, bool enabled)
{
    if (!hasRow(row) || m_rows[size_t(row)].enabled == enabled)
        return;
    m_rows[size_t(row)].enabled = enabled;
    rowChanged(row, {CheckEnabledRole});
}

FileListModel::FileState FileListModel::fileState(int row) const
{
    return hasRow(row) ? m_rows[size_t(row)].fileState : FileState::NotRead;
}

void FileListModel::setFileState(int row, FileState state)
{
    if (!hasRow(row) || m_rows[size_t(row)].fileState == state)
        return;
    m_rows[size_t(row)].fileState = state;
    rowChanged(row, {Qt::AccessibleTextRole});
}

QString FileListModel::spokenText(int row) const
{
    if (!hasRow(row))
        return QString();
    const QString file = QStringLiteral("File %1").arg(row + 1);
    switch (fileState(row)) {
    case FileState::NotRead:
        return file + QStringLiteral(": not read");
    case FileState::Empty:
        return file + QStringLiteral(": empty");
    case FileState::Read:
        break;
    }
    // The cells as shown, without the padding the meter sends; the list's
    // placeholder in a read file is a value the record lacks.
    QStringList parts;
    for (int column = 0; column < m_cellColumns; ++column) {
        const QString text = cellText(row, column);
        if (text == emptyCellText())
            parts << QStringLiteral("no value");
        else if (const QString shown = PlainText::shown(text).trimmed(); !shown.isEmpty())
            parts << shown;
    }
    return parts.isEmpty() ? file : file + QStringLiteral(": ") + parts.join(QStringLiteral(", "));
}

QModelIndex FileListModel::indexOfRow(int row) const
{
    return hasRow(row) ? index(row / itemsPerLine, row % itemsPerLine) : QModelIndex();
}

int FileListModel::rowOf(const QModelIndex &index)
{
    if (!index.isValid())
        return -1;
    return index.row() * itemsPerLine + index.column();
}

int FileListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : linesFor(fileRows());
}

int FileListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : itemsPerLine;
}

QVariant FileListModel::data(const QModelIndex &index, int role) const
{
    const int row = rowOf(index);
    if (!hasRow(row))
        return role == FileRowRole ? QVariant(-1) : QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return checkCaption(row); // typing a file number finds it
    case Qt::AccessibleTextRole:
        return spokenText(row);
    case Qt::CheckStateRole:
        return isTicked(row) ? Qt::Checked : Qt::Unchecked;
    case FileRowRole:
        return row;
    case CheckEnabledRole:
        return isEnabled(row);
    default:
        return QVariant();
    }
}

bool FileListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole)
        return false;
    return setTicked(rowOf(index), value.value<Qt::CheckState>() == Qt::Checked);
}

Qt::ItemFlags FileListModel::flags(const QModelIndex &index) const
{
    const int row = rowOf(index);
    if (!hasRow(row))
        return Qt::NoItemFlags;
    // An empty slot stays reachable (and readable) but cannot be ticked.
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    if (isEnabled(row))
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool FileListModel::hasCell(int row, int column) const
{
    return hasRow(row) && column >= 0 && column < m_cellColumns;
}

void FileListModel::rowChanged(int row, const QList<int> &roles)
{
    const QModelIndex item = indexOfRow(row);
    emit dataChanged(item, item, roles);
}
