// SPDX-License-Identifier: MIT
#pragma once

#include <QPushButton>
#include <QStringList>

class QFont;

// A push button whose caption wraps at word boundaries into centred lines, as
// the menu buttons of the meters' windows were drawn. text() stays the caption
// exactly as given (blanks and access key included); only the painting and the
// size hint see the lines.
class WrapButton : public QPushButton
{
    Q_OBJECT

public:
    explicit WrapButton(const QString &caption, QWidget *parent = nullptr);

    // The caption keeps at least this many lines in any font, as the design
    // drew it; a narrower face would otherwise pull it onto fewer lines.
    void setMinimumLines(int lines);
    int minimumLines() const { return m_minimumLines; }

    // The lines as painted now, without the access-key mark.
    QStringList lines() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRect textArea(const QSize &size) const;
    QString paintedText(qreal width) const;

    int m_minimumLines = 1;
};

namespace CaptionWrap {

// The caption without its access-key marks ("E&xit" -> "Exit", "&&" -> "&").
QString visibleText(const QString &caption);

// The caption's lines when wrapped at word boundaries at `width` pixels, each
// without the blanks around it. Blanks between words count when the lines are
// filled, so a run of blanks still pushes the following word down. With
// `minimumLines` above the count that fits, the width is narrowed until the
// caption has that many lines (or each word stands alone). `caption` is
// visible text, without access-key marks.
QStringList lines(const QString &caption, const QFont &font, qreal width, int minimumLines = 1);

} // namespace CaptionWrap
