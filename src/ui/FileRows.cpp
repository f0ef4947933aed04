// SPDX-License-Identifier: MIT
#include "ui/FileRows.h"

#include "ui/filelist/FileList.h"

namespace FileRows {

void holdDesignRows(FileList &list)
{
    for (int row = 0; row < list.rowCount(); ++row)
        list.setCheckEnabled(row, false);
}

void createForCount(FileList &list, int fileCount)
{
    list.createRows(fileCount);
    // New rows come enabled; only the design rows may need a change.
    for (int row = 0; row < list.rowCount(); ++row) {
        const bool holdsAFile = row < list.fileCount();
        if (list.isCheckEnabled(row) != holdsAFile)
            list.setCheckEnabled(row, holdsAFile);
    }
}

} // namespace FileRows
