// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QComboBox;
class QScrollArea;
class QWidget;

// Window sizes are given as outer sizes in twips, frame and title bar
// included, as the meter windows have always been laid out.
//
// Every control of a window lies on a canvas of the designed client size,
// shown through a scroll area that fills the window. Where the screen's free
// area holds the design, the window is exactly the canvas and no scroll bar
// shows; on a smaller screen, or at a high scale factor, the window takes what
// the screen has and the canvas scrolls in it. The user may make a window
// smaller, or as large as its design, but not larger.
namespace WindowGeometry {

// Frame and title bar, in twips, that an outer size includes.
constexpr int frameWidthTwips = 120;
constexpr int frameHeightTwips = 480;

// Gives `window` its canvas: the parent of every control of the window.
QWidget *addCanvas(QWidget *window);
QScrollArea *scrollAreaOf(const QWidget *window);
// Scrolls the window's canvas, where it scrolls, as little as it takes to
// show `part` (pixels in `control`): in each direction whole where the view
// holds it, else from its start.
void bringIntoView(QWidget *control, const QRect &part);

// The canvas takes the designed client size; the window takes as much of it
// as the screen's free area holds.
void setOuterSizeTwips(QWidget *window, int widthTwips, int heightTwips);
void setClientSize(QWidget *window, QSize design);

// Centres the window on its screen as the design does, then moves it as far as
// needed to bring its frame and title bar onto the screen's free area.
void centreOnScreen(QWidget *window, int widthTwips, int heightTwips);
void keepOnScreen(QWidget *window, QPoint wantedTopLeft);

// The frame and title bar around the client area, pixels on each side: what
// the window system reports, but never less than the design allows for, as
// the window system tells only once the window is on screen.
QMargins frameMargins(const QWidget *window);

// The client size for a designed one in `room`: the design where it fits;
// otherwise the room, widened (or heightened) by a scroll bar's breadth where
// the other direction scrolls and there is space for it.
QSize fittedClientSize(QSize design, QSize room, QSize scrollBars);

// Where a frame wanting to stand at `frame` stands within `area`: moved in
// as far as needed; larger than the area, it keeps its top left corner there.
QPoint keptWithin(const QRect &frame, const QRect &area);

// Widens a drop-down list's field, keeping its Left, until its longest entry
// shows whole, but not past `rightEdge` (pixels in its parent).
void fitComboToEntries(QComboBox *combo, int rightEdge);

// The windows' font at a size of the design (8.25, 9.75 or 24 points): the
// face chosen for the program, in proportion (ScreenFont).
QFont sansSerif(qreal points, bool bold);

} // namespace WindowGeometry
