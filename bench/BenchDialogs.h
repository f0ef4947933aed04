// SPDX-License-Identifier: MIT
#pragma once

#include "ui/UserDialogs.h"

#include <QStringList>

// Message boxes and save dialogs that nobody has to answer: every box is
// recorded, every save dialog gets the same path.
class BenchDialogs : public UserDialogs
{
public:
    QString savePath;
    QStringList boxes;   // "title: text" of every box shown

    void critical(const QString &title, const QString &text) override { boxes << title + QStringLiteral(": ") + text; }
    LoadChoice loadFailure(const QString &title, const QString &text) override
    {
        critical(title, text);
        return LoadChoice::GoOn;
    }
    void information(const QString &title, const QString &text) override
    {
        boxes << title + QStringLiteral(": ") + text;
    }
    QString saveFileName(const SaveRequest &) override { return savePath; }
};
