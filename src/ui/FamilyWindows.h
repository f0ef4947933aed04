// SPDX-License-Identifier: MIT
#pragma once

#include "ui/MeterWindow.h"
#include "ui/ScreenFont.h"

#include <QList>
#include <QLocale>

// The window the program opens for each meter family.
struct FamilyWindow
{
    MeterFamily family;
    std::unique_ptr<MeterWindow> (*create)(const MeterWindowContext &context);
    // Every text the window can come to show, in its room (the fit check).
    QList<TextRoom> (*textRooms)(const QLocale &locale);
};
const QList<FamilyWindow> &familyWindows();

// The window of ProgramState::family.
std::unique_ptr<MeterWindow> createFamilyWindow(const MeterWindowContext &context);
