// SPDX-License-Identifier: MIT
#pragma once

#include <QList>
#include <QString>

class StopRequest;

// Message boxes and the save dialog. The program's own implementation uses
// QMessageBox and QFileDialog; tests answer them from a script.
class UserDialogs
{
public:
    virtual ~UserDialogs() = default;

    // Modal box with an OK button and the critical-error icon.
    virtual void critical(const QString &title, const QString &text) = 0;
    enum class LoadChoice { GoOn, Stop };
    // A record that failed while a meter window loads: the critical box with
    // OK, which goes on with the next file, and "Stop Loading", which keeps
    // the files read so far and sends nothing more to the meter.
    virtual LoadChoice loadFailure(const QString &title, const QString &text) = 0;
    // Modal box with an OK button and no icon.
    virtual void information(const QString &title, const QString &text) = 0;

    struct SaveRequest
    {
        QString filter;           // one file type, e.g. "HTML table (*.html)"
        QString proposedName;     // file name shown in the dialog; may be empty
        QString defaultSuffix;    // added to a name typed without one, e.g. "html"
        QString folder;           // where the dialog opens; empty: the dialog's own choice
        // Further file types offered after the first one, e.g. "CSV (*.csv)",
        // each with the suffix added to a name typed without one.
        struct FileType
        {
            QString filter;
            QString suffix;
        };
        QList<FileType> alsoOffered;
    };
    // The chosen path, or an empty string when the user cancelled.
    virtual QString saveFileName(const SaveRequest &request) = 0;
};

// QMessageBox and QFileDialog. Says nothing once the program is ending.
class QtUserDialogs : public UserDialogs
{
public:
    explicit QtUserDialogs(const StopRequest &stop)
        : m_stop(stop)
    {
    }

    void critical(const QString &title, const QString &text) override;
    LoadChoice loadFailure(const QString &title, const QString &text) override;
    void information(const QString &title, const QString &text) override;
    QString saveFileName(const SaveRequest &request) override;

    // The dialog's file-type entry: "Description (pattern)" as given, or
    // made from the "description | pattern" form, with the pattern once.
    static QString nameFilter(const QString &filter);

private:
    const StopRequest &m_stop;
};

// The title of the program's own message boxes.
inline QString programTitle()
{
    return QStringLiteral("Kestrix");
}
