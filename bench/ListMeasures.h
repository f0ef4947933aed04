// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MeterWindow.h"

class ScriptedDialogs;
class FileList;
struct FamilyControls;

namespace sim {
class MeterEmulator;
}

// Timings of the list work a loaded window does, without the meter.
namespace ListMeasures {

// A fresh window of the same family gets the whole list the way the load
// builds it (rows created, every record the simulator holds decoded and
// written into its row, scroll bar set up), without the exchanges. Returns
// the median time in ms over `repeats` fresh windows; `differingRows` counts
// the rows in which the loaded list shows something else.
double timeListBuild(const MeterWindowContext &context, const sim::MeterEmulator &meter, const FileList &loaded,
                     int repeats, int *differingRows);

// Select All, then the Download button with the save dialog answered by
// dialogs.everyLaterSave; median ms over `repeats` exports. -1 when an export
// did not report success.
double timeExportAll(const FamilyControls &window, ScriptedDialogs &dialogs, int repeats);

// One step down the scroll bar (value + 1) and a synchronous repaint of the
// viewport; median ms over `samples` steps spread over the whole range. -1
// when the list has no scroll bar or is not on screen.
double timeScrollStep(FileList &list, int samples);

} // namespace ListMeasures
