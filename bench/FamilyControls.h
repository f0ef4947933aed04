// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

class FileList;
class MeterWindow;

// What the benchmark drives in a family window, whichever family it is.
struct FamilyControls
{
    FileList *list = nullptr;              // null for a window that is no meter window of ours
    std::function<void()> selectAll;       // the Select All link
    std::function<void()> exportTicked;    // the Download button under the list
    std::function<void()> showList;        // brings the list on screen (the winding menu hides it)
};

FamilyControls controlsOf(MeterWindow *window);
