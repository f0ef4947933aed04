// SPDX-License-Identifier: MIT
#pragma once

#include "link/MeterTiming.h"
#include "ui/Accessibility.h"
#include "ui/MeterWindow.h"
#include "ui/ProgramState.h"

#include <QDialog>
#include <QTimer>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class LogoWidget;
class SerialLink;

// The detection window: lists COM 1 to 32, probes the chosen port with "{00}"
// once per probe wait until a meter answers, fills the program-wide state,
// loads the family window and closes itself.
class DetectionDialog : public QDialog
{
    Q_OBJECT
public:
    // Exit requests `stop`; the family window gets it too.
    DetectionDialog(ProgramState &state, UserDialogs &dialogs, StopRequest &stop, PortFactory makePort,
              MeterWindowFactory makeWindow, const MeterTiming &timing = {}, QWidget *parent = nullptr);
    ~DetectionDialog() override;

    // The family window loaded by the probe; empty until a meter has answered.
    std::unique_ptr<MeterWindow> takeLoadedWindow();

    // Controls, by their window names, for the family windows and for tests.
    QGroupBox *fraMainFrame = nullptr;
    QLabel *Label1 = nullptr;
    QComboBox *comboCOM = nullptr;
    LogoWidget *picLogo = nullptr;
    QLabel *lblProductName = nullptr;
    QLabel *lblCompany = nullptr;
    ProgressLabel *lblProgress = nullptr;
    QLabel *lblModel = nullptr;
    QLabel *lblWarning = nullptr;
    QPushButton *cmdExit = nullptr;
    QTimer Timer1;

    // The probe's serial port (MSComm1).
    SerialLink &MSComm1() { return *m_port; }


public slots:
    void Timer1_Timer();
    void cmdExit_Click();

protected:
    void reject() override; // Escape or the close box: the same as Exit

private:
    void load();
    void buildControls();
    void showPortProblem(const QString &reason);

    ProgramState &m_state;
    UserDialogs &m_dialogs;
    StopRequest &m_stop;
    PortFactory m_makePort;
    MeterWindowFactory m_makeWindow;
    MeterTiming m_timing;
    std::unique_ptr<SerialLink> m_port;
    std::unique_ptr<MeterWindow> m_loaded;
};
