// SPDX-License-Identifier: MIT
#pragma once

#include "link/Exchange.h"
#include "ui/MeasurementView.h"
#include "ui/MeterStartup.h"
#include "ui/MeterWindow.h"
#include "ui/SaveDialog.h"
#include "ui/filelist/FileList.h"

#include <QRect>
#include <functional>
#include <memory>

class QPushButton;

// How one family's list window looks and talks: the contact and ratio meters
// and the cable meter share the mechanism and differ only in this.
struct FileListWindowDesign
{
    const char *windowName;          // "frmCRM", "frmTRM", "frmCABLE_RM"
    MeterFamily family;
    MeasurementViewDesign view;
};

// A heading above both columns of a list window: its Left in the left and in
// the right column and its width, in twips.
struct ListHeading
{
    QString text;
    int left[2];
    int width;
};
// Puts the headings at Top 480, 435 high, above each column; assistive tools name them too.
void setListHeadings(MeasurementViewDesign &view, const QList<ListHeading> &headings);

// A meter window made of one scrolled, ticked file list with its export.
class FileListWindow : public MeterWindow
{
    Q_OBJECT
public:
    FileListWindow(const MeterWindowContext &context, FileListWindowDesign design);
    ~FileListWindow() override;

    // Every text a window of that design can come to show, in its room.
    static QList<TextRoom> textRooms(const FileListWindowDesign &design, const QLocale &locale);

    MeterFamily family() const override { return m_design.family; }

    int fileCount() const { return m_fileCount; }
    FileList &list() { return m_view->list(); }
    MeasurementView *measurementView() override { return m_view; }
    SaveDialog &saveDialog() { return m_saveDialog; }

    // The window's outer size in twips, as laid out at the end of the start-up.
    QSize windowSizeTwips() const { return m_windowTwips; }

protected:
    void loadFiles() override;
    void showEvent(QShowEvent *event) override;

private:
    void keepKeyboardAfterFailure();
    QWidget *firstFocus();
    void buildControls();
    void layOutLoadedWindow();

    FileListWindowDesign m_design;
    int m_fileCount = 0;
    bool m_loaded = false;
    QSize m_windowTwips;
    SaveDialog m_saveDialog;

    MeasurementView *m_view = nullptr;
    QPushButton *m_exitButton = nullptr;
};
