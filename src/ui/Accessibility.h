// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

class QAccessibleEvent;

// What a screen reader is told beyond Qt's defaults.
namespace Accessibility {

// Lets the program's own widgets below, and the meter windows, describe
// themselves. Safe to call more than once.
void installFactory();

// Tells the screen reader, if one listens, about a change it would not see
// by itself. A listener set here hears every such event first: Qt passes
// events on only while a reader is active, which no test platform has.
void tell(QAccessibleEvent &event);
using Listener = void (*)(QAccessibleEvent *event);
Listener setListener(Listener listener); // returns the one it replaces

} // namespace Accessibility

// The detection window's "7 / 100": a label on screen, a progress bar for a
// screen reader, whose value follows the text (7 of 100).
class ProgressLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ProgressLabel(const QString &text, QWidget *parent = nullptr);

    // Shows `text`; "n / N" also sets the value to n of N and tells the screen reader.
    void setProgressText(const QString &text);

    int value() const { return m_value; }
    int maximum() const { return m_maximum; }

private:
    int m_value = 0;
    int m_maximum = 0; // 0: nothing counted yet
};

// A line that a screen reader speaks when it appears (a notification), such
// as the detection window's warning and its "PC successfully connected to".
class AnnouncedLabel : public QLabel
{
    Q_OBJECT
public:
    explicit AnnouncedLabel(const QString &text, QWidget *parent = nullptr);
};
