// SPDX-License-Identifier: MIT
#pragma once

#include "link/Exchange.h"
#include "protocol/HeatRunReply.h"
#include "protocol/RecordFormat.h"
#include "ui/MeasurementView.h"
#include "ui/MeterStartup.h"
#include "ui/MeterWindow.h"
#include "ui/SaveDialog.h"
#include "ui/filelist/FileList.h"

#include <QSize>
#include <array>
#include <memory>

class QGroupBox;
class QLabel;
class QPushButton;

// The window of every winding resistance meter: a menu, the heat-run-test
// view and the measurement view, one shown at a time.
class WindingMeterWindow : public MeterWindow
{
    Q_OBJECT
public:
    static constexpr int heatRunSlots = heatRunSlotCount;

    explicit WindingMeterWindow(const MeterWindowContext &context);
    ~WindingMeterWindow() override;

    // Every text the window can come to show, in its room.
    static QList<TextRoom> textRooms(const QLocale &locale);

    MeterFamily family() const override { return MeterFamily::Winding; }

    int heatRunCount() const { return m_heatRunCount; }
    int fileCount() const { return m_fileCount; }
    bool shortRecords() const { return m_shortRecords; }
    FileList &list() { return m_view->list(); }
    MeasurementView *measurementView() override { return m_view; }
    SaveDialog &saveDialog() { return m_saveDialog; }

    // The window's outer size in twips for the view shown last, and where
    // the Close button was put, as the view switches compute them.
    QSize windowSizeTwips() const { return m_windowTwips; }
    QPoint closeButtonPositionTwips() const { return m_closeTwips; }

public slots:
    void showHeatRunView();
    void showMeasurementView();
    void showMenu();
    void downloadHeatRun(int index);

protected:
    void loadFiles() override;
    // Escape leaves a view for the menu, as Close does, and the menu as Exit does.
    void escapePressed() override;

private:
    void focusMenu();
    void buildMenu();
    void buildHeatRunView();
    void showHeatRunNames(const QList<std::optional<QString>> &names);
    void showView(QGroupBox *frame, QSize frameTwips, int heightExtra, bool withClose);
    QString askHeatRunPath(int slot);

    QWidget *m_canvas = nullptr;     // holds every control; scrolls where the screen is too small
    int m_heatRunCount = 0;
    int m_fileCount = 0;
    bool m_shortRecords = false;
    QSize m_windowTwips;
    QPoint m_closeTwips;
    SaveDialog m_saveDialog;

    QGroupBox *m_menuFrame = nullptr;
    QPushButton *m_heatRunButton = nullptr;
    QPushButton *m_measurementsButton = nullptr;
    QPushButton *m_exitButton = nullptr;
    QPushButton *m_closeButton = nullptr;
    QGroupBox *m_heatRunFrame = nullptr;
    std::array<QLabel *, heatRunSlots> m_heatRunNames{};
    std::array<QPushButton *, heatRunSlots> m_heatRunDownloadButtons{};
    std::array<QString, heatRunSlots> m_heatRunMeterNames{}; // as the meter sent them
    std::array<QString, heatRunSlots> m_heatRunPaths{};      // chosen for each slot in this window
    MeasurementView *m_view = nullptr;
};
