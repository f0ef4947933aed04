// SPDX-License-Identifier: MIT
#include "ui/UserDialogs.h"

#include "link/StopRequest.h"
#include "ui/PlainText.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QWidget *activeParent()
{
    return QApplication::activeWindow();
}

// A modal box with an OK button. Messages may name a path the user chose,
// so title and text are shown literally.
void showBox(QMessageBox::Icon icon, const QString &title, const QString &text)
{
    QMessageBox box(activeParent());
    box.setIcon(icon);
    box.setStandardButtons(QMessageBox::Ok);
    PlainText::setMessage(box, title, text);
    box.exec();
}

} // namespace

void QtUserDialogs::critical(const QString &title, const QString &text)
{
    if (m_stop.isRequested())
        return;
    showBox(QMessageBox::Critical, title, text);
}

UserDialogs::LoadChoice QtUserDialogs::loadFailure(const QString &title, const QString &text)
{
    if (m_stop.isRequested())
        return LoadChoice::Stop;
    QMessageBox box(activeParent());
    box.setIcon(QMessageBox::Critical);
    box.setStandardButtons(QMessageBox::Ok);
    PlainText::setMessage(box, title, text);
    QPushButton *stop = box.addButton(QStringLiteral("Stop &Loading"), QMessageBox::DestructiveRole);
    // OK stays the default and Escape's answer: the load goes on as before
    // unless the user asks for the stop.
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
    return box.clickedButton() == stop ? LoadChoice::Stop : LoadChoice::GoOn;
}

void QtUserDialogs::information(const QString &title, const QString &text)
{
    if (m_stop.isRequested())
        return;
    showBox(QMessageBox::NoIcon, title, text);
}

QString QtUserDialogs::saveFileName(const SaveRequest &request)
{
    if (m_stop.isRequested())
        return {};
    QFileDialog dialog(activeParent());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList filters{nameFilter(request.filter)};
    QStringList suffixes{request.defaultSuffix};
    for (const SaveRequest::FileType &type : request.alsoOffered) {
        filters << nameFilter(type.filter);
        suffixes << type.suffix;
    }
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    // A name typed without a suffix gets the one of the type chosen.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, filters, suffixes](const QString &f) {
        const qsizetype chosen = filters.indexOf(f);
        if (chosen >= 0)
            dialog.setDefaultSuffix(suffixes.at(chosen));
    });
    // Never the current folder: with the installed program that is where
    // its binary lives, which a user cannot write to.
    if (!request.folder.isEmpty())
        dialog.setDirectory(request.folder);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtUserDialogs::nameFilter(const QString &filter)
{
    const qsizetype bar = filter.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return filter.trimmed();
    const QString description = filter.left(bar).trimmed();
    const QString pattern = filter.mid(bar + 1).trimmed();
    const QString bracketed = QStringLiteral("(%1)").arg(pattern);
    if (description.isEmpty() || description == bracketed)
        return bracketed;
    // "(*.html) | *.html" once gave "(*.html) (*.html)".
    if (description.endsWith(bracketed))
        return description;
    return description + QLatin1Char(' ') + bracketed;
}
