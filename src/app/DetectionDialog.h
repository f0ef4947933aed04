// SPDX-License-Identifier: MIT
#pragma once

#include "link/MeterTiming.h"
#include "link/PortInfo.h"
#include "link/PortSearch.h"
#include "ui/Accessibility.h"
#include "ui/MeterWindow.h"
#include "ui/ProgramState.h"

#include <QDialog>
#include <QTimer>
#include <memory>
#include <optional>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class LogoWidget;
class SerialLink;

// The detection window: lists COM 1 to 32, probes the chosen port with "{00}"
// once per probe wait until a meter answers, fills the program-wide state,
// loads the family window and closes itself. It starts on the port where a
// meter last answered; Search asks the USB adapters and COMn links in turn.
class DetectionDialog : public QDialog
{
    Q_OBJECT
public:
    // Exit requests `stop`; the family window gets it too.
    // `ports` lists the system's serial ports, for the list's names and the search.
    DetectionDialog(ProgramState &state, UserDialogs &dialogs, StopRequest &stop, PortFactory makePort,
              MeterWindowFactory makeWindow, const MeterTiming &timing = {}, PortSource ports = systemPorts,
              QWidget *parent = nullptr);
    ~DetectionDialog() override;

    // The family window loaded by the probe; empty until a meter has answered.
    std::unique_ptr<MeterWindow> takeLoadedWindow();

    // The probe's timer and serial port.
    QTimer &probeTimer() { return m_probeTimer; }
    SerialLink &port() { return *m_port; }

public slots:
    void onProbeTimer();
    void exitProgram();
    // Asks the USB serial adapters and COMn links one after another, from the
    // next attempt on; pressed again while it runs, stops it.
    void searchForMeter();

protected:
    void reject() override; // Escape or the close box: the same as Exit
    // Enter presses a focused Exit; in the port field it presses nothing.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void load();
    void buildControls();
    void showPortProblem(const QString &reason);
    void selectPort(int number);
    // The next port a search asks, or nothing when no search runs.
    std::optional<int> nextSearchedPort();
    // Found: the number stays chosen. Else the entry chosen before comes
    // back, with a box that tells which ports were asked unless `quietly`.
    void endSearch(bool found, bool quietly = false);

    ProgramState &m_state;
    UserDialogs &m_dialogs;
    StopRequest &m_stop;
    PortFactory m_makePort;
    MeterWindowFactory m_makeWindow;
    MeterTiming m_timing;
    PortSource m_ports;
    std::unique_ptr<SerialLink> m_port;
    std::unique_ptr<MeterWindow> m_loaded;

    // Each control keeps its window name as objectName(), where tests and assistive tools find it.
    QGroupBox *m_mainFrame = nullptr;
    QLabel *m_portLabel = nullptr;
    QComboBox *m_portCombo = nullptr;
    LogoWidget *m_logo = nullptr;
    QLabel *m_productName = nullptr;
    QLabel *m_supportAddress = nullptr;
    ProgressLabel *m_progress = nullptr;
    QLabel *m_modelLine = nullptr;
    QLabel *m_warning = nullptr;
    QPushButton *m_exitButton = nullptr;
    QPushButton *m_searchButton = nullptr;
    QTimer m_probeTimer;

    // The search, and the entry chosen before it.
    PortSearch m_search;
    int m_indexBeforeSearch = -1;
};
