// SPDX-License-Identifier: MIT
#pragma once

#include "windows/filelist/FileListModel.h"

#include <QList>
#include <QObject>
#include <QRect>
#include <QString>

#include <memory>

class QCheckBox;
class QLabel;
class QScrollBar;
class QWidget;
class FileListRowPool;

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
    QRect viewportTwips;            // Frame4 inside Frame2
    int panelDesignHeightTwips = 0; // Frame3's height before any row is created
};

// The scrolled two-column list of a meter window's file slots. Every row has a
// check box captioned with its file number and a label per data cell.
//
// The rows live in a FileListModel; only the lines inside the viewport are
// shown, by a small pool of real check boxes and labels that are re-filled as
// the list scrolls. Frame3, the panel that holds all rows, is therefore only a
// Top and a Height here.
class FileList : public QObject
{
    Q_OBJECT

public:
    // Creates Frame4 (the viewport) and VScroll1 inside `frame2`.
    FileList(QWidget *frame2, const FileListGeometry &geometry, const FileListColumn &checkColumn,
             const QList<FileListColumn> &labelColumns, QObject *parent = nullptr);
    ~FileList() override;

    // Row creation: makes rows 2 to fileCount - 1 and fits the panel around them.
    void createRows(int fileCount);
    // Scroll set-up: a scroll bar only above forty files; the panel goes to Top 120.
    void setupScroll();

    int fileCount() const { return m_fileCount; }
    int rowCount() const { return m_model.rowCount(); } // rows that exist, at least 2
    int columnCount() const { return m_model.columnCount(); } // label cells per row

    QString checkCaption(int row) const { return m_model.checkCaption(row); }
    // Column 0 is the first label after the check box.
    QString cellText(int row, int column) const { return m_model.cellText(row, column); }
    void setCellText(int row, int column, const QString &text);

    bool isTicked(int row) const { return m_model.isTicked(row); }
    void setTicked(int row, bool ticked); // ignored for a disabled row
    bool isCheckEnabled(int row) const { return m_model.isEnabled(row); }
    void setCheckEnabled(int row, bool enabled);

    void lblSelectAll_Click();
    void lblUnselectAll_Click();
    // Moves the panel so that the scroll bar's maximum puts its bottom on the viewport's bottom.
    void VScroll1_Change();

    QScrollBar *VScroll1() const { return m_scrollBar; }
    QWidget *Frame4() const { return m_viewport; }

    // Geometry in twips.
    int panelTopTwips() const;
    int panelHeightTwips() const { return m_panelHeight; }
    int rowTopTwips(int row) const;
    int checkLeftTwips(int row) const;
    int rowLeftTwips(int row, int column) const; // column as in cellText
    QRect scrollBarTwips() const { return m_scrollBarTwips; }
    bool isScrollBarShown() const;

    // The pooled widgets showing `row`; nullptr when the row is not on screen.
    QCheckBox *visibleCheckBox(int row) const;
    QLabel *visibleLabel(int row, int column) const;

private:
    void setAllTicks(bool ticked);
    void showPanel();

    FileListGeometry m_geometry;
    FileListColumn m_checkColumn;
    QList<FileListColumn> m_labelColumns;
    FileListModel m_model;
    int m_fileCount = 0;
    float m_panelTop;     // twips; single precision, as the scroll arithmetic is
    int m_panelHeight;    // twips
    QRect m_scrollBarTwips;
    QWidget *m_viewport;
    QScrollBar *m_scrollBar;
    std::unique_ptr<FileListRowPool> m_pool;
};
