// SPDX-License-Identifier: MIT
#include "ui/WrapButton.h"

#include <QFontMetricsF>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

// A caption split into what is shown and which character, if any, is the
// access key (underlined where the style underlines them).
struct Visible
{
    QString text;
    qsizetype accessKey = -1;
};

Visible splitAccessKey(const QString &caption)
{
    Visible visible;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size()) {
            ++i;
            if (caption.at(i) != QLatin1Char('&') && visible.accessKey < 0)
                visible.accessKey = visible.text.size();
        }
        visible.text += caption.at(i);
    }
    return visible;
}

struct Range
{
    qsizetype start = 0;
    qsizetype length = 0;
};

// A caption's lines, and the width they filled: the widest line as laid out,
// its leading blanks included. Wrapping at that width gives the same lines.
struct Wrapped
{
    QList<Range> lines;
    qreal filledWidth = 0;
};

// Lines of `text` wrapped at word boundaries, then stripped of the blanks
// around them; lines made only of blanks are dropped.
Wrapped wrapAt(const QString &text, const QFont &font, qreal width)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    Wrapped wrapped;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        wrapped.filledWidth = std::max(wrapped.filledWidth, line.naturalTextWidth());
        Range range{line.textStart(), line.textLength()};
        while (range.length > 0 && text.at(range.start).isSpace()) {
            ++range.start;
            --range.length;
        }
        while (range.length > 0 && text.at(range.start + range.length - 1).isSpace())
            --range.length;
        if (range.length > 0)
            wrapped.lines.append(range);
    }
    layout.endLayout();
    return wrapped;
}

Wrapped wrapToLines(const QString &text, const QFont &font, qreal width, int minimumLines)
{
    Wrapped wrapped = wrapAt(text, font, width);
    // Narrowing just below the widest line moves its last word down; every
    // step is at least half a pixel, so this ends once each word stands alone.
    while (wrapped.lines.size() < minimumLines && width > 1) {
        width = std::min(width, wrapped.filledWidth) - 0.5;
        wrapped = wrapAt(text, font, width);
    }
    return wrapped;
}

// The caption as the style should draw it: the lines joined by line breaks,
// with the access key marked again.
QString styledText(const Visible &visible, const QList<Range> &lines)
{
    QStringList shown;
    for (const Range &range : lines) {
        QString line;
        for (qsizetype i = range.start; i < range.start + range.length; ++i) {
            if (i == visible.accessKey)
                line += QLatin1Char('&');
            line += visible.text.at(i);
            if (visible.text.at(i) == QLatin1Char('&'))
                line += QLatin1Char('&');
        }
        shown << line;
    }
    return shown.join(QLatin1Char('\n'));
}

} // namespace

namespace CaptionWrap {

QString visibleText(const QString &caption)
{
    return splitAccessKey(caption).text;
}

QStringList lines(const QString &caption, const QFont &font, qreal width, int minimumLines)
{
    QStringList result;
    for (const Range &range : wrapToLines(caption, font, width, minimumLines).lines)
        result << caption.mid(range.start, range.length);
    return result;
}

} // namespace CaptionWrap

WrapButton::WrapButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
}

void WrapButton::setMinimumLines(int lines)
{
    m_minimumLines = std::max(1, lines);
    updateGeometry();
    update();
}

QStringList WrapButton::lines() const
{
    return CaptionWrap::lines(CaptionWrap::visibleText(text()), font(), textArea(size()).width(), m_minimumLines);
}

QRect WrapButton::textArea(const QSize &size) const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    option.rect = QRect(QPoint(0, 0), size);
    return style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
}

QString WrapButton::paintedText(qreal width) const
{
    const Visible visible = splitAccessKey(text());
    return styledText(visible, wrapToLines(visible.text, font(), width, m_minimumLines).lines);
}

QSize WrapButton::sizeHint() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const Visible visible = splitAccessKey(text());
    const Wrapped wrapped = wrapToLines(visible.text, font(), QWIDGETSIZE_MAX, m_minimumLines);
    option.text = styledText(visible, wrapped.lines);
    // As wide as the lines were filled, blanks included, so that they wrap
    // the same way again at this width.
    const QSize textSize(int(std::ceil(wrapped.filledWidth)),
                         fontMetrics().size(Qt::TextShowMnemonic, option.text).height());
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, textSize, this);
}

QSize WrapButton::minimumSizeHint() const
{
    return sizeHint();
}

int WrapButton::heightForWidth(int width) const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    // The frame around the text does not depend on the height.
    const int textWidth = textArea(QSize(width, 100)).width();
    option.text = paintedText(textWidth);
    const QSize textSize = fontMetrics().size(Qt::TextShowMnemonic, option.text);
    return style()->sizeFromContents(QStyle::CT_PushButton, &option, QSize(textWidth, textSize.height()), this)
        .height();
}

void WrapButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text = paintedText(textArea(size()).width());
    painter.drawControl(QStyle::CE_PushButton, option);
}
