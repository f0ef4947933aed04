// SPDX-License-Identifier: MIT
#include "windows/filelist/FileListRowPool.h"

#include "windows/PlainText.h"
#include "windows/Twips.h"
#include "windows/filelist/FileListLayout.h"
#include "windows/filelist/FileListModel.h"

#include <QCheckBox>
#include <QLabel>
#include <QWidget>

#include <algorithm>
#include <cmath>

using namespace FileListLayout;

namespace {

// Lines that can be partly inside a viewport this high, plus one for rounding.
int poolSizeFor(int viewportHeightTwips)
{
    return std::max(0, viewportHeightTwips + cellHeight) / rowPitch + 2;
}

// A row's check box: the whole cell the design gives it takes the click, not
// only the box and its caption.
class RowCheckBox : public QCheckBox
{
public:
    using QCheckBox::QCheckBox;

protected:
    bool hitButton(const QPoint &pos) const override { return rect().contains(pos); }
};

} // namespace

FileListRowPool::FileListRowPool(QWidget *viewport, const FileListColumn &checkColumn,
                                 const QList<FileListColumn> &labelColumns, FileListModel &model)
    : m_viewport(viewport)
    , m_checkColumn(checkColumn)
    , m_labelColumns(labelColumns)
    , m_model(model)
{
    m_lines.resize(size_t(poolSizeFor(Twips::fromPixels(viewport->height()))));
}

FileListRowPool::~FileListRowPool() = default;

void FileListRowPool::place(double panelTopTwips)
{
    m_panelTop = panelTopTwips;
    const int viewportHeight = Twips::fromPixels(m_viewport->height());
    const int lineCount = (m_model.rowCount() + 1) / 2;
    const int poolSize = int(m_lines.size());

    // Line L is on screen while panelTop + rowTop(2L) lies in (-cellHeight, viewportHeight).
    const int firstLine = std::max(
        0, int(std::floor((-panelTopTwips - firstRowTop - cellHeight) / rowPitch)) + 1);
    const int lastLine = std::min(
        lineCount - 1, int(std::ceil((viewportHeight - panelTopTwips - firstRowTop) / rowPitch)) - 1);

    for (int index = 0; index < poolSize; ++index) {
        const int lineIndex = firstLine + (index - firstLine % poolSize + poolSize) % poolSize;
        if (lineIndex > lastLine) {
            if (m_lines[size_t(index)])
                m_lines[size_t(index)]->widget->hide();
            continue;
        }
        Line &line = slot(index);
        if (line.shownLine != lineIndex)
            fill(line, lineIndex);
        line.widget->move(0, Twips::toPixels(panelTopTwips + rowTop(2 * lineIndex)));
        line.widget->show();
    }
}

void FileListRowPool::refill()
{
    for (const auto &line : m_lines) {
        if (line)
            line->shownLine = -1;
    }
    place(m_panelTop);
}

void FileListRowPool::refillRow(int row)
{
    for (const auto &line : m_lines) {
        if (line && line->shownLine == row / 2 && row >= 0)
            fillRow(line->rows[row % 2], row);
    }
}

QCheckBox *FileListRowPool::checkBox(int row) const
{
    const Line *line = lineShowing(row);
    return line ? line->rows[row % 2].check : nullptr;
}

QLabel *FileListRowPool::label(int row, int column) const
{
    const Line *line = lineShowing(row);
    if (!line || column < 0 || column >= m_labelColumns.size())
        return nullptr;
    return line->rows[row % 2].labels.at(column);
}

FileListRowPool::Line &FileListRowPool::slot(int index)
{
    std::unique_ptr<Line> &line = m_lines[size_t(index)];
    if (!line) {
        line = std::make_unique<Line>();
        createCells(*line, index);
    }
    return *line;
}

void FileListRowPool::createCells(Line &line, int index)
{
    // A line widget spans the viewport and is one cell high; it moves as a whole.
    line.widget = new QWidget(m_viewport);
    line.widget->resize(m_viewport->width(), Twips::toPixels(cellHeight));
    for (int side = 0; side < 2; ++side) {
        RowCells &cells = line.rows[side];
        cells.check = new RowCheckBox(line.widget);
        cells.check->setObjectName(m_checkColumn.name);
        cells.check->setGeometry(
            Twips::rect(m_checkColumn.leftTwips[side], 0, m_checkColumn.widthTwips, cellHeight));
        QObject::connect(cells.check, &QCheckBox::clicked, cells.check,
                         [this, index, side](bool checked) { onCheckClicked(index, side, checked); });
        for (const FileListColumn &column : m_labelColumns) {
            auto *label = new QLabel(line.widget);
            label->setObjectName(column.name);
            label->setTextFormat(Qt::PlainText); // cells hold text sent by the meter
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setGeometry(Twips::rect(column.leftTwips[side], 0, column.widthTwips, cellHeight));
            cells.labels.append(label);
        }
    }
}

void FileListRowPool::fill(Line &line, int lineIndex)
{
    line.shownLine = lineIndex;
    for (int side = 0; side < 2; ++side)
        fillRow(line.rows[side], 2 * lineIndex + side);
}

void FileListRowPool::fillRow(RowCells &cells, int row)
{
    const bool exists = m_model.hasRow(row);
    cells.check->setVisible(exists);
    for (QLabel *label : std::as_const(cells.labels))
        label->setVisible(exists);
    if (!exists)
        return;

    cells.check->setText(m_model.checkCaption(row));
    cells.check->setChecked(m_model.isTicked(row));
    cells.check->setEnabled(m_model.isEnabled(row));
    for (int column = 0; column < cells.labels.size(); ++column)
        cells.labels[column]->setText(PlainText::shown(m_model.cellText(row, column)));
}

void FileListRowPool::onCheckClicked(int slotIndex, int side, bool checked)
{
    const Line &line = *m_lines[size_t(slotIndex)];
    const int row = 2 * line.shownLine + side;
    // The model has the last word: a row it refuses to tick shows its old value again.
    if (!m_model.setTicked(row, checked))
        line.rows[side].check->setChecked(m_model.isTicked(row));
}

const FileListRowPool::Line *FileListRowPool::lineShowing(int row) const
{
    if (!m_model.hasRow(row))
        return nullptr;
    for (const auto &line : m_lines) {
        if (line && line->shownLine == row / 2 && !line->widget->isHidden())
            return line.get();
    }
    return nullptr;
}
