// SPDX-License-Identifier: MIT
#pragma once

#include "ui/SaveLocation.h"
#include "ui/UserDialogs.h"

#include <QDate>
#include <QFileInfo>
#include <functional>

// A window's save dialog: it remembers the last name chosen through it, so
// the next use proposes that name again unless the caller clears it. Without
// such a name it proposes the meter model and the day, in the folder last
// used for that kind of file.
class SaveDialog
{
public:
    QString fileName;
    QString meterModel; // the proposed name starts with it
    std::function<QDate()> today = [] { return QDate::currentDate(); };

    // Shows the dialog for saving; returns the chosen path (also kept in
    // fileName), or an empty string when the user cancelled.
    QString showSave(UserDialogs &dialogs, const SaveFileType &type, const QList<SaveFileType> &alsoOffered = {})
    {
        QString chosen;
        if (fileName.isEmpty()) {
            chosen = showSaveProposing(dialogs, type, SaveLocation::startFolder(type.kind),
                                SaveLocation::proposedFileName(meterModel, today(), type.suffix), alsoOffered);
        } else {
            const QFileInfo remembered(fileName);
            chosen = showSaveProposing(dialogs, type, remembered.absolutePath(), remembered.fileName(), alsoOffered);
        }
        if (!chosen.isEmpty())
            fileName = chosen;
        return chosen;
    }

    // Shows the dialog proposing `name` in `folder`; remembers nothing.
    static QString showSaveProposing(UserDialogs &dialogs, const SaveFileType &type, const QString &folder,
                              const QString &name, const QList<SaveFileType> &alsoOffered = {})
    {
        UserDialogs::SaveRequest request{type.filter, name, type.suffix, folder, {}};
        for (const SaveFileType &other : alsoOffered)
            request.alsoOffered.append({other.filter, other.suffix});
        return dialogs.saveFileName(request);
    }

    // A file of this kind was written: the next dialog for the kind opens in
    // its folder, in this run and the next ones.
    static void saved(const SaveFileType &type, const QString &path) { SaveLocation::remember(type.kind, path); }
};
