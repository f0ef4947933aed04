// SPDX-License-Identifier: MIT
#include "FamilyControls.h"

#include "ui/MeasurementView.h"
#include "ui/MeterWindow.h"

#include <QPushButton>

FamilyControls controlsOf(MeterWindow *window)
{
    FamilyControls controls;
    MeasurementView *view = window ? window->measurementView() : nullptr;
    if (!view)
        return controls;
    controls.list = &view->list();
    controls.selectAll = [view] { view->selectAll(); };
    controls.exportTicked = [view] { view->exportTicked(); };
    // The winding meter's menu hides the list: its button brings the list up.
    auto *showButton = window->findChild<QPushButton *>(QStringLiteral("cmdRM"));
    controls.showList = [showButton] {
        if (showButton)
            showButton->click();
    };
    return controls;
}
