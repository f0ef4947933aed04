// SPDX-License-Identifier: MIT
#include "ui/WindingMeterWindow.h"

#include "ui/BusyCursor.h"
#include "link/StopRequest.h"
#include "ui/UserDialogs.h"
#include "protocol/ExportColumns.h"
#include "ui/MeasurementExport.h"
#include "protocol/TextFile.h"
#include "link/QtSerialLink.h"
#include "protocol/Request.h"
#include "ui/FileRows.h"
#include "ui/KeyboardFocus.h"
#include "ui/MeterStartup.h"
#include "ui/PlainText.h"
#include "ui/Twips.h"
#include "ui/WindowGeometry.h"
#include "ui/WrapButton.h"
#include "ui/filelist/ClickLabel.h"
#include "protocol/HeatRunReply.h"
#include "protocol/WindingRecord.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

namespace {

constexpr int heatRunBlock = 18;         // bytes per slot in the "{02}" reply
constexpr QSize frameCommandSize(3135, 2895);
constexpr QSize frame1Size(4335, 4575);
constexpr QSize frame2Size(14985, 7935);
const QString startupFailure = QStringLiteral("Error Communication with Winding Resistance Meter");

template <typename Widget>
Widget *place(Widget *widget, const QString &name, int left, int top, int width, int height)
{
    if (!name.isEmpty())
        widget->setObjectName(name);
    widget->setGeometry(Twips::rect(left, top, width, height));
    return widget;
}

QLabel *heading(QWidget *parent, const QString &text, int left, int top, int width, int height)
{
    auto *label = place(new QLabel(text, parent), QString(), left, top, width, height);
    label->setFont(WindowGeometry::sansSerif(8.25, true));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

WindingMeterWindow::WindingMeterWindow(const MeterWindowContext &context)
    : MeterWindow(context.stop)
    , m_state(context.state)
    , m_dialogs(context.dialogs)
    , m_progress(context.showProgress)
    , MSComm2(context.makePort(QtSerialLink::meterBufferSize))
    , m_exchange(std::make_unique<Exchange>(*MSComm2, context.stop, context.timing))
{
    setObjectName(QStringLiteral("frmWRM_Temperature"));
    setFont(WindowGeometry::sansSerif(8.25, false));
    m_canvas = WindowGeometry::addCanvas(this);
    WindowGeometry::setOuterSizeTwips(this, 15150 + WindowGeometry::frameWidthTwips,
                                      8415 + WindowGeometry::frameHeightTwips);
    buildMenu();
    buildHeatRunView();
    buildMeasurementView();
    CommonDialog1.FileName.clear();
    CommonDialog1.meterModel = m_state.MeterModel;
    // Also the first focus after a failed start-up, which leaves the menu as designed.
    focusMenu();
}

WindingMeterWindow::~WindingMeterWindow()
{
    MSComm2->close();
}

void WindingMeterWindow::buildMenu()
{
    frameCommand = place(new QGroupBox(m_canvas), QStringLiteral("frameCommand"), 120, 540, 3135, 2895);
    // Both captions take two lines, "files" on the second: the blanks in the
    // first one are there to push "files" down.
    auto *heatRun = new WrapButton(QStringLiteral("       Heat Run Test       files"), frameCommand);
    auto *measurements = new WrapButton(QStringLiteral("Resistance Measurement files"), frameCommand);
    for (WrapButton *button : {heatRun, measurements})
        button->setMinimumLines(2);
    cmdHRT = place(heatRun, QStringLiteral("cmdHRT"), 600, 360, 2055, 615);
    cmdRM = place(measurements, QStringLiteral("cmdRM"), 600, 1200, 2055, 615);
    cmdExit = place(new QPushButton(QStringLiteral("E&xit"), frameCommand), QStringLiteral("cmdExit"), 600, 2040,
                    2055, 495);
    cmdHRT->setAccessibleName(QStringLiteral("Heat Run Test files"));
    connect(cmdHRT, &QPushButton::clicked, this, &WindingMeterWindow::cmdHRT_Click);
    connect(cmdRM, &QPushButton::clicked, this, &WindingMeterWindow::cmdRM_Click);
    connect(cmdExit, &QPushButton::clicked, this, &WindingMeterWindow::cmdExit_Click);

    cmdClose = place(new QPushButton(QStringLiteral("&Close"), m_canvas), QStringLiteral("cmdClose"), 1680, 120,
                     1215, 375);
    cmdClose->hide();
    connect(cmdClose, &QPushButton::clicked, this, &WindingMeterWindow::cmdClose_Click);
}

void WindingMeterWindow::buildHeatRunView()
{
    Frame1 = place(new QGroupBox(QStringLiteral("Heat Run Test Files"), m_canvas), QStringLiteral("Frame1"), 120,
                   3480, 4335, 4575);
    Frame1->setFont(WindowGeometry::sansSerif(9.75, true));
    heading(Frame1, QStringLiteral("No."), 240, 360, 375, 255);
    heading(Frame1, QStringLiteral("File Name / Job Id"), 960, 360, 2895, 255);
    heading(Frame1, QStringLiteral("Action"), 3000, 360, 855, 255);
    const QFont plain = WindowGeometry::sansSerif(8.25, false);
    for (int slot = 0; slot < heatRunSlots; ++slot) {
        const int top = 720 + 480 * slot;
        auto *number = place(new QLabel(QStringLiteral("%1.").arg(slot + 1), Frame1), QString(), 360, top, 255, 255);
        number->setFont(plain);
        lblFile[slot] = place(new QLabel(QStringLiteral(" - - Empty - -"), Frame1),
                              QStringLiteral("lblFile_%1").arg(slot), 960, top, 1575, 255);
        lblFile[slot]->setFont(plain);
        lblFile[slot]->setTextFormat(Qt::PlainText); // later holds a name sent by the meter
        cmdDownload[slot] = place(new QPushButton(QStringLiteral("Download"), Frame1),
                                  QStringLiteral("cmdDownload_%1").arg(slot), 2880, 660 + 480 * slot, 1095, 375);
        cmdDownload[slot]->setFont(plain);
        cmdDownload[slot]->setEnabled(false);
        cmdDownload[slot]->setAccessibleName(QStringLiteral("Download heat run test file %1").arg(slot + 1));
        connect(cmdDownload[slot], &QPushButton::clicked, this, [this, slot] { cmdDownload_Click(slot); });
    }
    Frame1->hide();
}

void WindingMeterWindow::buildMeasurementView()
{
    Frame2 = place(new QGroupBox(QStringLiteral("Resistance Measurement Files"), m_canvas), QStringLiteral("Frame2"),
                   120, 240, 14985, 7935);
    Frame2->setFont(WindowGeometry::sansSerif(9.75, true));
    for (int column = 0; column < 2; ++column) {
        const int shift = 7320 * column;
        heading(Frame2, QStringLiteral("File No."), 120 + shift, 360, 675, 435);
        heading(Frame2, QStringLiteral("Filename"), 840 + shift, 360, 795, 435);
        heading(Frame2, QStringLiteral("Measured Resistance"), 1800 + shift, 360, 2325, 315);
        heading(Frame2, column == 0 ? QStringLiteral("  Resistance (20 C)") : QStringLiteral(" Resistance (20 C)"),
                4320 + shift, 360, 1710, 315);
        heading(Frame2, QStringLiteral("Conductor"), 6240 + shift, 360, 885, 435);
        heading(Frame2, QStringLiteral("Ch 1"), 1800 + shift, 600, 1005, 195);
        heading(Frame2, QStringLiteral("Ch 2"), 2760 + shift, 600, 885, 195);
        heading(Frame2, QStringLiteral("Temp"), 3645 + shift, 600, 480, 195);
        heading(Frame2, QStringLiteral("Ch 1"), 4320 + shift, 600, 1125, 195);
        heading(Frame2, QStringLiteral("Ch 2"), 5385 + shift, 600, 645, 195);
    }

    const FileListColumn check{QStringLiteral("checkFileNo"), {0, 7440}, 735};
    const QList<FileListColumn> labels{
        {QStringLiteral("lblFileName"), {840, 8160}, 735},  {QStringLiteral("lblRes1_T"), {1680, 9000}, 855},
        {QStringLiteral("lblRes2_T"), {2640, 9960}, 855},   {QStringLiteral("lblTemp"), {3600, 10920}, 495},
        {QStringLiteral("lblRes1_20"), {4080, 11400}, 1095}, {QStringLiteral("lblRes2_20"), {5280, 12600}, 1095},
        {QStringLiteral("lblConductor"), {6360, 13680}, 735},
    };
    m_list = std::make_unique<FileList>(Frame2, FileListGeometry{QRect(120, 900, 14535, 6300), 6135}, check, labels);
    m_list->Frame4()->setFont(WindowGeometry::sansSerif(8.25, false));
    m_list->setColumnHeadings({QStringLiteral("File No."), QStringLiteral("Filename"),
                               QStringLiteral("Measured Resistance Ch 1"), QStringLiteral("Measured Resistance Ch 2"),
                               QStringLiteral("Temp"), QStringLiteral("Resistance (20 C) Ch 1"),
                               QStringLiteral("Resistance (20 C) Ch 2"), QStringLiteral("Conductor")});
    // The first row's right-hand file name starts blank in the design.
    m_list->setCellText(1, FileName, QString());
    FileRows::holdDesignRows(*m_list);

    cmdRMDownload = place(new QPushButton(QStringLiteral("&Download"), Frame2), QStringLiteral("cmdRMDownload"), 6960,
                          7440, 1215, 375);
    cmdRMDownload->setFont(WindowGeometry::sansSerif(8.25, false));
    connect(cmdRMDownload, &QPushButton::clicked, this, &WindingMeterWindow::cmdRMDownload_Click);

    lblSelectAll = place(new ClickLabel(QStringLiteral("Select All"), Frame2), QStringLiteral("lblSelectAll"), 360,
                         7560, 660, 195);
    lblUnselectAll = place(new ClickLabel(QStringLiteral("Unselect All"), Frame2), QStringLiteral("lblUnselectAll"),
                           1800, 7560, 840, 195);
    for (ClickLabel *link : {lblSelectAll, lblUnselectAll})
        link->setFont(WindowGeometry::sansSerif(8.25, false));
    connect(lblSelectAll, &ClickLabel::clicked, this, &WindingMeterWindow::lblSelectAll_Click);
    connect(lblUnselectAll, &ClickLabel::clicked, this, &WindingMeterWindow::lblUnselectAll_Click);
    Frame2->hide();
}

void WindingMeterWindow::load()
{
    const BusyCursor busy;
    PlainText::setWindowTitle(this, m_state.windowTitle());
    MeterStartup::openPort(*MSComm2, m_state.MeterPort);

    const std::optional<int> heatRuns =
        MeterStartup::requestStartupCount(*m_exchange, Request::command("01"), 2, 3, m_dialogs, startupFailure);
    if (!heatRuns)
        return;
    m_heatRunCount = *heatRuns;
    if (m_heatRunCount == 0)
        cmdHRT->setEnabled(false);

    Exchange::pause(m_exchange->timing().startupPauseMs);
    if (!loadHeatRunNames())
        return;
    Exchange::pause(m_exchange->timing().startupPauseMs);

    const std::optional<int> files =
        MeterStartup::requestStartupCount(*m_exchange, Request::command("03"), 2, 5, m_dialogs, startupFailure);
    if (!files)
        return;
    m_fileCount = *files;
    m_shortRecords = m_fileCount == 30;
    FileRows::createForCount(*m_list, m_fileCount);

    const auto fetch = [this](int index) { return fetchRecord(index); };
    if (MeterStartup::fetchEveryRecord(*m_list, m_progress, stopRequest(), fetch) == MeterStartup::LoadEnd::Ended)
        return;

    m_list->setupScroll();
    cmdClose_Click();
}

bool WindingMeterWindow::loadHeatRunNames()
{
    // The window has eight slots; a meter that reports more fills those eight.
    const int used = heatRunSlotsUsed(m_heatRunCount);
    const int awaited = heatRunBlock * used;
    // The last slot's digits end one byte after the awaited count.
    const ReplyRule rule{awaited, used > 0 ? awaited + 1 : 0, false};
    QByteArray reply;
    const ExchangeOutcome outcome = m_exchange->request(Request::command("02"), rule, WaitEvents::Handled, &reply);
    if (outcome == ExchangeOutcome::Ended)
        return false;
    if (outcome != ExchangeOutcome::Reply) {
        m_dialogs.critical(QStringLiteral("Fatal Error"), startupFailure);
        return false;
    }
    const QList<std::optional<QString>> names = heatRunNames(reply, m_heatRunCount);
    for (int slot = 0; slot < heatRunSlots && slot < names.size(); ++slot) {
        if (!names[slot])
            continue;
        PlainText::setLabelText(lblFile[slot], *names[slot]);
        QFont bold = lblFile[slot]->font();
        bold.setBold(true);
        lblFile[slot]->setFont(bold);
        cmdDownload[slot]->setEnabled(true);
    }
    return true;
}

MeterStartup::LoadStep WindingMeterWindow::fetchRecord(int index)
{
    // Long records: 33 bytes awaited, "]" at 34. Short ones: 18 awaited, the
    // second resistance ends at 26 and "]" follows.
    const ReplyRule rule = m_shortRecords ? ReplyRule{18, 27, true, 27} : ReplyRule{33, 34, true, 34};
    const MeterStartup::RecordReply fetched = MeterStartup::fetchRecordReply(
        *m_exchange, windingRecordRequest(index, m_shortRecords), rule, m_dialogs);
    if (!fetched.reply)
        return fetched.step;
    return MeterStartup::applyRecord(*m_list, index, decodeWindingRecord(*fetched.reply, m_shortRecords, QLocale()),
                                     m_dialogs);
}

void WindingMeterWindow::showView(QGroupBox *frame, QSize frameTwips, int heightExtra, bool withClose)
{
    frame->move(Twips::toPixels(120), Twips::toPixels(60));
    m_windowTwips = QSize(frameTwips.width() + 330, frameTwips.height() + heightExtra);
    WindowGeometry::setOuterSizeTwips(this, m_windowTwips.width(), m_windowTwips.height());
    frame->show();
    if (withClose) {
        m_closeTwips = QPoint((m_windowTwips.width() - 1215) / 2, frameTwips.height() + 180);
        cmdClose->move(Twips::toPixels(m_closeTwips.x()), Twips::toPixels(m_closeTwips.y()));
        cmdClose->show();
    }
    WindowGeometry::centreOnScreen(this, m_windowTwips.width(), m_windowTwips.height());
}

void WindingMeterWindow::cmdHRT_Click()
{
    frameCommand->hide();
    showView(Frame1, frame1Size, 1200, true);
    // Slot 1 may be empty: the focus goes to the first slot that can be downloaded.
    for (QPushButton *button : cmdDownload) {
        if (button->isEnabled()) {
            button->setFocus();
            return;
        }
    }
    cmdClose->setFocus();
}

void WindingMeterWindow::cmdRM_Click()
{
    frameCommand->hide();
    showView(Frame2, frame2Size, 1200, true);
    cmdRMDownload->move(Twips::toPixels((frame2Size.width() - 1215) / 2), Twips::toPixels(7440));
    // The scroll bar when there is one; else the first file, else Download.
    QWidget *first = m_list->VScroll1()->isVisibleTo(this) ? m_list->VScroll1()
                                                             : KeyboardFocus::firstIn(m_list->Frame4());
    if (!first)
        first = KeyboardFocus::firstUsable({cmdRMDownload, cmdClose});
    if (first)
        first->setFocus();
}

void WindingMeterWindow::cmdClose_Click()
{
    Frame1->hide();
    Frame2->hide();
    cmdClose->hide();
    showView(frameCommand, frameCommandSize, 720, false);
    focusMenu();
}

void WindingMeterWindow::focusMenu()
{
    if (QWidget *first = KeyboardFocus::firstUsable({cmdHRT, cmdRM, cmdExit}))
        first->setFocus();
}

void WindingMeterWindow::keyPressEvent(QKeyEvent *event)
{
    // Escape leaves a view for the menu, as Close does, and the menu as Exit does.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (Frame1->isVisibleTo(this) || Frame2->isVisibleTo(this))
            cmdClose_Click();
        else
            cmdExit_Click();
        return;
    }
    MeterWindow::keyPressEvent(event);
}

void WindingMeterWindow::cmdExit_Click()
{
    MSComm2->close();
    stopRequest().request();
    close();
}

void WindingMeterWindow::cmdDownload_Click(int index)
{
    if (index < 0 || index >= heatRunSlots)
        return;
    // Enabled again however the download ends, with the focus where it was.
    const BusyFrame busyFrame(Frame1);
    const BusyCursor busy;

    QByteArray reply;
    const int waitMs = m_exchange->timing().heatRunWaitMs;
    if (m_exchange->requestWithFixedWait(heatRunRequest(index), waitMs, &reply) == ExchangeOutcome::Ended)
        return;
    const std::optional<QByteArray> content = heatRunContent(reply);
    if (!content) {
        m_dialogs.critical(QStringLiteral("Error"), QStringLiteral("Error downloading the file"));
        return;
    }
    const SaveFileType type = SaveFileType::csvFile();
    const QString path = CommonDialog1.showSave(m_dialogs, type);
    if (path.isEmpty())
        return;
    const WriteResult written = writeBytesFile(path, *content + "\r\n");
    if (!written.ok) {
        m_dialogs.critical(QStringLiteral("Error"), written.error);
        return;
    }
    CommonDialog::saved(type, path);
    QFont normal = lblFile[index]->font();
    normal.setBold(false);
    lblFile[index]->setFont(normal);
}

void WindingMeterWindow::cmdRMDownload_Click()
{
    const QLocale locale;
    MeasurementExport exporter{Frame2, *m_list, CommonDialog1, m_dialogs, windingHeadings(), [this, locale](int row) {
                                   QStringList cells{m_list->checkCaption(row)};
                                   for (int column = 0; column < WindingColumnCount; ++column)
                                       cells << m_list->cellText(row, column);
                                   return windingExportCells(cells, locale);
                               }};
    exporter.run();
}

void WindingMeterWindow::lblSelectAll_Click()
{
    m_list->lblSelectAll_Click();
}

void WindingMeterWindow::lblUnselectAll_Click()
{
    m_list->lblUnselectAll_Click();
}
