// SPDX-License-Identifier: MIT
#include "FamilyControls.h"

#include "ui/FileListWindow.h"
#include "ui/WindingMeterWindow.h"

FamilyControls controlsOf(MeterWindow *window)
{
    FamilyControls controls;
    if (auto *winding = dynamic_cast<WindingMeterWindow *>(window)) {
        controls.list = &winding->list();
        controls.selectAll = [winding] { winding->lblSelectAll_Click(); };
        controls.exportTicked = [winding] { winding->cmdRMDownload_Click(); };
        controls.showList = [winding] { winding->cmdRM_Click(); };
    } else if (auto *listWindow = dynamic_cast<FileListWindow *>(window)) {
        controls.list = &listWindow->list();
        controls.selectAll = [listWindow] { listWindow->lblSelectAll_Click(); };
        controls.exportTicked = [listWindow] { listWindow->cmdRMDownload_Click(); };
        controls.showList = [] {};
    }
    return controls;
}
