// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>
#include <QWidget>

#include <initializer_list>

class QKeyEvent;

namespace KeyboardFocus {

// The first widget inside `area` (or `area` itself) that Tab would reach:
// shown, enabled and taking focus by Tab. nullptr when there is none.
QWidget *firstIn(QWidget *area);

// The first of `widgets` that is shown and enabled; nullptr when none is.
QWidget *firstUsable(std::initializer_list<QWidget *> widgets);

// Styles draw focus frames only once a key has moved the focus; a window
// where Space and Enter act on the focused control shows it from the start.
void showFocusFrames(QWidget *window);

// Return or Enter that reached `window` presses its focused button, as on
// Windows (a push button outside a dialog leaves the key to its window).
// Returns whether it did.
bool pressFocusedButton(QWidget *window, const QKeyEvent *event);

} // namespace KeyboardFocus

// Disables a frame while an export or a download runs, and afterwards gives
// the keyboard focus back to the control that had it: disabling the frame
// moves it away (to Close or Exit, where the next Enter would leave the view).
class BusyFrame
{
public:
    explicit BusyFrame(QWidget *frame);
    ~BusyFrame();
    BusyFrame(const BusyFrame &) = delete;
    BusyFrame &operator=(const BusyFrame &) = delete;

private:
    QPointer<QWidget> m_frame;
    QPointer<QWidget> m_focus;
};
