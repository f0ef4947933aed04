// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QList>
#include <QString>

// A text that a control must show whole, in the box the design gives it.
struct TextRoom
{
    enum class Kind {
        Label,          // one line, from the left edge
        WrappedLabel,   // word-wrapped within the box's width and height
        Button,         // one line inside the push button's frame
        WrappedButton,  // a WrapButton's lines inside its frame
        CheckBox,       // one line beside the check box's indicator
    };

    QString text;                 // as the control holds it; "&" marks an access key on buttons
    int widthTwips = 0;
    int heightTwips = 0;
    qreal designPoints = 8.25;    // the design's size of the control's font
    bool bold = false;
    Kind kind = Kind::Label;
    int minimumLines = 1;         // WrappedButton: the caption's lines in the design
};

// The face every window is drawn in and the factor that the twip layout is
// scaled by, chosen once for the whole program.
struct ScreenFontChoice
{
    QString family;
    qreal points = 8.25;          // what the design's 8.25 points become
    double layoutScale = 1.0;     // pixels per design pixel (15 twips)

    // The font for a size of the design (8.25, 9.75, 24 points), in proportion.
    QFont font(qreal designPoints, bool bold) const;
};

namespace ScreenFont {

// The design's own point size: no window text is drawn smaller.
constexpr qreal designPoints = 8.25;
constexpr double largestScale = 3.0;

// The design's own face where this system has it ("MS Sans Serif" or its
// successor); else empty.
QString designFace();

// The desktop's user-interface font, as the platform reports it.
QFont desktopFont();

// Whether `room` shows its whole text with `font` when the layout is scaled by `scale`.
bool fits(const TextRoom &room, const QFont &font, double scale);

// The smallest layout factor, in steps of 0.01 from 1, at which every room fits.
double scaleNeeded(const QList<TextRoom> &rooms, const ScreenFontChoice &font);

// The rule: the design's face at the design's size where the system has it;
// else the desktop's font at its own size, never below the design's 8.25
// points. Either way the layout grows as little as every room needs.
ScreenFontChoice choose(const QString &faceOfDesign, const QFont &desktop, const QList<TextRoom> &rooms);

// The rule applied to every window's texts (designTextRooms()), this
// system's faces and the desktop's font; needs a QApplication.
ScreenFontChoice programChoice();

// The face and layout factor every window is drawn with. The program sets
// them once at start, before any window is made; until then the design as drawn.
const ScreenFontChoice &current();
void use(const ScreenFontChoice &choice);

} // namespace ScreenFont
