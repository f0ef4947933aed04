// SPDX-License-Identifier: MIT
#pragma once

#include "app/UserDialogs.h"

// A window's save dialog: it remembers the last name chosen through it, so
// the next use proposes that name again unless the caller clears it.
class CommonDialog
{
public:
    QString FileName;

    // Shows the dialog for saving; returns the chosen path (also kept in
    // FileName), or an empty string when the user cancelled.
    QString showSave(UserDialogs &dialogs, const QString &filter, const QString &defaultExt)
    {
        const QString chosen = dialogs.saveFileName({filter, FileName, defaultExt});
        if (!chosen.isEmpty())
            FileName = chosen;
        return chosen;
    }
};
