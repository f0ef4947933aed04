// SPDX-License-Identifier: MIT
#include "ui/WindingMeterWindow.h"
#include "protocol/MessageTexts.h"

#include "protocol/ExportColumns.h"
#include "protocol/FamilyProtocol.h"
#include "protocol/HeatRunReply.h"
#include "protocol/RecordFormat.h"
#include "protocol/TextFile.h"
#include "ui/BusyCursor.h"
#include "ui/KeyboardFocus.h"
#include "ui/MeterStartup.h"
#include "ui/PlainText.h"
#include "ui/Twips.h"
#include "ui/UserDialogs.h"
#include "ui/WindowGeometry.h"
#include "ui/WrapButton.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr QSize menuFrameSize(3135, 2895);
constexpr QSize heatRunFrameSize(4335, 4575);

// A fixed text of the window and where it stands, in twips.
struct Placed
{
    QString text;
    QRect place;
};

// Both menu captions take two lines, "files" on the second: the blanks in
// the first one are there to push "files" down.
const Placed heatRunMenuButton{QStringLiteral("       &Heat Run Test       files"), QRect(600, 360, 2055, 615)};
const Placed measurementsMenuButton{QStringLiteral("&Resistance Measurement files"), QRect(600, 1200, 2055, 615)};
const Placed exitMenuButton{QStringLiteral("E&xit"), QRect(600, 2040, 2055, 495)};
const Placed closeButton{QStringLiteral("&Close"), QRect(1680, 120, 1215, 375)};
const QString heatRunFrameCaption = QStringLiteral("Heat Run Test Files");
const Placed heatRunHeadings[] = {
    {QStringLiteral("No."), QRect(240, 360, 375, 255)},
    {QStringLiteral("File Name / Job Id"), QRect(960, 360, 2895, 255)},
    {QStringLiteral("Action"), QRect(3000, 360, 855, 255)},
};
// A heat-run slot's row: its number, its name and its Download button.
constexpr int heatRunRowTop = 720;
constexpr int heatRunRowStep = 480;
const QRect heatRunNumberPlace(360, 0, 255, 255);
const Placed heatRunEmptyName{QStringLiteral(" - - Empty - -"), QRect(960, 0, 1575, 255)};
const Placed heatRunDownload{QStringLiteral("Download"), QRect(2880, -60, 1095, 375)};

QRect inRow(const QRect &place, int slot)
{
    return place.translated(0, heatRunRowTop + heatRunRowStep * slot);
}

template <typename Widget>
Widget *place(Widget *widget, const QString &name, const QRect &twips)
{
    if (!name.isEmpty())
        widget->setObjectName(name);
    widget->setGeometry(Twips::rect(twips));
    return widget;
}

template <typename Widget>
Widget *place(Widget *widget, const QString &name, int left, int top, int width, int height)
{
    return place(widget, name, QRect(left, top, width, height));
}

QLabel *heading(QWidget *parent, const QString &text, const QRect &twips)
{
    auto *label = place(new QLabel(text, parent), QString(), twips);
    label->setFont(WindowGeometry::sansSerif(8.25, true));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

MeasurementViewDesign windingMeasurementDesign()
{
    MeasurementViewDesign design;
    design.caption = QStringLiteral("Resistance Measurement Files");
    design.width = 14985;
    design.viewport = QRect(120, 900, 14535, 6300);
    design.checkColumn = {QStringLiteral("checkFileNo"), {0, 7440}, 735};
    design.labelColumns = {
        {QStringLiteral("lblFileName"), {840, 8160}, 735},    {QStringLiteral("lblRes1_T"), {1680, 9000}, 855},
        {QStringLiteral("lblRes2_T"), {2640, 9960}, 855},     {QStringLiteral("lblTemp"), {3600, 10920}, 495},
        {QStringLiteral("lblRes1_20"), {4080, 11400}, 1095},  {QStringLiteral("lblRes2_20"), {5280, 12600}, 1095},
        {QStringLiteral("lblConductor"), {6360, 13680}, 735},
    };
    // Two rows of headings: the channels stand under the measured and the corrected resistance.
    for (int column = 0; column < 2; ++column) {
        const int shift = 7320 * column;
        design.headings += {
            {QStringLiteral("File No."), QRect(120 + shift, 360, 675, 435)},
            {QStringLiteral("Filename"), QRect(840 + shift, 360, 795, 435)},
            {QStringLiteral("Measured Resistance"), QRect(1800 + shift, 360, 2325, 315)},
            {column == 0 ? QStringLiteral("  Resistance (20 C)") : QStringLiteral(" Resistance (20 C)"),
             QRect(4320 + shift, 360, 1710, 315)},
            {QStringLiteral("Conductor"), QRect(6240 + shift, 360, 885, 435)},
            {QStringLiteral("Ch 1"), QRect(1800 + shift, 600, 1005, 195)},
            {QStringLiteral("Ch 2"), QRect(2760 + shift, 600, 885, 195)},
            {QStringLiteral("Temp"), QRect(3645 + shift, 600, 480, 195)},
            {QStringLiteral("Ch 1"), QRect(4320 + shift, 600, 1125, 195)},
            {QStringLiteral("Ch 2"), QRect(5385 + shift, 600, 645, 195)},
        };
    }
    design.spokenHeadings = {QStringLiteral("File No."),
                             QStringLiteral("Filename"),
                             QStringLiteral("Measured Resistance Ch 1"),
                             QStringLiteral("Measured Resistance Ch 2"),
                             QStringLiteral("Temp"),
                             QStringLiteral("Resistance (20 C) Ch 1"),
                             QStringLiteral("Resistance (20 C) Ch 2"),
                             QStringLiteral("Conductor")};
    // Also blanks the first row's right-hand file name, as the design has it.
    setExportColumns(design, windingColumns());
    design.exportButtonLeft = 6960;
    return design;
}

} // namespace

WindingMeterWindow::WindingMeterWindow(const MeterWindowContext &context)
    : MeterWindow(context)
{
    setObjectName(QStringLiteral("frmWRM_Temperature"));
    setFont(WindowGeometry::sansSerif(8.25, false));
    m_canvas = WindowGeometry::addCanvas(this);
    WindowGeometry::setOuterSizeTwips(this, 15150 + WindowGeometry::frameWidthTwips,
                                      8415 + WindowGeometry::frameHeightTwips);
    buildMenu();
    buildHeatRunView();
    m_view = new MeasurementView(windingMeasurementDesign(), m_saveDialog, dialogs(), m_canvas);
    m_saveDialog.fileName.clear();
    m_saveDialog.meterModel = state().model;
    // Also the first focus after a failed start-up, which leaves the menu as designed.
    focusMenu();
}

WindingMeterWindow::~WindingMeterWindow() = default;

void WindingMeterWindow::buildMenu()
{
    m_menuFrame = place(new QGroupBox(m_canvas), QStringLiteral("frameCommand"), 120, 540, 3135, 2895);
    auto *heatRun = new WrapButton(heatRunMenuButton.text, m_menuFrame);
    auto *measurements = new WrapButton(measurementsMenuButton.text, m_menuFrame);
    for (WrapButton *button : {heatRun, measurements})
        button->setMinimumLines(2);
    m_heatRunButton = place(heatRun, QStringLiteral("cmdHRT"), heatRunMenuButton.place);
    m_measurementsButton = place(measurements, QStringLiteral("cmdRM"), measurementsMenuButton.place);
    m_exitButton = place(new QPushButton(exitMenuButton.text, m_menuFrame), QStringLiteral("cmdExit"),
                         exitMenuButton.place);
    m_heatRunButton->setAccessibleName(QStringLiteral("Heat Run Test files"));
    connect(m_heatRunButton, &QPushButton::clicked, this, &WindingMeterWindow::showHeatRunView);
    connect(m_measurementsButton, &QPushButton::clicked, this, &WindingMeterWindow::showMeasurementView);
    connect(m_exitButton, &QPushButton::clicked, this, &WindingMeterWindow::exitProgram);

    m_closeButton = place(new QPushButton(closeButton.text, m_canvas), QStringLiteral("cmdClose"), closeButton.place);
    m_closeButton->hide();
    connect(m_closeButton, &QPushButton::clicked, this, &WindingMeterWindow::showMenu);
}

void WindingMeterWindow::buildHeatRunView()
{
    m_heatRunFrame = place(new QGroupBox(heatRunFrameCaption, m_canvas), QStringLiteral("Frame1"), 120, 3480,
                           heatRunFrameSize.width(), heatRunFrameSize.height());
    m_heatRunFrame->setFont(WindowGeometry::sansSerif(9.75, true));
    for (const Placed &text : heatRunHeadings)
        heading(m_heatRunFrame, text.text, text.place);
    const QFont plain = WindowGeometry::sansSerif(8.25, false);
    for (int slot = 0; slot < heatRunSlots; ++slot) {
        // The slot's number is the access key of its Download button: Alt+3 downloads slot 3.
        static_assert(heatRunSlots <= 9, "one digit per slot");
        auto *number = place(new QLabel(QStringLiteral("&%1.").arg(slot + 1), m_heatRunFrame), QString(),
                             inRow(heatRunNumberPlace, slot));
        number->setFont(plain);
        m_heatRunNames[slot] = place(new QLabel(heatRunEmptyName.text, m_heatRunFrame),
                                     QStringLiteral("lblFile_%1").arg(slot), inRow(heatRunEmptyName.place, slot));
        m_heatRunNames[slot]->setFont(plain);
        m_heatRunNames[slot]->setTextFormat(Qt::PlainText); // later holds a name sent by the meter
        m_heatRunDownloadButtons[slot] = place(new QPushButton(heatRunDownload.text, m_heatRunFrame),
                                               QStringLiteral("cmdDownload_%1").arg(slot), inRow(heatRunDownload.place, slot));
        m_heatRunDownloadButtons[slot]->setFont(plain);
        m_heatRunDownloadButtons[slot]->setEnabled(false);
        m_heatRunDownloadButtons[slot]->setAccessibleName(
            QStringLiteral("Download heat run test file %1").arg(slot + 1));
        number->setBuddy(m_heatRunDownloadButtons[slot]);
        connect(m_heatRunDownloadButtons[slot], &QPushButton::clicked, this, [this, slot] { downloadHeatRun(slot); });
    }
    m_heatRunFrame->hide();
}

QList<TextRoom> WindingMeterWindow::textRooms(const QLocale &locale)
{
    using Kind = TextRoom::Kind;
    QList<TextRoom> rooms =
        MeasurementView::textRooms(windingMeasurementDesign(), familyProtocol(MeterFamily::Winding).longestTexts(locale));
    for (const Placed &button : {heatRunMenuButton, measurementsMenuButton})
        rooms.append({button.text, button.place.width(), button.place.height(), 8.25, false, Kind::WrappedButton, 2});
    for (const Placed &button : {exitMenuButton, closeButton, heatRunDownload})
        rooms.append({button.text, button.place.width(), button.place.height(), 8.25, false, Kind::Button});
    rooms.append({heatRunFrameCaption, heatRunFrameSize.width(), 255, 9.75, true, Kind::Label});
    for (const Placed &text : heatRunHeadings)
        rooms.append({text.text, text.place.width(), text.place.height(), 8.25, true, Kind::WrappedLabel});
    rooms.append({QStringLiteral("%1.").arg(heatRunSlots), heatRunNumberPlace.width(), heatRunNumberPlace.height(),
                  8.25, false, Kind::Label});
    rooms.append({heatRunEmptyName.text, heatRunEmptyName.place.width(), heatRunEmptyName.place.height(), 8.25, false,
                  Kind::Label});
    // A slot name is the meter's text, shown bold.
    for (const QString &name : heatRunLongestNames())
        rooms.append({name, heatRunEmptyName.place.width(), heatRunEmptyName.place.height(), 8.25, true, Kind::Label});
    return rooms;
}

void WindingMeterWindow::loadFiles()
{
    MeterStartup::ListLoad listLoad(list(), m_view->files(), dialogs(), progress());
    listLoad.onHeatRunCount = [this](int count) {
        m_heatRunCount = count;
        if (count == 0)
            m_heatRunButton->setEnabled(false);
    };
    listLoad.onHeatRunNames = [this](const QList<std::optional<QString>> &names) { showHeatRunNames(names); };
    const MeterLoad::Result result = listLoad.run(MeterFamily::Winding, exchange(), stopRequest());
    if (result.end == MeterLoad::End::StartupFailed)
        dialogs().critical(MessageTexts::fatalErrorTitle(), familyProtocol(MeterFamily::Winding).startupFailure());
    if (!listLoad.countRead())
        return;
    m_fileCount = listLoad.fileCount();
    m_shortRecords = windingUsesShortRecords(m_fileCount);
    if (result.end == MeterLoad::End::Ended)
        return;

    list().setupScroll();
    showMenu();
}

void WindingMeterWindow::showHeatRunNames(const QList<std::optional<QString>> &names)
{
    for (int slot = 0; slot < heatRunSlots && slot < names.size(); ++slot) {
        if (!names[slot])
            continue;
        m_heatRunMeterNames[slot] = *names[slot];
        PlainText::setLabelText(m_heatRunNames[slot], *names[slot]);
        QFont bold = m_heatRunNames[slot]->font();
        bold.setBold(true);
        m_heatRunNames[slot]->setFont(bold);
        m_heatRunDownloadButtons[slot]->setEnabled(true);
    }
}

void WindingMeterWindow::showView(QGroupBox *frame, QSize frameTwips, int heightExtra, bool withClose)
{
    frame->move(Twips::toPixels(120), Twips::toPixels(60));
    m_windowTwips = QSize(frameTwips.width() + 330, frameTwips.height() + heightExtra);
    WindowGeometry::setOuterSizeTwips(this, m_windowTwips.width(), m_windowTwips.height());
    frame->show();
    if (withClose) {
        m_closeTwips = QPoint((m_windowTwips.width() - 1215) / 2, frameTwips.height() + 180);
        m_closeButton->move(Twips::toPixels(m_closeTwips.x()), Twips::toPixels(m_closeTwips.y()));
        m_closeButton->show();
    }
    WindowGeometry::centreOnScreen(this, m_windowTwips.width(), m_windowTwips.height());
}

void WindingMeterWindow::showHeatRunView()
{
    m_menuFrame->hide();
    showView(m_heatRunFrame, heatRunFrameSize, 1200, true);
    // Slot 1 may be empty: the focus goes to the first slot that can be downloaded.
    for (QPushButton *button : m_heatRunDownloadButtons) {
        if (button->isEnabled()) {
            button->setFocus();
            return;
        }
    }
    m_closeButton->setFocus();
}

void WindingMeterWindow::showMeasurementView()
{
    m_menuFrame->hide();
    showView(m_view, m_view->sizeTwips(), 1200, true);
    m_view->centreExportButton();
    if (QWidget *first = m_view->firstFocus(this, m_closeButton))
        first->setFocus();
}

void WindingMeterWindow::showMenu()
{
    m_heatRunFrame->hide();
    m_view->hide();
    m_closeButton->hide();
    showView(m_menuFrame, menuFrameSize, 720, false);
    focusMenu();
}

void WindingMeterWindow::focusMenu()
{
    if (QWidget *first = KeyboardFocus::firstUsable({m_heatRunButton, m_measurementsButton, m_exitButton}))
        first->setFocus();
}

void WindingMeterWindow::escapePressed()
{
    if (m_heatRunFrame->isVisibleTo(this) || m_view->isVisibleTo(this))
        showMenu();
    else
        exitProgram();
}


void WindingMeterWindow::downloadHeatRun(int index)
{
    if (index < 0 || index >= heatRunSlots)
        return;
    // Enabled again however the download ends, with the focus where it was.
    const BusyFrame busyFrame(m_heatRunFrame);
    const BusyCursor busy;

    QByteArray content;
    const ExchangeOutcome outcome = MeterLoad::fetchHeatRun(exchange(), index, &content);
    if (outcome == ExchangeOutcome::Ended)
        return;
    if (outcome != ExchangeOutcome::Reply) {
        dialogs().critical(MessageTexts::errorTitle(), MessageTexts::downloadFailed());
        return;
    }
    const QString path = askHeatRunPath(index);
    if (path.isEmpty())
        return;
    const WriteResult written = writeBytesFile(path, content);
    if (!written.ok) {
        dialogs().critical(MessageTexts::errorTitle(), written.error);
        return;
    }
    SaveDialog::saved(SaveFileType::csvFile(), path);
    QFont normal = m_heatRunNames[index]->font();
    normal.setBold(false);
    m_heatRunNames[index]->setFont(normal);
}

QString WindingMeterWindow::askHeatRunPath(int slot)
{
    // A slot saved before proposes its own file again. Any other proposes the
    // meter's name for it, in the folder last used, and never a file another
    // slot or the measurement export was just written to: Enter in the dialog
    // would replace it.
    const SaveFileType type = SaveFileType::csvFile();
    QString folder;
    QString name;
    if (const QFileInfo before(m_heatRunPaths[size_t(slot)]); !before.filePath().isEmpty()) {
        folder = before.absolutePath();
        name = before.fileName();
    } else {
        folder = SaveLocation::startFolder(type.kind);
        QStringList written(m_heatRunPaths.begin(), m_heatRunPaths.end());
        written << m_saveDialog.fileName; // the measurement export's last file
        QStringList taken;
        for (const QString &path : std::as_const(written)) {
            if (!path.isEmpty() && QFileInfo(path).absolutePath() == folder)
                taken << QFileInfo(path).fileName();
        }
        name = heatRunFileName(m_heatRunMeterNames[size_t(slot)], slot, taken);
    }
    const QString chosen = SaveDialog::showSaveProposing(dialogs(), type, folder, name);
    if (!chosen.isEmpty())
        m_heatRunPaths[size_t(slot)] = chosen;
    return chosen;
}
