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

constexpr int frameHeight = 7935;

} // namespace

FileListWindow::FileListWindow(const MeterWindowContext &context, FileListWindowDesign design)
    : m_design(std::move(design))
    , m_state(context.state)
    , m_dialogs(context.dialogs)
    , m_progress(context.showProgress)
    , m_port(context.makePort(QtSerialLink::meterBufferSize))
    , m_exchange(std::make_unique<Exchange>(*m_port))
{
    setObjectName(QLatin1String(m_design.windowName));
    m_saveDialog.meterModel = m_state.model;
    buildControls();
}

FileListWindow::~FileListWindow()
{
    m_port->close();
}

void FileListWindow::buildControls()
{
    setFont(WindowGeometry::sansSerif(8.25, false));
    QWidget *canvas = WindowGeometry::addCanvas(this);
    WindowGeometry::setOuterSizeTwips(this, m_design.frameWidth + 330, frameHeight + 1200);

    m_measurementFrame = new QGroupBox(m_design.frameCaption, canvas);
    m_measurementFrame->setObjectName(QStringLiteral("Frame2"));
    m_measurementFrame->setFont(WindowGeometry::sansSerif(9.75, true));
    m_measurementFrame->setGeometry(Twips::rect(120, 240, m_design.frameWidth, frameHeight));
    m_measurementFrame->hide();

    const QFont headingFont = WindowGeometry::sansSerif(8.25, true);
    for (const FileListWindowDesign::Heading &heading : m_design.headings) {
        for (int column = 0; column < 2; ++column) {
            auto *label = new QLabel(heading.text, m_measurementFrame);
            label->setFont(headingFont);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setGeometry(Twips::rect(heading.left[column], 480, heading.width, 435));
        }
    }

    m_list = std::make_unique<FileList>(m_measurementFrame, FileListGeometry{m_design.viewport, 6135},
                                        m_design.checkColumn, m_design.labelColumns);
    QStringList headingTexts;
    for (const FileListWindowDesign::Heading &heading : m_design.headings)
        headingTexts << heading.text;
    m_list->setColumnHeadings(headingTexts);
    FileRows::holdDesignRows(*m_list);

    // The frame's caption is bold; the list and the links under it are not.
    const QFont plain = WindowGeometry::sansSerif(8.25, false);
    m_list->viewport()->setFont(plain);

    m_selectAllLink = new ClickLabel(QStringLiteral("Select All"), m_measurementFrame);
    m_selectAllLink->setObjectName(QStringLiteral("lblSelectAll"));
    m_selectAllLink->setGeometry(Twips::rect(360, 7560, 660, 195));
    m_selectAllLink->setFont(plain);
    connect(m_selectAllLink, &ClickLabel::clicked, this, &FileListWindow::selectAll);

    m_unselectAllLink = new ClickLabel(QStringLiteral("Unselect All"), m_measurementFrame);
    m_unselectAllLink->setObjectName(QStringLiteral("lblUnselectAll"));
    m_unselectAllLink->setGeometry(Twips::rect(1800, 7560, 840, 195));
    m_unselectAllLink->setFont(plain);
    connect(m_unselectAllLink, &ClickLabel::clicked, this, &FileListWindow::unselectAll);

    m_exportButton = new QPushButton(QStringLiteral("&Download"), m_measurementFrame);
    m_exportButton->setObjectName(QStringLiteral("cmdRMDownload"));
    m_exportButton->setFont(plain);
    m_exportButton->setGeometry(Twips::rect(0, 7440, 1215, 375));
    connect(m_exportButton, &QPushButton::clicked, this, &FileListWindow::exportTicked);

    m_exitButton = new QPushButton(QStringLiteral("&Exit"), canvas);
    m_exitButton->setObjectName(QStringLiteral("cmdExit"));
    m_exitButton->resize(Twips::toPixels(1215), Twips::toPixels(375));
    m_exitButton->hide();
    connect(m_exitButton, &QPushButton::clicked, this, &FileListWindow::exitProgram);
}

void FileListWindow::load()
{
    const BusyCursor busy;
    PlainText::setWindowTitle(this, m_state.windowTitle());
    MeterStartup::openPort(*m_port, m_state.port);

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
    if (MeterStartup::fetchEveryRecord(*m_list, m_progress, fetch) == MeterStartup::LoadEnd::Ended)
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
    m_measurementFrame->move(Twips::toPixels(120), Twips::toPixels(60));
    const int windowWidth = m_design.frameWidth + 330;
    const int windowHeight = frameHeight + 1200;
    m_windowTwips = QSize(windowWidth, windowHeight);
    WindowGeometry::setOuterSizeTwips(this, windowWidth, windowHeight);
    m_measurementFrame->show();

    m_exitButton->move(Twips::toPixels((windowWidth - 1215) / 2), Twips::toPixels(frameHeight + 180));
    m_exitButton->show();
    m_exportButton->move(Twips::toPixels((m_design.frameWidth - 1215) / 2), Twips::toPixels(7440));
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
    if (m_list->scrollBar()->isVisibleTo(this))
        return m_list->scrollBar();
    if (QWidget *file = KeyboardFocus::firstIn(m_list->viewport()))
        return file;
    return KeyboardFocus::firstUsable({m_exportButton, m_exitButton});
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
        exitProgram();
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

void FileListWindow::exitProgram()
{
    m_port->close();
    StopRequest::request();
    close();
}

void FileListWindow::exportTicked()
{
    MeasurementExport exporter{
        m_measurementFrame, *m_list, m_saveDialog, m_dialogs, m_design.exportHeadings, [this](int row) {
            return m_design.exportCells(screenCells(row));
        }};
    exporter.run();
}

void FileListWindow::selectAll()
{
    m_list->selectAll();
}

void FileListWindow::unselectAll()
{
    m_list->unselectAll();
}
