// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MeterWindow.h"
#include "link/Exchange.h"
#include "ui/CommonDialog.h"
#include "ui/MeterStartup.h"
#include "ui/filelist/FileList.h"

#include <QSize>
#include <array>
#include <memory>

class QGroupBox;
class QLabel;
class QPushButton;
class ClickLabel;

// The window of every winding resistance meter: a menu, the heat-run-test
// view and the measurement view, one shown at a time.
class WindingMeterWindow : public MeterWindow
{
    Q_OBJECT
public:
    static constexpr int heatRunSlots = 8;

    explicit WindingMeterWindow(const MeterWindowContext &context);
    ~WindingMeterWindow() override;

    MeterKind kind() const override { return MeterKind::Winding; }
    void load() override;
    MeterStartup::LoadStep fetchRecord(int index);

    int heatRunCount() const { return m_heatRunCount; }
    int fileCount() const { return m_fileCount; }
    bool shortRecords() const { return m_shortRecords; }
    FileList &list() { return *m_list; }
    CommonDialog CommonDialog1;

    QGroupBox *frameCommand = nullptr;
    QPushButton *cmdHRT = nullptr;
    QPushButton *cmdRM = nullptr;
    QPushButton *cmdExit = nullptr;
    QPushButton *cmdClose = nullptr;
    QGroupBox *Frame1 = nullptr;
    std::array<QLabel *, heatRunSlots> lblFile{};
    std::array<QPushButton *, heatRunSlots> cmdDownload{};
    QGroupBox *Frame2 = nullptr;
    QPushButton *cmdRMDownload = nullptr;
    ClickLabel *lblSelectAll = nullptr;
    ClickLabel *lblUnselectAll = nullptr;

    // The window's outer size in twips for the view shown last, and where
    // cmdClose was put, as the view switches compute them.
    QSize windowSizeTwips() const { return m_windowTwips; }
    QPoint cmdClosePositionTwips() const { return m_closeTwips; }

public slots:
    void cmdHRT_Click();
    void cmdRM_Click();
    void cmdClose_Click();
    void cmdExit_Click();
    void cmdDownload_Click(int index);
    void cmdRMDownload_Click();
    void lblSelectAll_Click();
    void lblUnselectAll_Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void focusMenu();
    void buildMenu();
    void buildHeatRunView();
    void buildMeasurementView();
    bool loadHeatRunNames();
    void showView(QGroupBox *frame, QSize frameTwips, int heightExtra, bool withClose);

    const ProgramState &m_state;
    UserDialogs &m_dialogs;
    std::function<void(const QString &)> m_progress;
    std::unique_ptr<SerialLink> MSComm2;
    std::unique_ptr<Exchange> m_exchange;
    std::unique_ptr<FileList> m_list;
    QWidget *m_canvas = nullptr;     // holds every control; scrolls where the screen is too small
    int m_heatRunCount = 0;
    int m_fileCount = 0;
    bool m_shortRecords = false;
    QSize m_windowTwips;
    QPoint m_closeTwips;
};
