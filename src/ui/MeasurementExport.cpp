// SPDX-License-Identifier: MIT
#include "ui/MeasurementExport.h"
#include "ui/MessageTexts.h"

#include "protocol/HtmlTable.h"
#include "protocol/TextFile.h"
#include "ui/KeyboardFocus.h"
#include "ui/SaveDialog.h"
#include "ui/UserDialogs.h"
#include "ui/filelist/FileList.h"

bool MeasurementExport::run()
{
    // Enabled again however the export ends, with the focus where it was.
    const BusyFrame busy(frame);

    // Each export proposes a fresh name rather than the last one chosen.
    dialog.fileName.clear();
    const SaveFileType type = SaveFileType::htmlTable();
    const QString path = dialog.showSave(dialogs, type);
    if (path.isEmpty())
        return false;

    QList<ExportRow> rows;
    rows.reserve(list.fileCount());
    for (int row = 0; row < list.fileCount(); ++row) {
        ExportRow exportRow;
        exportRow.ticked = list.isTicked(row) && list.isCheckEnabled(row);
        if (exportRow.ticked)
            exportRow.cells = cellsOf(row);
        rows << exportRow;
    }

    const WriteResult written = writeTextFile(path, htmlTable(headings, rows));
    if (!written.ok) {
        dialogs.critical(MessageTexts::errorTitle(), written.error);
        return false;
    }
    SaveDialog::saved(type, path);
    dialogs.information(programTitle(), MessageTexts::filesDownloaded());
    return true;
}
