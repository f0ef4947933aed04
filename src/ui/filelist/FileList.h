// SPDX-License-Identifier: MIT
#pragma once

#include "ui/filelist/FileListModel.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>

class QScrollBar;
class QWidget;
class FileListView;

// One cell control array of the list: its name, its Left in the left and in
// the right column, and its width, in twips.
struct FileListColumn
{
    QString name;
    int leftTwips[2] = {0, 0};
    int widthTwips = 0;
};

// Where the list sits in its frame, in twips.
struct FileListGeometry
{
    QRect viewportTwips;            // the viewport inside the measurement frame
    int panelDesignHeightTwips = 0; // the row panel's height before any row is created
};

// The scrolled two-column list of a meter window's file slots. Every row has a
// check box captioned with its file number and a label per data cell.
//
// The rows live in a FileListModel; one item view (FileListView, object name
// "lstFiles", inside the viewport) paints them in the designed cells and takes the
// keyboard, the mouse and the accessibility actions. What the design knows as
// the check box checkFileNo(i) and the labels of row i is file row i of that
// view: no widget exists per row. The scroll bar stands beside the viewport as
// designed and scrolls by whole lines: its range is in lines, its page the
// lines that fit the view.
class FileList : public QObject
{
    Q_OBJECT

public:
    // Creates the viewport (holding the view) and the scroll bar inside `frame`.
    FileList(QWidget *frame, const FileListGeometry &geometry, const FileListColumn &checkColumn,
             const QList<FileListColumn> &labelColumns, QObject *parent = nullptr);
    ~FileList() override;

    // Row creation: makes rows 2 to fileCount - 1 and fits the panel around them.
    void createRows(int fileCount);
    // Scroll set-up: a scroll bar only above forty files; the list shows its first line.
    void setupScroll();

    int fileCount() const { return m_fileCount; }
    int rowCount() const { return m_model.fileRows(); } // rows that exist, at least 2
    int columnCount() const { return m_model.cellColumns(); } // label cells per row

    QString checkCaption(int row) const { return m_model.checkCaption(row); }
    // Column 0 is the first label after the check box.
    QString cellText(int row, int column) const { return m_model.cellText(row, column); }
    void setCellText(int row, int column, const QString &text);

    bool isTicked(int row) const { return m_model.isTicked(row); }
    void setTicked(int row, bool ticked); // ignored for a disabled row
    bool isCheckEnabled(int row) const { return m_model.isEnabled(row); }
    void setCheckEnabled(int row, bool enabled);

    void setFileState(int row, FileListModel::FileState state) { m_model.setFileState(row, state); }

    // What a screen reader says for the row.
    QString spokenText(int row) const { return m_model.spokenText(row); }
    // Named to assistive tools as the description of every file.
    void setColumnHeadings(const QStringList &headings);

    void selectAll();
    void unselectAll();
    // Scrolls the view to the scroll bar's line.
    void onScrolled(int line);

    QScrollBar *scrollBar() const { return m_scrollBar; }
    QWidget *viewport() const { return m_viewport; }
    FileListView *view() const { return m_view; }
    FileListModel &model() { return m_model; }

    // The file the keyboard is on, -1 before there is one.
    int currentRow() const;
    void setCurrentRow(int row);
    // The first line in view, and the lines a page holds.
    int topLine() const;
    int pageLines() const;
    // Where the row's check box and label cells are painted, in the view's viewport pixels.
    QRect checkCellRect(int row) const;
    QRect labelCellRect(int row, int column) const;
    bool isRowOnScreen(int row) const;

    // Geometry in twips.
    int panelHeightTwips() const { return m_panelHeight; }
    int rowTopTwips(int row) const;
    int checkLeftTwips(int row) const;
    int rowLeftTwips(int row, int column) const; // column as in cellText
    QRect scrollBarTwips() const { return m_scrollBarTwips; }
    bool isScrollBarShown() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitView();
    void followView();

    FileListGeometry m_geometry;
    FileListColumn m_checkColumn;
    QList<FileListColumn> m_labelColumns;
    FileListModel m_model;
    int m_fileCount = 0;
    int m_panelHeight;    // twips
    QRect m_scrollBarTwips;
    QWidget *m_viewport;
    FileListView *m_view;
    QScrollBar *m_scrollBar;
    // The list's widgets go with it: the view paints from m_model.
    QPointer<QWidget> m_ownViewport;
    QPointer<QScrollBar> m_ownScrollBar;
};
