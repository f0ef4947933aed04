// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QLabel;
class QMessageBox;
class QWidget;

// Text that comes from a meter (an identification, a file name) or from the
// user (a chosen path) is only ever shown, never interpreted. Qt reads markup
// in a label or message box whose text merely looks like HTML: an
// identification such as "<img src=/dev/zero>" would make it open and read
// that file. And a control character would break the line or cut it short.
// These helpers show such text literally; the stored text stays as it came.
namespace PlainText {

// The text as it is shown: the C0 controls and DEL as their Unicode control
// pictures (NUL as U+2400, CR as U+240D, ESC as U+241B, DEL as U+2421), the
// C1 controls and the line and paragraph separators as U+FFFD. Anything else,
// markup characters included, is left as it is.
QString shown(const QString &text);

// Sets the label to show `text` literally (Qt::PlainText, control characters
// as in shown()). The format is set before the text, so markup is never parsed.
void setLabelText(QLabel *label, const QString &text);

// A window title that shows `text` literally: control characters as in
// shown(), and every "[*]" doubled, since Qt takes a single "[*]" for the
// modified-document marker and shows "[*][*]" as "[*]".
QString windowTitle(const QString &text);
void setWindowTitle(QWidget *window, const QString &text);

// A tool tip that shows `text` literally. Tool tips have no text format of
// their own and read markup wherever the text looks like it, so the text is
// given to them as escaped rich text. An empty text gives no tool tip.
QString toolTip(const QString &text);

// Title and message of a message box, both shown literally.
void setMessage(QMessageBox &box, const QString &title, const QString &text);

} // namespace PlainText
