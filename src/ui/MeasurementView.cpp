// SPDX-License-Identifier: MIT
#include "ui/MeasurementView.h"

#include "ui/FileRows.h"
#include "ui/KeyboardFocus.h"
#include "ui/MeasurementExport.h"
#include "ui/Twips.h"
#include "ui/WindowGeometry.h"
#include "ui/filelist/ClickLabel.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

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

    if (m_design.exportButtonFirst) {
        addExportButton();
        addLinks();
    } else {
        addLinks();
        addExportButton();
    }
    hide();
}

MeasurementView::~MeasurementView() = default;

void MeasurementView::addLinks()
{
    const QFont plain = WindowGeometry::sansSerif(8.25, false);
    m_selectAllLink = new ClickLabel(QStringLiteral("Select All"), this);
    m_selectAllLink->setObjectName(QStringLiteral("lblSelectAll"));
    m_selectAllLink->setGeometry(Twips::rect(360, 7560, 660, 195));
    m_selectAllLink->setFont(plain);
    connect(m_selectAllLink, &ClickLabel::clicked, this, &MeasurementView::selectAll);

    m_unselectAllLink = new ClickLabel(QStringLiteral("Unselect All"), this);
    m_unselectAllLink->setObjectName(QStringLiteral("lblUnselectAll"));
    m_unselectAllLink->setGeometry(Twips::rect(1800, 7560, 840, 195));
    m_unselectAllLink->setFont(plain);
    connect(m_unselectAllLink, &ClickLabel::clicked, this, &MeasurementView::unselectAll);
}

void MeasurementView::addExportButton()
{
    m_exportButton = new QPushButton(QStringLiteral("&Download"), this);
    m_exportButton->setObjectName(QStringLiteral("cmdRMDownload"));
    m_exportButton->setFont(WindowGeometry::sansSerif(8.25, false));
    m_exportButton->setGeometry(Twips::rect(m_design.exportButtonLeft, 7440, 1215, 375));
    connect(m_exportButton, &QPushButton::clicked, this, &MeasurementView::exportTicked);
}

void MeasurementView::centreExportButton()
{
    m_exportButton->move(Twips::toPixels((m_design.width - 1215) / 2), Twips::toPixels(7440));
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
    MeasurementExport exporter{this, *m_list, m_saveDialog, m_dialogs, m_design.columns.headings,
                               [this](int row) { return m_files.exportCells(row); }};
    exporter.run();
}
