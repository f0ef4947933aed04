// SPDX-License-Identifier: MIT
#pragma once

#include <QStyledItemDelegate>

class FileListView;

// Paints one file of the list as the design lays out a row: a check box
// captioned with the file number, then the label cells, each in its twip box;
// and takes the tick from a click anywhere in the check box's cell or from
// Space on the current file.
class FileListDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit FileListDelegate(FileListView *view);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

private:
    void drawCell(QPainter *painter, const QStyleOptionViewItem &option, const QRect &cell, const QString &text) const;
    void drawCurrentFrame(QPainter *painter, const QStyleOptionViewItem &option, int row) const;

    FileListView *m_view;
};
