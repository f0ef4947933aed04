// SPDX-License-Identifier: MIT
#pragma once

#include "link/Exchange.h"
#include "protocol/RecordCells.h"
#include "ui/MeterStartup.h"
#include "ui/MeterWindow.h"
#include "ui/SaveDialog.h"
#include "ui/filelist/FileList.h"

#include <QRect>
#include <functional>
#include <memory>

class QGroupBox;
class QLabel;
class QPushButton;
class ClickLabel;

// How one family's list window looks and talks: the contact and ratio meters
// and the cable meter share the mechanism and differ only in this.
struct FileListWindowDesign
{
    const char *windowName;          // "frmCRM", "frmTRM", "frmCABLE_RM"
    MeterKind kind;
    QString frameCaption; // caption of the measurement frame
    int frameWidth = 0;   // twips; the frame is 7935 high
    QRect viewport;       // the list's viewport inside the frame, twips
    FileListColumn checkColumn;
    QList<FileListColumn> labelColumns;
    struct Heading
    {
        QString text;
        int left[2];
        int width;
    };
    QList<Heading> headings;         // at Top 480, 435 high, above each column

    QByteArray countRequest;         // "{03}" or "{01}"
    QString countFailure;            // the "Fatal Error" text
    std::function<QByteArray(int index)> recordRequest;
    ReplyRule recordRule;
    std::function<RecordCells(const QByteArray &reply)> decodeRecord;

    QStringList exportHeadings;
    // The export's cells of a row from the row's on-screen texts (check box
    // caption first, then the labels in screen order).
    std::function<QStringList(const QStringList &screenCells)> exportCells;
};

// A meter window made of one scrolled, ticked file list with its export.
class FileListWindow : public MeterWindow
{
    Q_OBJECT
public:
    FileListWindow(const MeterWindowContext &context, FileListWindowDesign design);
    ~FileListWindow() override;

    MeterKind kind() const override { return m_design.kind; }
    void load() override;

    MeterStartup::LoadStep fetchRecord(int index);

    int fileCount() const { return m_fileCount; }
    FileList &list() { return *m_list; }
    SaveDialog &saveDialog() { return m_saveDialog; }

    // The window's outer size in twips, as laid out at the end of the start-up.
    QSize windowSizeTwips() const { return m_windowTwips; }

public slots:
    void exitProgram();
    void exportTicked();
    void selectAll();
    void unselectAll();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void keepKeyboardAfterFailure();
    QWidget *firstFocus();
    void buildControls();
    void layOutLoadedWindow();
    QStringList screenCells(int row) const;

    FileListWindowDesign m_design;
    const ProgramState &m_state;
    UserDialogs &m_dialogs;
    std::function<void(const QString &)> m_progress;
    std::unique_ptr<SerialLink> m_port;
    std::unique_ptr<Exchange> m_exchange;
    std::unique_ptr<FileList> m_list;
    int m_fileCount = 0;
    bool m_loaded = false;
    QSize m_windowTwips;
    SaveDialog m_saveDialog;

    QGroupBox *m_measurementFrame = nullptr;
    QPushButton *m_exitButton = nullptr;
    QPushButton *m_exportButton = nullptr;
    ClickLabel *m_selectAllLink = nullptr;
    ClickLabel *m_unselectAllLink = nullptr;
};
