// SPDX-License-Identifier: MIT
#include "app/DetectionDialog.h"

#include "link/Exchange.h"
#include "link/MeterLoad.h"
#include "link/PortMap.h"
#include "link/SerialLink.h"
#include "link/StopRequest.h"
#include "protocol/FamilyProtocol.h"
#include "protocol/MessageTexts.h"
#include "ui/Accessibility.h"
#include "ui/KeyboardFocus.h"
#include "ui/LogoWidget.h"
#include "ui/PlainText.h"
#include "ui/Twips.h"
#include "ui/UserDialogs.h"
#include "ui/WindowGeometry.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QSettings>

namespace {

// The typed text itself is not repeated: a tool tip would take markup in it
// for formatting.
QString notAPortNumber()
{
    return QStringLiteral("Not a COM port number: choose or type one from %1 to %2")
        .arg(PortMap::firstPort)
        .arg(PortMap::lastPort);
}

// Where a meter last answered, kept in the settings file between runs: the
// number, and the device behind it then. Devices without a link take their
// numbers in the order they are present, so a number alone could lead to
// another device (a built-in port) when the adapter is not plugged in.
const QString lastPortKey = QStringLiteral("detection/lastPort");
const QString lastDeviceKey = QStringLiteral("detection/lastPortDevice");

std::optional<int> rememberedPort(const PortMap &map)
{
    const QSettings settings;
    bool ok = false;
    const int number = settings.value(lastPortKey).toInt(&ok);
    if (!ok || number < PortMap::firstPort || number > PortMap::lastPort)
        return std::nullopt;
    if (map.deviceFor(number) != settings.value(lastDeviceKey).toString())
        return std::nullopt;
    return number;
}

void rememberPort(const PortMap &map, int number)
{
    QSettings settings;
    settings.setValue(lastPortKey, number);
    settings.setValue(lastDeviceKey, map.deviceFor(number));
}

const QString searchCaption = QStringLiteral("&Search");
const QString stopSearchCaption = QStringLiteral("&Stop search");

template <typename Widget>
Widget *place(Widget *widget, const char *name, int left, int top, int width, int height)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(Twips::rect(left, top, width, height));
    return widget;
}

} // namespace

DetectionDialog::DetectionDialog(ProgramState &state, UserDialogs &dialogs, StopRequest &stop, PortFactory makePort,
                     MeterWindowFactory makeWindow, const MeterTiming &timing, PortSource ports, QWidget *parent)
    : QDialog(parent)
    , m_state(state)
    , m_dialogs(dialogs)
    , m_stop(stop)
    , m_makePort(std::move(makePort))
    , m_makeWindow(std::move(makeWindow))
    , m_timing(timing)
    , m_ports(std::move(ports))
    , m_port(m_makePort(SerialLink::probeBufferSize))
    , m_search(m_ports)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(programTitle());
    KeyboardFocus::showFocusFrames(this);
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

    m_mainFrame = place(new QGroupBox(canvas), "fraMainFrame", 45, -15, 7620, 4590);

    m_logo = place(new LogoWidget(m_mainFrame), "picLogo", 240, 1080, 1215, 1215);

    m_productName = place(new QLabel(QStringLiteral("Kestrix"), m_mainFrame), "lblProductName", 1605, 1320, 4485, 555);
    m_productName->setFont(WindowGeometry::sansSerif(24, true));
    m_productName->setAlignment(Qt::AlignCenter);

    m_supportAddress =
        place(new QLabel(MessageTexts::supportAddress(), m_mainFrame), "lblCompany", 4410, 1920, 1680, 195);

    m_progress = place(new ProgressLabel(QStringLiteral("..."), m_mainFrame), "lblProgress", 3007, 2640, 1680, 195);
    m_progress->setAlignment(Qt::AlignCenter);
    // The family windows rewrite this label before every record: painting its
    // own background spares a repaint of the frame behind it each time.
    m_progress->setAutoFillBackground(true);

    m_portLabel = place(new QLabel(QStringLiteral("COM Port"), m_mainFrame), "Label1", 3060, 3360, 735, 255);

    m_portCombo = place(new QComboBox(m_mainFrame), "comboCOM", 3900, 3330, 735, 315);
    m_portCombo->setEditable(true);
    m_portCombo->setAccessibleName(QStringLiteral("COM Port"));
    // Entries may name their device, e.g. "1 (ttyUSB0)": the list opens wide
    // enough to read them, the field widens to them at load (up to the
    // frame's edge), and a longer one shows its number first.
    m_portCombo->view()->setMinimumWidth(Twips::toPixels(2400));
    connect(m_portCombo, &QComboBox::currentIndexChanged, this, [this] {
        m_portCombo->lineEdit()->setCursorPosition(0);
        m_portCombo->setToolTip(m_portCombo->currentData(Qt::ToolTipRole).toString());
        // The field shows the entry cut short; a screen reader has it whole.
        m_portCombo->setAccessibleDescription(m_portCombo->currentData(Qt::AccessibleTextRole).toString());
    });
    m_portLabel->setBuddy(m_portCombo);
    // A port the user picks or types during a search ends it: the user's choice is probed next.
    connect(m_portCombo, &QComboBox::activated, this, [this] { endSearch(true, true); });
    connect(m_portCombo->lineEdit(), &QLineEdit::textEdited, this, [this] { endSearch(true, true); });

    // Beside the port list: asks every USB serial adapter and COMn link in turn.
    m_searchButton = place(new QPushButton(searchCaption, m_mainFrame), "cmdSearch", 6240, 3300, 1215, 375);
    m_searchButton->setAutoDefault(false);
    m_searchButton->setToolTip(QStringLiteral("Ask each USB serial adapter and COMn link for a meter in turn"));
    connect(m_searchButton, &QPushButton::clicked, this, &DetectionDialog::searchForMeter);

    // Both bottom lines are spoken when they appear.
    m_warning = place(new AnnouncedLabel(MessageTexts::meterNotCommunicating(), m_mainFrame), "lblWarning", 1560, 3720,
                      4575, 795);
    m_warning->setFont(WindowGeometry::sansSerif(9.75, true));
    m_warning->setWordWrap(true);
    m_warning->hide();

    m_modelLine =
        place(new AnnouncedLabel(MessageTexts::connectedTo(), m_mainFrame), "lblModel", 1620, 3960, 4935, 435);
    m_modelLine->setFont(WindowGeometry::sansSerif(9.75, true));
    // The meter's identification is appended here: shown as it came, never as markup.
    m_modelLine->setTextFormat(Qt::PlainText);
    m_modelLine->hide();

    // The Exit button sits above the frame, at the window's top right.
    m_exitButton = place(new QPushButton(QStringLiteral("&Exit"), canvas), "cmdExit", 6480, 240, 975, 375);
    m_exitButton->setAutoDefault(false);
    m_exitButton->hide();
    m_exitButton->raise();
    connect(m_exitButton, &QPushButton::clicked, this, &DetectionDialog::exitProgram);
    setTabOrder(m_portCombo, m_searchButton);
    setTabOrder(m_searchButton, m_exitButton);

    m_probeTimer.setObjectName(QStringLiteral("Timer1"));
    m_probeTimer.setSingleShot(true);
    m_probeTimer.setInterval(m_timing.detectionStartMs);
    connect(&m_probeTimer, &QTimer::timeout, this, &DetectionDialog::onProbeTimer);
}

void DetectionDialog::load()
{
    // The list offers every COM number; where the devices are not called COMn
    // each entry also names the device behind it, and the adapter where the
    // system names it. The whole text is the entry's tool tip and what a
    // screen reader says of it.
    const PortMap map = PortMap::current(m_ports);
    for (int number = PortMap::firstPort; number <= PortMap::lastPort; ++number) {
        m_portCombo->addItem(map.entryFor(number));
        const QString whole = map.fullEntryFor(number);
        m_portCombo->setItemData(number - PortMap::firstPort, PlainText::toolTip(whole), Qt::ToolTipRole);
        m_portCombo->setItemData(number - PortMap::firstPort, PlainText::shown(whole), Qt::AccessibleTextRole);
    }
    // Entries that name their device are longer than the design's field.
    WindowGeometry::fitComboToEntries(m_portCombo, m_searchButton->x() - Twips::toPixels(120));
    // The port where a meter last answered, else the first.
    m_portCombo->setCurrentIndex(-1);
    selectPort(rememberedPort(map).value_or(PortMap::firstPort));

    if (QScreen *screen = this->screen())
        WindowGeometry::keepOnScreen(this, screen->geometry().center() - rect().center());
    m_probeTimer.start();
}

void DetectionDialog::showPortProblem(const QString &reason)
{
    // The warning's own text stays as it is; the system's reason is there for
    // whoever looks closer (tool tip, screen readers). It names the device,
    // which may be a link target the user chose: shown literally.
    const QString tip = PlainText::toolTip(reason);
    m_warning->setToolTip(tip);
    m_warning->setAccessibleDescription(PlainText::shown(reason));
    m_portCombo->setToolTip(reason.isEmpty() ? m_portCombo->currentData(Qt::ToolTipRole).toString() : tip);
}

void DetectionDialog::selectPort(int number)
{
    m_portCombo->setCurrentIndex(number - PortMap::firstPort);
    m_portCombo->lineEdit()->setCursorPosition(0);
}

void DetectionDialog::searchForMeter()
{
    if (m_search.isRunning()) {
        endSearch(false, true);
        return;
    }
    if (!m_search.start()) {
        m_dialogs.information(programTitle(),
                              QStringLiteral("There is no USB serial adapter or COMn link to search. Plug in the "
                                             "meter's adapter, or choose its port in the list."));
        return;
    }
    m_indexBeforeSearch = m_portCombo->currentIndex();
    m_searchButton->setText(stopSearchCaption);
}

std::optional<int> DetectionDialog::nextSearchedPort()
{
    if (!m_search.isRunning())
        return std::nullopt;
    const std::optional<int> number = m_search.next();
    if (!number) {
        endSearch(false);
        return std::nullopt;
    }
    // The list shows (and a screen reader hears) each port as it is asked.
    selectPort(*number);
    return number;
}

void DetectionDialog::endSearch(bool found, bool quietly)
{
    if (!m_search.isRunning())
        return;
    m_search.stop();
    m_searchButton->setText(searchCaption);
    if (found)
        return;
    m_portCombo->setCurrentIndex(m_indexBeforeSearch);
    m_portCombo->lineEdit()->setCursorPosition(0);
    if (quietly || m_search.asked().isEmpty())
        return;
    m_dialogs.information(programTitle(),
                          QStringLiteral("No meter answered on %1. Check that it is connected and that \"Send "
                                         "Files to PC\" mode is selected.")
                              .arg(m_search.asked().join(QStringLiteral(", "))));
}

void DetectionDialog::onProbeTimer()
{
    m_probeTimer.stop();

    Exchange exchange(*m_port, m_stop, m_timing);
    MeterLoad::IdentifyHooks hooks;
    hooks.portNumber = [this] {
        if (const std::optional<int> searched = nextSearchedPort())
            return searched;
        return portNumberIn(m_portCombo->currentText());
    };
    hooks.portTried = [this](bool opened) {
        const bool numbered = portNumberIn(m_portCombo->currentText()).has_value();
        showPortProblem(opened ? QString() : numbered ? m_port->errorString() : notAPortNumber());
    };
    hooks.noMeterYet = [this](bool) {
        m_warning->show();
        m_exitButton->show();
        if (m_search.isRunning() && !m_search.hasNext())
            endSearch(false);
        return true;
    };
    // A search stops only at a meter it knows: a GPS receiver or a modem
    // also answers with 4 bytes.
    hooks.accepts = [this](const QByteArray &model) {
        return !m_search.isRunning() || familyForModel(model).has_value();
    };
    const MeterLoad::Identified identified = MeterLoad::identifyMeter(*m_port, exchange, hooks);
    if (identified.outcome != ExchangeOutcome::Reply)
        return;
    const QByteArray &reply = identified.model;
    endSearch(true);
    m_searchButton->setEnabled(false);
    // The next run starts on this port.
    rememberPort(PortMap::current(m_ports), m_port->portNumber());

    m_state.model = QString::fromLatin1(reply);
    PlainText::setLabelText(m_modelLine, m_modelLine->text() + m_state.model);
    m_modelLine->show();
    m_warning->hide();

    if (exchange.waitHandlingEvents(m_timing.probeWaitMs) == ExchangeOutcome::Ended)
        return;

    m_state.family = familyOrWinding(reply);
    m_state.port = qint16(m_port->portNumber());
    m_port->close();

    const MeterWindowContext context{m_state, m_dialogs, m_stop, m_makePort,
                                     [this](const QString &text) { m_progress->setProgressText(text); }, m_timing};
    m_loaded = m_makeWindow(context);
    m_loaded->load();
    if (m_stop.isRequested())
        return;
    accept();
}

void DetectionDialog::exitProgram()
{
    m_port->close();
    m_stop.request();
    QDialog::reject();
}

void DetectionDialog::reject()
{
    exitProgram();
}

std::unique_ptr<MeterWindow> DetectionDialog::takeLoadedWindow()
{
    return std::move(m_loaded);
}

void DetectionDialog::keyPressEvent(QKeyEvent *event)
{
    // Exit is no default button, so that Enter after a port number does not
    // end the program; Enter with Exit focused does.
    if (KeyboardFocus::pressFocusedButton(this, event))
        return;
    QDialog::keyPressEvent(event);
}
