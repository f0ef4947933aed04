// SPDX-License-Identifier: MIT
#include "ui/FileListWindow.h"

#include "protocol/FamilyProtocol.h"
#include "protocol/MessageTexts.h"
#include "ui/MeterStartup.h"
#include "ui/Twips.h"
#include "ui/UserDialogs.h"
#include "ui/WindowGeometry.h"

#include <QKeyEvent>
#include <QLocale>
#include <QPushButton>
#include <QTimer>

namespace {

constexpr QSize exitButtonSize(1215, 375);
QString exitButtonText()
{
    return QStringLiteral("&Exit");
}

} // namespace

void setListHeadings(MeasurementViewDesign &view, const QList<ListHeading> &headings)
{
    for (const ListHeading &heading : headings) {
        for (int column = 0; column < 2; ++column)
            view.headings.append({heading.text, QRect(heading.left[column], 480, heading.width, 435)});
        view.spokenHeadings.append(heading.text);
    }
}

FileListWindow::FileListWindow(const MeterWindowContext &context, FileListWindowDesign design)
    : MeterWindow(context)
    , m_design(std::move(design))
{
    setObjectName(QLatin1String(m_design.windowName));
    m_saveDialog.meterModel = state().model;
    buildControls();
}

QList<TextRoom> FileListWindow::textRooms(const FileListWindowDesign &design, const QLocale &locale)
{
    return MeasurementView::textRooms(design.view, familyProtocol(design.family).longestTexts(locale))
        << TextRoom{exitButtonText(), exitButtonSize.width(), exitButtonSize.height(), 8.25, false,
                    TextRoom::Kind::Button};
}

FileListWindow::~FileListWindow() = default;

void FileListWindow::buildControls()
{
    setFont(WindowGeometry::sansSerif(8.25, false));
    QWidget *canvas = WindowGeometry::addCanvas(this);
    WindowGeometry::setOuterSizeTwips(this, m_design.view.width + 330, MeasurementViewDesign::height + 1200);

    m_view = new MeasurementView(m_design.view, m_saveDialog, dialogs(), canvas);

    m_exitButton = new QPushButton(exitButtonText(), canvas);
    m_exitButton->setObjectName(QStringLiteral("cmdExit"));
    m_exitButton->resize(Twips::toPixels(exitButtonSize.width()), Twips::toPixels(exitButtonSize.height()));
    m_exitButton->hide();
    connect(m_exitButton, &QPushButton::clicked, this, &FileListWindow::exitProgram);
}

void FileListWindow::loadFiles()
{
    MeterStartup::ListLoad listLoad(list(), m_view->files(), dialogs(), progress());
    const MeterLoad::Result result = listLoad.run(m_design.family, exchange(), stopRequest());
    m_fileCount = listLoad.fileCount();
    // Without a count the window stays in its design state: no list, no Exit button.
    if (!listLoad.countRead()) {
        if (result.end == MeterLoad::End::StartupFailed)
            dialogs().critical(MessageTexts::fatalErrorTitle(), familyProtocol(m_design.family).startupFailure());
        keepKeyboardAfterFailure();
        return;
    }
    if (result.end == MeterLoad::End::Ended)
        return;

    list().setupScroll();
    layOutLoadedWindow();
    m_loaded = true;
}

void FileListWindow::layOutLoadedWindow()
{
    m_view->move(Twips::toPixels(120), Twips::toPixels(60));
    const int windowWidth = m_design.view.width + 330;
    const int windowHeight = MeasurementViewDesign::height + 1200;
    m_windowTwips = QSize(windowWidth, windowHeight);
    WindowGeometry::setOuterSizeTwips(this, windowWidth, windowHeight);
    m_view->show();

    m_exitButton->move(Twips::toPixels((windowWidth - 1215) / 2), Twips::toPixels(MeasurementViewDesign::height + 180));
    m_exitButton->show();
    m_view->centreExportButton();
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
    return m_view->firstFocus(this, m_exitButton);
}

void FileListWindow::showEvent(QShowEvent *event)
{
    MeterWindow::showEvent(event);
    if (QWidget *first = firstFocus())
        QTimer::singleShot(0, first, qOverload<>(&QWidget::setFocus));
}

