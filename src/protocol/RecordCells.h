// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QPair>
#include <QString>

// What one record fetch writes into its row of the file list.
//
// The window writes `cells` in every status, in the order given; a column that
// has no entry keeps whatever it shows ("  ---" after start-up). EmptySlot
// additionally disables the row's check box. BadEndMark carries no cells: the
// reply did not end with "]" and the window reports a download error.
struct RecordCells
{
    // What a cell shows before any record has filled it.
    static QString unfilledText() { return QStringLiteral("  ---"); }

    enum class Status { Filled, EmptySlot, BadEndMark };

    Status status = Status::Filled;
    // (label column index, text), in the order they are written.
    QList<QPair<int, QString>> cells;
};
