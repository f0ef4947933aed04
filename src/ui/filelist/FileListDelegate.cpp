// SPDX-License-Identifier: MIT
#include "ui/filelist/FileListDelegate.h"

#include "ui/PlainText.h"
#include "ui/Twips.h"
#include "ui/filelist/FileListModel.h"
#include "ui/filelist/FileListView.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

#include <algorithm>
#include <cmath>

namespace {

// The current file's frame: a pixel at the design's scale.
constexpr int frameTwips = 15;

} // namespace

FileListDelegate::FileListDelegate(FileListView *view)
    : QStyledItemDelegate(view)
    , m_view(view)
{
}

void FileListDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const FileListModel &model = m_view->fileModel();
    const int row = FileListModel::rowOf(index);
    if (!model.hasRow(row))
        return;
    QStyle *style = m_view->style();
    painter->save();
    painter->setFont(option.font);

    // The check box as a QCheckBox of the cell's size would draw itself.
    QStyleOptionButton box;
    box.initFrom(m_view);
    box.rect = m_view->checkCellRect(row);
    box.text = model.checkCaption(row);
    box.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver | QStyle::State_Enabled);
    box.state |= model.isTicked(row) ? QStyle::State_On : QStyle::State_Off;
    if (model.isEnabled(row))
        box.state |= QStyle::State_Enabled;
    else
        box.palette.setCurrentColorGroup(QPalette::Disabled); // greyed like a disabled check box
    // The current file shows while the list has the focus, from the first
    // key on: styles that keep focus frames for after a Tab are told it came
    // by keyboard.
    const bool current = option.state & QStyle::State_HasFocus;
    if (current)
        box.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
    style->drawControl(QStyle::CE_CheckBox, &box, painter, m_view);

    // The cells as labels show them: plain text from the top left.
    for (int column = 0; column < model.cellColumns(); ++column)
        drawCell(painter, option, m_view->labelCellRect(row, column), PlainText::shown(model.cellText(row, column)));
    if (current)
        drawCurrentFrame(painter, option, row);
    painter->restore();
}

void FileListDelegate::drawCell(QPainter *painter, const QStyleOptionViewItem &option, const QRect &cell,
                                const QString &text) const
{
    // The layout is wide enough for what a record holds; a text wider than
    // its cell (a field out of its range) is drawn narrower rather than cut.
    // Blanks the meter pads a field with take no room on screen.
    qsizetype shown = text.size();
    while (shown > 0 && text.at(shown - 1).isSpace())
        --shown;
    const qreal advance = QFontMetricsF(painter->font()).horizontalAdvance(text.left(shown));
    if (advance <= cell.width() || cell.width() <= 0) {
        m_view->style()->drawItemText(painter, cell, Qt::AlignLeft | Qt::AlignTop, option.palette, true, text,
                                      QPalette::WindowText);
        return;
    }
    painter->save();
    painter->translate(cell.left(), 0);
    painter->scale(cell.width() / advance, 1.0);
    m_view->style()->drawItemText(painter, QRect(0, cell.top(), int(std::ceil(advance)), cell.height()),
                                  Qt::AlignLeft | Qt::AlignTop, option.palette, true, text, QPalette::WindowText);
    painter->restore();
}

void FileListDelegate::drawCurrentFrame(QPainter *painter, const QStyleOptionViewItem &option, int row) const
{
    // Some styles draw no focus frame around a check box, or a faint one: a
    // frame in the highlight colour around the whole file shows in every style.
    const QRect file = m_view->fileRect(row);
    const int width = std::max(1, Twips::toPixels(frameTwips));
    const QRect frame = file.adjusted(-width, -width, width, width).intersected(option.rect);
    painter->setPen(Qt::NoPen);
    painter->setBrush(option.palette.color(QPalette::Active, QPalette::Highlight));
    const QRegion ring = QRegion(frame).subtracted(QRegion(frame.adjusted(width, width, -width, -width)));
    for (const QRect &part : ring)
        painter->drawRect(part);
}

QSize FileListDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    Q_UNUSED(index);
    return option.rect.size();
}

bool FileListDelegate::editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                                   const QModelIndex &index)
{
    Q_UNUSED(option);
    const int row = FileListModel::rowOf(index);
    const auto toggle = [&] {
        const bool ticked = index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
        model->setData(index, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
    };
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease: {
        // Like the design's check box: its whole cell takes the click, which
        // counts on release (the view passes the release only over the pressed file).
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton || !m_view->checkCellRect(row).contains(mouse->position().toPoint()))
            return false;
        // The press goes on to the view, which makes the file current.
        if (event->type() == QEvent::MouseButtonPress)
            return false;
        // The second click of a double click comes as a double click, and the
        // view passes no release after it: each click toggles, as a check box does.
        toggle();
        return true;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key != Qt::Key_Space && key != Qt::Key_Select)
            return false;
        toggle(); // the view sends keys for its current file only
        return true;
    }
    default:
        return false;
    }
}
