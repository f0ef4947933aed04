// SPDX-License-Identifier: MIT
#pragma once

#include "ui/UserDialogs.h"

#include <QList>
#include <QStringList>

// Answers the program's message boxes and save dialogs from a script and
// records what was shown.
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
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
};
