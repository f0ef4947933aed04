// SPDX-License-Identifier: MIT
#pragma once

#include "ui/UserDialogs.h"

#include <QList>
#include <QStringList>

// Answers the program's message boxes and save dialogs from a script and
// records what was shown. The tests and the benchmark both use it.
class ScriptedDialogs : public UserDialogs
{
public:
    struct Box
    {
        bool critical;
        QString title;
        QString text;
        bool operator==(const Box &other) const = default;
    };

    QList<Box> boxes;
    QList<SaveRequest> saveRequests;
    QStringList saveAnswers; // an empty string cancels the dialog
    QString everyLaterSave;  // the answer once saveAnswers has run out; empty: cancel
    int stopLoadingAtBox = 0; // the load-failure box (1-based) whose answer is "Stop Loading"; 0: never

    void critical(const QString &title, const QString &text) override { boxes << Box{true, title, text}; }
    LoadChoice loadFailure(const QString &title, const QString &text) override
    {
        boxes << Box{true, title, text};
        return boxes.size() == stopLoadingAtBox ? LoadChoice::Stop : LoadChoice::GoOn;
    }
    void information(const QString &title, const QString &text) override { boxes << Box{false, title, text}; }
    QString saveFileName(const SaveRequest &request) override
    {
        saveRequests << request;
        return saveAnswers.isEmpty() ? everyLaterSave : saveAnswers.takeFirst();
    }

    // "title: text" of every box, in order.
    QStringList boxTexts() const
    {
        QStringList texts;
        for (const Box &box : boxes)
            texts << box.title + QStringLiteral(": ") + box.text;
        return texts;
    }
};

// The boxes every meter window may show, written out here rather than taken
// from the program, so that a changed text fails the tests.
namespace knownBoxes {
inline const ScriptedDialogs::Box downloadError{true, "Error", "Error downloading the file"};
inline const ScriptedDialogs::Box communicationError{true, "Error", "Communication Error"};
inline const ScriptedDialogs::Box filesDownloaded{false, "Kestrix", "File(s) downloaded successfully"};
inline const ScriptedDialogs::Box meterLost{true, "Error",
                                            "The meter is no longer connected. The files read so far are listed."};
} // namespace knownBoxes
