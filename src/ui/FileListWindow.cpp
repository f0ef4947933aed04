// SPDX-License-Identifier: MIT
#include "ui/FileListWindow.h"

#include "ui/BusyCursor.h"
#include "link/StopRequest.h"
#include "ui/UserDialogs.h"
#include "ui/MeasurementExport.h"
#include "link/QtSerialLink.h"
#include "ui/FileRows.h"
#include "ui/KeyboardFocus.h"
#include "ui/MeterStartup.h"
#include "ui/PlainText.h"
#include "ui/Twips.h"
#include "ui/WindowGeometry.h"
#include "ui/filelist/ClickLabel.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace {

constexpr int frame2Height = 7935;

} // namespace

FileListWindow::FileListWindow(const MeterWindowContext &context, FileListWindowDesign design)
    : MeterWindow(context.stop)
    , m_design(std::move(design))
    , m_state(context.state)
    , m_dialogs(context.dialogs)
    , m_progress(context.showProgress)
    , MSComm2(context.makePort(QtSerialLink::meterBufferSize))
    , m_exchange(std::make_unique<Exchange>(*MSComm2, context.stop, context.timing))
{
    setObjectName(QLatin1String(m_design.windowName));
    CommonDialog1.meterModel = m_state.MeterModel;
    buildControls();
}

FileListWindow::~FileListWindow()
{
    MSComm2->close();
}

void FileListWindow::buildControls()
{
    setFont(WindowGeometry::sansSerif(8.25, false));
    QWidget *canvas = WindowGeometry::addCanvas(this);
    WindowGeometry::setOuterSizeTwips(this, m_design.frame2Width + 330, frame2Height + 1200);

    Frame2 = new QGroupBox(m_design.frameCaption, canvas);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setFont(WindowGeometry::sansSerif(9.75, true));
    Frame2->setGeometry(Twips::rect(120, 240, m_design.frame2Width, frame2Height));
    Frame2->hide();

    const QFont headingFont = WindowGeometry::sansSerif(8.25, true);
    for (const FileListWindowDesign::Heading &heading : m_design.headings) {
        for (int column = 0; column < 2; ++column) {
            auto *label = new QLabel(heading.text, Frame2);
            label->setFont(headingFont);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setGeometry(Twips::rect(heading.left[column], 480, heading.width, 435));
        }
    }

    m_list = std::make_unique<FileList>(Frame2, FileListGeometry{m_design.frame4, 6135}, m_design.checkColumn,
                                        m_design.labelColumns);
    QStringList headingTexts;
    for (const FileListWindowDesign::Heading &heading : m_design.headings)
        headingTexts << heading.text;
    m_list->setColumnHeadings(headingTexts);
    FileRows::holdDesignRows(*m_list);

    // The frame's caption is bold; the list and the links under it are not.
    const QFont plain = WindowGeometry::sansSerif(8.25, false);
    m_list->Frame4()->setFont(plain);

    lblSelectAll = new ClickLabel(QStringLiteral("Select All"), Frame2);
    lblSelectAll->setObjectName(QStringLiteral("lblSelectAll"));
    lblSelectAll->setGeometry(Twips::rect(360, 7560, 660, 195));
    lblSelectAll->setFont(plain);
    connect(lblSelectAll, &ClickLabel::clicked, this, &FileListWindow::lblSelectAll_Click);

    lblUnselectAll = new ClickLabel(QStringLiteral("Unselect All"), Frame2);
    lblUnselectAll->setObjectName(QStringLiteral("lblUnselectAll"));
    lblUnselectAll->setGeometry(Twips::rect(1800, 7560, 840, 195));
    lblUnselectAll->setFont(plain);
    connect(lblUnselectAll, &ClickLabel::clicked, this, &FileListWindow::lblUnselectAll_Click);

    cmdRMDownload = new QPushButton(QStringLiteral("&Download"), Frame2);
    cmdRMDownload->setObjectName(QStringLiteral("cmdRMDownload"));
    cmdRMDownload->setFont(plain);
    cmdRMDownload->setGeometry(Twips::rect(0, 7440, 1215, 375));
    connect(cmdRMDownload, &QPushButton::clicked, this, &FileListWindow::cmdRMDownload_Click);

    cmdExit = new QPushButton(QStringLiteral("&Exit"), canvas);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->resize(Twips::toPixels(1215), Twips::toPixels(375));
    cmdExit->hide();
    connect(cmdExit, &QPushButton::clicked, this, &FileListWindow::cmdExit_Click);
}

void FileListWindow::load()
{
    const BusyCursor busy;
    PlainText::setWindowTitle(this, m_state.windowTitle());
    MeterStartup::openPort(*MSComm2, m_state.MeterPort);

    // Without a count the window stays in its design state: no list, no Exit button.
    const std::optional<int> count =
        MeterStartup::requestStartupCount(*m_exchange, m_design.countRequest, 2, 5, m_dialogs, m_design.countFailure);
    if (!count) {
        keepKeyboardAfterFailure();
        return;
    }
    m_fileCount = *count;
    FileRows::createForCount(*m_list, m_fileCount);

    const auto fetch = [this](int index) { return fetchRecord(index); };
    if (MeterStartup::fetchEveryRecord(*m_list, m_progress, stopRequest(), fetch) == MeterStartup::LoadEnd::Ended)
        return;

    m_list->setupScroll();
    layOutLoadedWindow();
    m_loaded = true;
}

MeterStartup::LoadStep FileListWindow::fetchRecord(int index)
{
    const MeterStartup::RecordReply fetched = MeterStartup::fetchRecordReply(
        *m_exchange, m_design.recordRequest(index), m_design.recordRule, m_dialogs);
    if (!fetched.reply)
        return fetched.step;
    return MeterStartup::applyRecord(*m_list, index, m_design.decodeRecord(*fetched.reply), m_dialogs);
}

void FileListWindow::layOutLoadedWindow()
{
    Frame2->move(Twips::toPixels(120), Twips::toPixels(60));
    const int windowWidth = m_design.frame2Width + 330;
    const int windowHeight = frame2Height + 1200;
    m_windowTwips = QSize(windowWidth, windowHeight);
    WindowGeometry::setOuterSizeTwips(this, windowWidth, windowHeight);
    Frame2->show();

    cmdExit->move(Twips::toPixels((windowWidth - 1215) / 2), Twips::toPixels(frame2Height + 180));
    cmdExit->show();
    cmdRMDownload->move(Twips::toPixels((m_design.frame2Width - 1215) / 2), Twips::toPixels(7440));
    WindowGeometry::centreOnScreen(this, windowWidth, windowHeight);
}

void FileListWindow::keepKeyboardAfterFailure()
{
    // Nothing on it can take the keyboard: the window itself does, so that
    // Escape ends the program and a screen reader has something to stand on.
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleDescription(QStringLiteral("The meter's file count could not be read. Escape ends the program."));
}

QWidget *FileListWindow::firstFocus()
{
    if (!m_loaded)
        return this;
    // The scroll bar when there is one; else the first file, else Download.
    if (m_list->VScroll1()->isVisibleTo(this))
        return m_list->VScroll1();
    if (QWidget *file = KeyboardFocus::firstIn(m_list->Frame4()))
        return file;
    return KeyboardFocus::firstUsable({cmdRMDownload, cmdExit});
}

void FileListWindow::showEvent(QShowEvent *event)
{
    MeterWindow::showEvent(event);
    if (QWidget *first = firstFocus())
        QTimer::singleShot(0, first, qOverload<>(&QWidget::setFocus));
}

void FileListWindow::keyPressEvent(QKeyEvent *event)
{
    // Escape does what the window's one way out does: Exit.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdExit_Click();
        return;
    }
    MeterWindow::keyPressEvent(event);
}

QStringList FileListWindow::screenCells(int row) const
{
    QStringList cells{m_list->checkCaption(row)};
    for (int column = 0; column < m_design.labelColumns.size(); ++column)
        cells << m_list->cellText(row, column);
    return cells;
}

void FileListWindow::cmdExit_Click()
{
    MSComm2->close();
    stopRequest().request();
    close();
}

void FileListWindow::cmdRMDownload_Click()
{
    MeasurementExport exporter{Frame2, *m_list, CommonDialog1, m_dialogs, m_design.exportHeadings,
                               [this](int row) { return m_design.exportCells(screenCells(row)); }};
    exporter.run();
}

void FileListWindow::lblSelectAll_Click()
{
    m_list->lblSelectAll_Click();
}

void FileListWindow::lblUnselectAll_Click()
{
    m_list->lblUnselectAll_Click();
}
