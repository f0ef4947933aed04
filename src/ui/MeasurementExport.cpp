// SPDX-License-Identifier: MIT
#include "ui/MeasurementExport.h"
#include "protocol/MessageTexts.h"

#include "protocol/DataWorkbook.h"
#include "protocol/DownloadTables.h"
#include "protocol/HtmlTable.h"
#include "protocol/TextFile.h"
#include "ui/KeyboardFocus.h"
#include "ui/SaveDialog.h"
#include "ui/UserDialogs.h"
#include "ui/filelist/FileList.h"

#include <QFileInfo>

bool MeasurementExport::run()
{
    // Enabled again however the export ends, with the focus where it was.
    const BusyFrame busy(frame);

    // Each export proposes a fresh name rather than the last one chosen.
    dialog.fileName.clear();
    const SaveFileType type = SaveFileType::htmlTable();
    const QString path = dialog.showSave(dialogs, type, {SaveFileType::csvTable(), SaveFileType::workbook()});
    if (path.isEmpty())
        return false;
    const QString suffix = QFileInfo(path).suffix();
    const bool csv = suffix.compare(SaveFileType::csvTable().suffix, Qt::CaseInsensitive) == 0;
    const bool workbook = suffix.compare(SaveFileType::workbook().suffix, Qt::CaseInsensitive) == 0;

    QList<ExportRow> rows;
    QList<int> ticked;
    rows.reserve(list.fileCount());
    for (int row = 0; row < list.fileCount(); ++row) {
        ExportRow exportRow;
        exportRow.ticked = list.isTicked(row) && list.isCheckEnabled(row);
        if (exportRow.ticked) {
            exportRow.cells = cellsOf(row);
            ticked << row;
        }
        rows << exportRow;
    }

    WriteResult written;
    if (csv)
        written = writeBytesFile(path, dataCsv(dataTableOf(ticked)));
    else if (workbook)
        written = writeDataWorkbook(path, dataTableOf(ticked), workbookProperties);
    else
        written = writeTextFile(path, htmlTable(headings, rows));
    if (!written.ok) {
        dialogs.critical(MessageTexts::errorTitle(), written.error);
        return false;
    }
    SaveDialog::saved(type, path);
    dialogs.information(programTitle(), MessageTexts::filesDownloaded());
    return true;
}
