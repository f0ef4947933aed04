// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/ExportColumns.h"
#include "protocol/MeterFiles.h"

#include "ui/ScreenFont.h"
#include "ui/filelist/FileList.h"

#include <QGroupBox>
#include <QList>
#include <QRect>
#include <QStringList>
#include <functional>
#include <memory>

class ClickLabel;
class QPushButton;
class SaveDialog;
class UserDialogs;

// What one family's measurement view looks like and exports. All positions are in twips.
struct MeasurementViewDesign
{
    static constexpr int height = 7935;

    QString caption;
    int width = 0;
    QRect viewport; // the list's viewport inside the frame
    FileListColumn checkColumn;
    QList<FileListColumn> labelColumns;
    struct Heading
    {
        QString text;
        QRect place;
    };
    QList<Heading> headings;        // above both list columns, in creation order
    QStringList spokenHeadings;     // the column headings assistive tools name
    int blankFirstRightColumn = -1; // a label column of the right-hand design row that starts blank
    int exportButtonLeft = 0;       // before the loaded window centres it
    FamilyColumns columns; // the export's headings and cells
};

// The export's headings and cells, and the blank design cell, of the family.
void setExportColumns(MeasurementViewDesign &design, const FamilyColumns &columns);

// The frame of every meter window that lists the meter's measurement files:
// headings, the ticked two-column list, Select All / Unselect All and the
// Download button that exports the ticked files to an HTML table. Its
// objectName() is "Frame2".
class MeasurementView : public QGroupBox
{
    Q_OBJECT
public:
    MeasurementView(MeasurementViewDesign design, SaveDialog &saveDialog, UserDialogs &dialogs, QWidget *parent);
    ~MeasurementView() override;

    // Every text the view can come to show, in the room the design gives it,
    // with `longestTexts` for the label columns (the fit check).
    static QList<TextRoom> textRooms(const MeasurementViewDesign &design, const QList<QStringList> &longestTexts);

    FileList &list() { return *m_list; }
    // The files the list shows: what every export is made from.
    MeterFiles &files() { return m_files; }
    QSize sizeTwips() const { return QSize(m_design.width, MeasurementViewDesign::height); }

    // Puts Download in the middle of the frame, as the loaded window shows it.
    void centreExportButton();
    // Where the keyboard starts in the view: the scroll bar when `window` shows
    // one, else the first file, else Download, else `fallback`.
    QWidget *firstFocus(QWidget *window, QWidget *fallback) const;

public slots:
    void selectAll();
    void unselectAll();
    void exportTicked();

private:
    void addLinks();
    void addExportButton();

    MeasurementViewDesign m_design;
    SaveDialog &m_saveDialog;
    UserDialogs &m_dialogs;
    MeterFiles m_files;
    std::unique_ptr<FileList> m_list;
    QPushButton *m_exportButton = nullptr;
    ClickLabel *m_selectAllLink = nullptr;
    ClickLabel *m_unselectAllLink = nullptr;
};
