// SPDX-License-Identifier: MIT
#pragma once

#include "ui/ScreenFont.h"

#include <QList>

class QLocale;

// Every caption, heading and cell of every window with the longest texts it
// can come to hold, in the box the design gives it. The program's font and
// layout factor are chosen so that all of them show whole. Numbers and dates
// are written as the windows write them under `locale`.
QList<TextRoom> designTextRooms(const QLocale &locale);
