// SPDX-License-Identifier: MIT
#include "ui/WindowGeometry.h"

#include "ui/ScreenFont.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

namespace WindowGeometry {

namespace {

const QString scrollAreaName = QStringLiteral("windowScrollArea");
const QString canvasName = QStringLiteral("windowCanvas");

// Small enough for any screen, large enough to find the scroll bars in.
constexpr QSize smallestClient(240, 160);

const QScreen *screenOf(const QWidget *window)
{
    return window->screen() ? window->screen() : QGuiApplication::primaryScreen();
}

bool holds(const QScrollArea *area, QSize size)
{
    return size.width() <= area->viewport()->width() && size.height() <= area->viewport()->height();
}

// Scrolls `bar` as little as it takes to show `length` pixels from `start`
// in a view `view` long; a span longer than the view shows from its start.
void showSpan(QScrollBar *bar, int start, int length, int view)
{
    if (length > view || start < bar->value())
        bar->setValue(start);
    else if (start + length > bar->value() + view)
        bar->setValue(start + length - view);
}

// A scroll area without a frame of its own: the window's frame is enough.
class CanvasArea : public QScrollArea
{
public:
    explicit CanvasArea(QWidget *parent)
        : QScrollArea(parent)
    {
        setFrameShape(QFrame::NoFrame);
        // Places the view at the area's corner at once, not at the first
        // show: a window not yet on screen has its controls where the design
        // puts them too.
        setViewportMargins(QMargins());
        // Not a stop of its own in the Tab order; Tab still scrolls the
        // control it reaches into view.
        setFocusPolicy(Qt::NoFocus);
        connect(qApp, &QApplication::focusChanged, this, &CanvasArea::showFocus);
    }

protected:
    // Keys that a control leaves go on to the window, as they did before the
    // window could scroll; the list keeps its own keys.
    void keyPressEvent(QKeyEvent *event) override { event->ignore(); }

private:
    // The control that takes the keyboard focus (Tab, an access key, the
    // window's own choice) is scrolled into view: whole where the view holds
    // it, an edit field not only its text cursor; else the part with the
    // focus (a list's current item), as a scroll area does. A click needs no
    // scrolling: what was clicked is in view.
    void showFocus(QWidget *, QWidget *control)
    {
        if (!control || !widget()->isAncestorOf(control) || QGuiApplication::mouseButtons() != Qt::NoButton)
            return;
        const QRect whole(QPoint(), control->size());
        // Every widget answers with its middle; only a control that knows
        // where its focus is (a list's current item) answers otherwise.
        const QRect focused = control->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const bool ownFocusPart = focused.isValid()
            && focused != control->QWidget::inputMethodQuery(Qt::ImCursorRectangle).toRect();
        bringIntoView(control, holds(this, whole.size()) || !ownFocusPart ? whole : focused);
    }
};

} // namespace

QWidget *addCanvas(QWidget *window)
{
    auto *area = new CanvasArea(window);
    area->setObjectName(scrollAreaName);
    // The canvas keeps the designed size: a larger window shows it at the top
    // left, a smaller one scrolls it.
    area->setWidgetResizable(false);
    area->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *canvas = new QWidget;
    canvas->setObjectName(canvasName);
    area->setWidget(canvas);
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area);
    return canvas;
}

QScrollArea *scrollAreaOf(const QWidget *window)
{
    return window->findChild<QScrollArea *>(scrollAreaName, Qt::FindDirectChildrenOnly);
}

void bringIntoView(QWidget *control, const QRect &part)
{
    QScrollArea *area = scrollAreaOf(control->window());
    if (!area || !area->widget() || !area->widget()->isAncestorOf(control))
        return;
    const QRect shown(control->mapTo(area->widget(), part.topLeft()), part.size());
    showSpan(area->horizontalScrollBar(), shown.left(), shown.width(), area->viewport()->width());
    showSpan(area->verticalScrollBar(), shown.top(), shown.height(), area->viewport()->height());
}

QMargins frameMargins(const QWidget *window)
{
    const int side = Twips::toPixels(frameWidthTwips / 2);
    const int title = Twips::toPixels(frameHeightTwips - frameWidthTwips / 2);
    QMargins margins(side, title, side, side);
    if (const QWindow *handle = window->windowHandle()) {
        const QMargins reported = handle->frameMargins();
        margins = QMargins(qMax(margins.left(), reported.left()), qMax(margins.top(), reported.top()),
                           qMax(margins.right(), reported.right()), qMax(margins.bottom(), reported.bottom()));
    }
    return margins;
}

QSize fittedClientSize(QSize design, QSize room, QSize scrollBars)
{
    // A scroll bar in one direction takes room in the other, which may then
    // scroll too: two passes settle it.
    bool horizontal = false;
    bool vertical = false;
    QSize size = design;
    for (int pass = 0; pass < 2; ++pass) {
        horizontal = horizontal || size.width() > room.width();
        vertical = vertical || size.height() > room.height();
        size = design + QSize(vertical ? scrollBars.width() : 0, horizontal ? scrollBars.height() : 0);
    }
    return size.boundedTo(room);
}

QPoint keptWithin(const QRect &frame, const QRect &area)
{
    const int left = qMax(area.left(), qMin(frame.left(), area.right() + 1 - frame.width()));
    const int top = qMax(area.top(), qMin(frame.top(), area.bottom() + 1 - frame.height()));
    return QPoint(left, top);
}

void setClientSize(QWidget *window, QSize design)
{
    QScrollArea *area = scrollAreaOf(window);
    area->widget()->setFixedSize(design);
    const QScreen *screen = screenOf(window);
    const QSize room = screen ? screen->availableGeometry().size().shrunkBy(frameMargins(window)) : design;
    const QSize bars(area->verticalScrollBar()->sizeHint().width(), area->horizontalScrollBar()->sizeHint().height());
    const QSize fitted = fittedClientSize(design, room, bars);
    window->setMinimumSize(smallestClient.boundedTo(fitted));
    window->setMaximumSize(design.expandedTo(fitted));
    window->resize(fitted);
    // A new layout is seen from its top left.
    area->horizontalScrollBar()->setValue(0);
    area->verticalScrollBar()->setValue(0);
}

void setOuterSizeTwips(QWidget *window, int widthTwips, int heightTwips)
{
    setClientSize(window, QSize(Twips::toPixels(widthTwips - frameWidthTwips),
                                Twips::toPixels(heightTwips - frameHeightTwips)));
}

void keepOnScreen(QWidget *window, QPoint wantedTopLeft)
{
    const QScreen *screen = screenOf(window);
    if (!screen) {
        window->move(wantedTopLeft);
        return;
    }
    const QRect frame(wantedTopLeft, window->size().grownBy(frameMargins(window)));
    window->move(keptWithin(frame, screen->availableGeometry()));
}

void centreOnScreen(QWidget *window, int widthTwips, int heightTwips)
{
    const QScreen *screen = screenOf(window);
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const int left = (area.width() - Twips::toPixels(widthTwips)) / 2;
    const int top = (area.height() - Twips::toPixels(heightTwips)) / 2;
    keepOnScreen(window, QPoint(area.left() + left, area.top() + top));
}

void fitComboToEntries(QComboBox *combo, int rightEdge)
{
    int widest = 0;
    for (int index = 0; index < combo->count(); ++index)
        widest = qMax(widest, combo->fontMetrics().horizontalAdvance(combo->itemText(index)));
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.rect = combo->rect();
    // The edit field is what the frame and the arrow leave of the box.
    const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
    // A line edit keeps a little margin on either side of its text.
    constexpr int editMargins = 4;
    const int needed = combo->width() - field.width() + widest + editMargins;
    const int width = qMin(qMax(combo->width(), needed), rightEdge - combo->x());
    combo->resize(qMax(combo->width(), width), combo->height());
}

QFont sansSerif(qreal points, bool bold)
{
    return ScreenFont::current().font(points, bold);
}

} // namespace WindowGeometry
