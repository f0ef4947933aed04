// SPDX-License-Identifier: MIT
#include "ui/MeasurementView.h"

#include "protocol/DownloadTables.h"
#include "ui/FileRows.h"
#include "ui/KeyboardFocus.h"
#include "ui/MeasurementExport.h"
#include "ui/SaveDialog.h"
#include "ui/Twips.h"
#include "ui/WindowGeometry.h"
#include "ui/filelist/ClickLabel.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

namespace {

// The controls under the list, in twips.
const QRect selectAllPlace(360, 7560, 660, 195);
const QRect unselectAllPlace(1800, 7560, 840, 195);
constexpr QSize exportButtonSize(1215, 375);
constexpr int exportButtonTop = 7440;
QString selectAllText() { return QStringLiteral("Select All"); }
QString unselectAllText() { return QStringLiteral("Unselect All"); }
QString exportButtonText() { return QStringLiteral("&Download"); }

constexpr int cellHeight = 255;
// File numbers have four digits at most: the count is four digits.
QString widestFileNumber() { return QStringLiteral("9999"); }

} // namespace

void setExportColumns(MeasurementViewDesign &design, const FamilyColumns &columns)
{
    design.columns = columns;
    design.blankFirstRightColumn = columns.blankSecondSlotColumn;
}

MeasurementView::MeasurementView(MeasurementViewDesign design, SaveDialog &saveDialog, UserDialogs &dialogs,
                                 QWidget *parent)
    : QGroupBox(design.caption, parent)
    , m_design(std::move(design))
    , m_saveDialog(saveDialog)
    , m_dialogs(dialogs)
    , m_files(m_design.columns, 0, QLocale())
{
    setObjectName(QStringLiteral("Frame2"));
    setFont(WindowGeometry::sansSerif(9.75, true));
    setGeometry(Twips::rect(120, 240, m_design.width, MeasurementViewDesign::height));

    const QFont headingFont = WindowGeometry::sansSerif(8.25, true);
    for (const MeasurementViewDesign::Heading &heading : m_design.headings) {
        auto *label = new QLabel(heading.text, this);
        label->setFont(headingFont);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setGeometry(
            Twips::rect(heading.place.x(), heading.place.y(), heading.place.width(), heading.place.height()));
    }

    m_list = std::make_unique<FileList>(this, FileListGeometry{m_design.viewport, 6135}, m_design.checkColumn,
                                        m_design.labelColumns);
    // The frame's caption is bold; the list and the controls under it are not.
    m_list->viewport()->setFont(WindowGeometry::sansSerif(8.25, false));
    m_list->setColumnHeadings(m_design.spokenHeadings);
    if (m_design.blankFirstRightColumn >= 0)
        m_list->setCellText(1, m_design.blankFirstRightColumn, QString());
    FileRows::holdDesignRows(*m_list);

    // Tab follows the reading order: the links on the left, then Download.
    addLinks();
    addExportButton();
    hide();
}

MeasurementView::~MeasurementView() = default;

QList<TextRoom> MeasurementView::textRooms(const MeasurementViewDesign &design, const QList<QStringList> &longestTexts)
{
    using Kind = TextRoom::Kind;
    QList<TextRoom> rooms{{design.caption, design.width, 255, 9.75, true, Kind::Label}};
    for (const MeasurementViewDesign::Heading &heading : design.headings)
        rooms.append({heading.text, heading.place.width(), heading.place.height(), 8.25, true, Kind::WrappedLabel});
    rooms.append({widestFileNumber(), design.checkColumn.widthTwips, cellHeight, 8.25, false, Kind::CheckBox});
    for (int column = 0; column < design.labelColumns.size(); ++column) {
        for (const QString &text : longestTexts.value(column) + QStringList{RecordCells::unfilledText()})
            rooms.append({text, design.labelColumns[column].widthTwips, cellHeight, 8.25, false, Kind::Label});
    }
    rooms.append({selectAllText(), selectAllPlace.width(), selectAllPlace.height(), 8.25, false, Kind::Label});
    rooms.append({unselectAllText(), unselectAllPlace.width(), unselectAllPlace.height(), 8.25, false, Kind::Label});
    rooms.append({exportButtonText(), exportButtonSize.width(), exportButtonSize.height(), 8.25, false, Kind::Button});
    return rooms;
}

void MeasurementView::addLinks()
{
    const QFont plain = WindowGeometry::sansSerif(8.25, false);
    m_selectAllLink = new ClickLabel(selectAllText(), this);
    m_selectAllLink->setObjectName(QStringLiteral("lblSelectAll"));
    m_selectAllLink->setGeometry(Twips::rect(selectAllPlace));
    m_selectAllLink->setFont(plain);
    connect(m_selectAllLink, &ClickLabel::clicked, this, &MeasurementView::selectAll);

    m_unselectAllLink = new ClickLabel(unselectAllText(), this);
    m_unselectAllLink->setObjectName(QStringLiteral("lblUnselectAll"));
    m_unselectAllLink->setGeometry(Twips::rect(unselectAllPlace));
    m_unselectAllLink->setFont(plain);
    connect(m_unselectAllLink, &ClickLabel::clicked, this, &MeasurementView::unselectAll);
}

void MeasurementView::addExportButton()
{
    m_exportButton = new QPushButton(exportButtonText(), this);
    m_exportButton->setObjectName(QStringLiteral("cmdRMDownload"));
    m_exportButton->setFont(WindowGeometry::sansSerif(8.25, false));
    m_exportButton->setGeometry(Twips::rect(QRect(QPoint(m_design.exportButtonLeft, exportButtonTop), exportButtonSize)));
    connect(m_exportButton, &QPushButton::clicked, this, &MeasurementView::exportTicked);
}

void MeasurementView::centreExportButton()
{
    m_exportButton->move(Twips::toPixels((m_design.width - exportButtonSize.width()) / 2),
                         Twips::toPixels(exportButtonTop));
}

QWidget *MeasurementView::firstFocus(QWidget *window, QWidget *fallback) const
{
    if (m_list->scrollBar()->isVisibleTo(window))
        return m_list->scrollBar();
    if (QWidget *file = KeyboardFocus::firstIn(m_list->viewport()))
        return file;
    return KeyboardFocus::firstUsable({m_exportButton, fallback});
}

void MeasurementView::selectAll()
{
    m_list->selectAll();
}

void MeasurementView::unselectAll()
{
    m_list->unselectAll();
}

void MeasurementView::exportTicked()
{
    MeasurementExport exporter{this,
                               *m_list,
                               m_saveDialog,
                               m_dialogs,
                               m_design.columns.headings,
                               [this](int row) { return m_files.exportCells(row); },
                               [this](const QList<int> &rows) { return dataTable(m_files, rows); },
                               workbookProperties(m_saveDialog.meterModel, m_files)};
    exporter.run();
}
