// SPDX-License-Identifier: MIT
#include "ui/PlainText.h"

#include <QLabel>
#include <QMessageBox>
#include <QWidget>

namespace PlainText {

namespace {

constexpr char16_t controlPictures = 0x2400;  // U+2400 NUL symbol; U+2401 is SOH, and so on
constexpr char16_t deletePicture = 0x2421;
constexpr char16_t replacement = 0xFFFD;

QChar shownChar(QChar c)
{
    const char16_t code = c.unicode();
    if (code < 0x20)
        return QChar(char16_t(controlPictures + code));
    if (code == 0x7F)
        return QChar(deletePicture);
    if ((code >= 0x80 && code <= 0x9F) || code == 0x2028 || code == 0x2029)
        return QChar(replacement);
    return c;
}

} // namespace

QString shown(const QString &text)
{
    QString result = text;
    for (QChar &c : result)
        c = shownChar(c);
    return result;
}

void setLabelText(QLabel *label, const QString &text)
{
    label->setTextFormat(Qt::PlainText);
    label->setText(shown(text));
}

QString windowTitle(const QString &text)
{
    return shown(text).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

void setWindowTitle(QWidget *window, const QString &text)
{
    window->setWindowTitle(windowTitle(text));
}

QString toolTip(const QString &text)
{
    if (text.isEmpty())
        return QString();
    return QStringLiteral("<p style=\"white-space:pre-wrap\">") + shown(text).toHtmlEscaped() + QStringLiteral("</p>");
}

void setMessage(QMessageBox &box, const QString &title, const QString &text)
{
    box.setTextFormat(Qt::PlainText);
    setWindowTitle(&box, title);
    box.setText(shown(text));
}

} // namespace PlainText
