// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MeterWindow.h"

#include <QList>

// The window the program opens for each meter family.
struct FamilyWindow
{
    MeterFamily family;
    std::unique_ptr<MeterWindow> (*create)(const MeterWindowContext &context);
};
const QList<FamilyWindow> &familyWindows();

// The window of ProgramState::family.
std::unique_ptr<MeterWindow> createFamilyWindow(const MeterWindowContext &context);
