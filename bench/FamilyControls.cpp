// SPDX-License-Identifier: MIT
#include "FamilyControls.h"

#include "ui/FileListWindow.h"
#include "ui/WindingMeterWindow.h"

FamilyControls controlsOf(MeterWindow *window)
{
    FamilyControls controls;
    if (auto *winding = dynamic_cast<WindingMeterWindow *>(window)) {
        controls.list = &winding->list();
        controls.selectAll = [winding] { winding->selectAll(); };
        controls.exportTicked = [winding] { winding->exportTicked(); };
        controls.showList = [winding] { winding->showMeasurementView(); };
    } else if (auto *listWindow = dynamic_cast<FileListWindow *>(window)) {
        controls.list = &listWindow->list();
        controls.selectAll = [listWindow] { listWindow->selectAll(); };
        controls.exportTicked = [listWindow] { listWindow->exportTicked(); };
        controls.showList = [] {};
    }
    return controls;
}
