// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/DataWorkbook.h"

#include <QList>
#include <QStringList>
#include <functional>

class SaveDialog;
class FileList;
class QWidget;
class UserDialogs;

// The Download button of every measurement view: the ticked rows of the list
// go to one file named in the save dialog: an HTML table, or the data columns
// for spreadsheets when the name chosen ends in ".csv" or ".xlsx".
struct MeasurementExport
{
    QWidget *frame;           // disabled while the export runs
    FileList &list;
    SaveDialog &dialog;
    UserDialogs &dialogs;
    QStringList headings;
    // The cells of one ticked row, in the file's column order.
    std::function<QStringList(int row)> cellsOf;
    // The data columns of the ticked rows, the same as the command line's.
    std::function<DataTable(const QList<int> &rows)> dataTableOf;
    WorkbookProperties workbookProperties;

    // Returns true when the file was written. A cancelled dialog says nothing;
    // a file that cannot be written gets an "Error" box naming the file and
    // the reason, and whatever stood at that path before is left as it was.
    bool run();
};
