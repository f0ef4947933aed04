// SPDX-License-Identifier: MIT
#include "ui/MessageTexts.h"
#include "app/DetectionDialog.h"

#include "ui/Accessibility.h"
#include "ui/LogoWidget.h"
#include "app/ModelTable.h"
#include "link/StopRequest.h"
#include "ui/UserDialogs.h"
#include "link/Exchange.h"
#include "link/PortMap.h"
#include "link/QtSerialLink.h"
#include "protocol/Request.h"
#include "link/SerialLink.h"
#include "ui/PlainText.h"
#include "ui/Twips.h"
#include "ui/WindowGeometry.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr int shortestModel = 4;    // "KXT1" is the shortest identification

// The typed text itself is not repeated: a tool tip would take markup in it
// for formatting.
QString notAPortNumber()
{
    return QStringLiteral("Not a COM port number: choose or type one from %1 to %2")
        .arg(PortMap::firstPort)
        .arg(PortMap::lastPort);
}

template <typename Widget>
Widget *place(Widget *widget, const char *name, int left, int top, int width, int height)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(Twips::rect(left, top, width, height));
    return widget;
}

} // namespace

DetectionDialog::DetectionDialog(ProgramState &state, UserDialogs &dialogs, StopRequest &stop, PortFactory makePort,
                     MeterWindowFactory makeWindow, const MeterTiming &timing, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_stop(stop)
    , m_makePort(std::move(makePort))
    , m_makeWindow(std::move(makeWindow))
    , m_timing(timing)
    , m_port(m_makePort(QtSerialLink::probeBufferSize))
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(programTitle());
    buildControls();
    load();
}

DetectionDialog::~DetectionDialog()
{
    if (m_port)
        m_port->close();
}

void DetectionDialog::buildControls()
{
    setFont(WindowGeometry::sansSerif(8.25, false));
    QWidget *canvas = WindowGeometry::addCanvas(this);
    WindowGeometry::setClientSize(this, QSize(Twips::toPixels(7695), Twips::toPixels(4605)));

    fraMainFrame = place(new QGroupBox(canvas), "fraMainFrame", 45, -15, 7620, 4590);

    picLogo = place(new LogoWidget(fraMainFrame), "picLogo", 240, 1080, 1215, 1215);

    lblProductName = place(new QLabel(QStringLiteral("Kestrix"), fraMainFrame), "lblProductName", 1605, 1320, 4485, 555);
    lblProductName->setFont(WindowGeometry::sansSerif(24, true));
    lblProductName->setAlignment(Qt::AlignCenter);

    lblCompany = place(new QLabel(MessageTexts::supportAddress(), fraMainFrame), "lblCompany", 4410, 1920, 1680, 195);

    lblProgress = place(new ProgressLabel(QStringLiteral("..."), fraMainFrame), "lblProgress", 3007, 2640, 1680, 195);
    lblProgress->setAlignment(Qt::AlignCenter);
    // The family windows rewrite this label before every record: painting its
    // own background spares a repaint of the frame behind it each time.
    lblProgress->setAutoFillBackground(true);

    Label1 = place(new QLabel(QStringLiteral("COM Port"), fraMainFrame), "Label1", 3060, 3360, 735, 255);

    comboCOM = place(new QComboBox(fraMainFrame), "comboCOM", 3900, 3330, 735, 315);
    comboCOM->setEditable(true);
    comboCOM->setAccessibleName(QStringLiteral("COM Port"));
    // Entries may name their device, e.g. "1 (ttyUSB0)": the list opens wide
    // enough to read them, the field widens to them at load (up to the
    // frame's edge), and a longer one shows its number first.
    comboCOM->view()->setMinimumWidth(Twips::toPixels(2400));
    connect(comboCOM, &QComboBox::currentIndexChanged, this, [this] { comboCOM->lineEdit()->setCursorPosition(0); });
    Label1->setBuddy(comboCOM);

    // Both bottom lines are spoken when they appear.
    lblWarning = place(new AnnouncedLabel(MessageTexts::meterNotCommunicating(), fraMainFrame), "lblWarning", 1560, 3720, 4575, 795);
    lblWarning->setFont(WindowGeometry::sansSerif(9.75, true));
    lblWarning->setWordWrap(true);
    lblWarning->hide();

    lblModel = place(new AnnouncedLabel(QStringLiteral("PC successfully connected to "), fraMainFrame), "lblModel",
                     1620, 3960, 4935, 435);
    lblModel->setFont(WindowGeometry::sansSerif(9.75, true));
    // The meter's identification is appended here: shown as it came, never as markup.
    lblModel->setTextFormat(Qt::PlainText);
    lblModel->hide();

    // The Exit button sits above the frame, at the window's top right.
    cmdExit = place(new QPushButton(QStringLiteral("&Exit"), canvas), "cmdExit", 6480, 240, 975, 375);
    cmdExit->setAutoDefault(false);
    cmdExit->hide();
    cmdExit->raise();
    connect(cmdExit, &QPushButton::clicked, this, &DetectionDialog::cmdExit_Click);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setSingleShot(true);
    Timer1.setInterval(m_timing.detectionStartMs);
    connect(&Timer1, &QTimer::timeout, this, &DetectionDialog::Timer1_Timer);
}

void DetectionDialog::load()
{
    // The list offers every COM number; where the devices are not called COMn
    // each entry also names the device behind it.
    const PortMap map = PortMap::current();
    for (int number = PortMap::firstPort; number <= PortMap::lastPort; ++number)
        comboCOM->addItem(map.entryFor(number));
    // Entries that name their device are longer than the design's field.
    WindowGeometry::fitComboToEntries(comboCOM, fraMainFrame->width() - Twips::toPixels(120));
    comboCOM->setCurrentIndex(0);
    comboCOM->lineEdit()->setCursorPosition(0);

    QDir::setCurrent(QCoreApplication::applicationDirPath());

    if (QScreen *screen = this->screen())
        WindowGeometry::keepOnScreen(this, screen->geometry().center() - rect().center());
    Timer1.start();
}

void DetectionDialog::showPortProblem(const QString &reason)
{
    // The warning's own text stays as it is; the system's reason is there for
    // whoever looks closer (tool tip, screen readers). It names the device,
    // which may be a link target the user chose: shown literally.
    const QString tip = PlainText::toolTip(reason);
    lblWarning->setToolTip(tip);
    lblWarning->setAccessibleDescription(PlainText::shown(reason));
    comboCOM->setToolTip(tip);
}

void DetectionDialog::Timer1_Timer()
{
    Timer1.stop();

    Exchange exchange(*m_port, m_stop, m_timing);
    QByteArray reply;
    for (;;) {
        const std::optional<int> number = portNumberIn(comboCOM->currentText());
        m_port->setPortNumber(number.value_or(0));
        if (number && (m_port->isOpen() || m_port->open())) {
            showPortProblem(QString());
            const ExchangeOutcome outcome =
                exchange.requestWithFixedWait(Request::command("00"), m_timing.probeWaitMs, &reply);
            if (outcome == ExchangeOutcome::Ended)
                return;
            if (reply.size() >= shortestModel)
                break;
        } else {
            // A port that cannot be opened takes the same path as a silent
            // meter, one attempt a second.
            showPortProblem(number ? m_port->errorString() : notAPortNumber());
            if (exchange.waitHandlingEvents(m_timing.probeWaitMs) == ExchangeOutcome::Ended)
                return;
        }
        lblWarning->show();
        cmdExit->show();
        m_port->close();
    }

    m_state.MeterModel = QString::fromLatin1(reply);
    PlainText::setLabelText(lblModel, lblModel->text() + m_state.MeterModel);
    lblModel->show();
    lblWarning->hide();

    if (exchange.waitHandlingEvents(m_timing.probeWaitMs) == ExchangeOutcome::Ended)
        return;

    m_state.MeterFamily = familyOrWinding(reply);
    m_state.MeterPort = qint16(m_port->portNumber());
    m_port->close();

    const MeterWindowContext context{m_state, m_dialogs, m_stop, m_makePort, [this](const QString &text) {
                                         lblProgress->setProgressText(text);
                                     },
                                     m_timing};
    m_loaded = m_makeWindow(context);
    m_loaded->load();
    if (m_stop.isRequested())
        return;
    accept();
}

void DetectionDialog::cmdExit_Click()
{
    m_port->close();
    m_stop.request();
    QDialog::reject();
}

void DetectionDialog::reject()
{
    cmdExit_Click();
}

std::unique_ptr<MeterWindow> DetectionDialog::takeLoadedWindow()
{
    return std::move(m_loaded);
}
