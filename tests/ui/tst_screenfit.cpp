// SPDX-License-Identifier: MIT
// Every window and view fits the free area of its screen, frame and title bar
// included; every control of it can be scrolled into view; and where the
// screen holds the design, the window keeps its designed size and place.
// ctest runs this program on offscreen screens of 1366x768 at scale 1 and
// 1920x1080 at scales 1 and 2 (tests/windows/screens).
#include "ChildNamed.h"
#include "FakeSerialLink.h"
#include "ScriptedDialogs.h"
#include "MeterHarness.h"
#include "TemporaryConfigHome.h"
#include "link/StopRequest.h"
#include "app/DetectionDialog.h"
#include "link/StopRequest.h"
#include "ui/FileListWindow.h"
#include "ui/Twips.h"
#include "ui/WindingMeterWindow.h"
#include "ui/WindowGeometry.h"
#include "ui/ScreenFont.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

namespace {

enum class View { Detection, WindingMenu, WindingHeatRun, WindingFiles, Contact, Ratio, Cable };

// A window as the user gets it, with what its design says about it.
struct Shown
{
    std::unique_ptr<MeterHarness> harness; // the simulated meter behind a meter window
    std::unique_ptr<QWidget> splash;
    QWidget *window = nullptr;
    QWidget *frame = nullptr;                // the view's frame, designed at (120, 60) or (45, -15)
    QPoint frameTwips;
    QSize clientDesign;                      // pixels
    QPoint placeDesign;                      // the designed top left corner of the frame
    QStringList controls;                    // controls that must be reachable
};

QScreen *screenOf(const QWidget *window)
{
    return window->screen() ? window->screen() : QGuiApplication::primaryScreen();
}

// Where the design puts a window of this outer size: centred on the screen.
QPoint centredTwips(const QWidget *window, QSize outerTwips)
{
    const QRect screen = screenOf(window)->geometry();
    return screen.topLeft() + QPoint((screen.width() - Twips::toPixels(outerTwips.width())) / 2,
                                     (screen.height() - Twips::toPixels(outerTwips.height())) / 2);
}

QSize clientOf(QSize outerTwips)
{
    return QSize(Twips::toPixels(outerTwips.width() - WindowGeometry::frameWidthTwips),
                 Twips::toPixels(outerTwips.height() - WindowGeometry::frameHeightTwips));
}

// The frame and title bar as the program reckons with them, around the window.
QRect outerRect(const QWidget *window)
{
    return QRect(window->pos(), window->size().grownBy(WindowGeometry::frameMargins(window)));
}

// The part of `widget` that its own containers let show, in canvas pixels.
QRect unclippedPart(const QWidget *widget, const QWidget *canvas)
{
    QRect part(widget->mapTo(canvas, QPoint()), widget->size());
    for (const QWidget *container = widget->parentWidget(); container && container != canvas;
         container = container->parentWidget())
        part &= QRect(container->mapTo(canvas, QPoint()), container->size());
    return part;
}

bool isControl(const QWidget *widget)
{
    return qobject_cast<const QAbstractButton *>(widget) || qobject_cast<const QScrollBar *>(widget)
           || qobject_cast<const QComboBox *>(widget) || widget->focusPolicy() != Qt::NoFocus
           || widget->inherits("ClickLabel");
}

// Scrolls as little as needed to show a stretch of the canvas, or its
// beginning where it is longer than the view.
void scrollTo(QScrollBar *bar, int start, int length, int view)
{
    const int lowest = start + length - view;
    bar->setValue(length >= view ? start : qBound(lowest, bar->value(), start));
}

// Scrolls every control that its containers show whole into the window's
// view; returns the names of those reached, or a failure text.
QStringList reachEveryControl(QWidget *window, QString *failure)
{
    QScrollArea *area = WindowGeometry::scrollAreaOf(window);
    QWidget *canvas = area->widget();
    QStringList reached;
    for (QWidget *widget : canvas->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(window) || !isControl(widget))
            continue;
        const QRect whole(widget->mapTo(canvas, QPoint()), widget->size());
        if (unclippedPart(widget, canvas) != whole)
            continue; // a list row the list itself scrolls away
        // Moved there with the scroll bars (ensureWidgetVisible would show an
        // edit field's text cursor only).
        scrollTo(area->horizontalScrollBar(), whole.left(), whole.width(), area->viewport()->width());
        scrollTo(area->verticalScrollBar(), whole.top(), whole.height(), area->viewport()->height());
        // A control larger than the view shows as much of itself as the view holds.
        const QRect placed(widget->mapTo(area->viewport(), QPoint()), widget->size());
        const QRect seen = placed & area->viewport()->rect();
        if (seen.size() != widget->size().boundedTo(area->viewport()->size())) {
            *failure = QStringLiteral("%1 at %2,%3 %4x%5 stays outside the view %6x%7")
                           .arg(widget->objectName())
                           .arg(placed.x())
                           .arg(placed.y())
                           .arg(placed.width())
                           .arg(placed.height())
                           .arg(area->viewport()->width())
                           .arg(area->viewport()->height());
            return reached;
        }
        reached << widget->objectName();
    }
    return reached;
}

} // namespace

Q_DECLARE_METATYPE(View)

class ScreenFitTest : public QObject
{
    Q_OBJECT

private:
    TemporaryConfigHome m_config;
    ProgramState m_state;
    StopRequest m_stop;
    ScriptedDialogs m_dialogs;

    Shown showDetection()
    {
        Shown shown;
        auto splash = std::make_unique<DetectionDialog>(
            m_state, m_dialogs, m_stop, [](qint64) { return std::make_unique<FakeSerialLink>(); },
            [](const MeterWindowContext &) { return std::unique_ptr<MeterWindow>(); });
        splash->probeTimer().stop(); // no probe: only the window is looked at
        shown.window = splash.get();
        shown.frame = childNamed<QGroupBox>(splash, "fraMainFrame");
        shown.frameTwips = QPoint(45, -15);
        shown.clientDesign = QSize(Twips::toPixels(7695), Twips::toPixels(4605));
        const QRect screen = screenOf(splash.get())->geometry();
        shown.placeDesign = screen.center() - QRect(QPoint(), shown.clientDesign).center();
        shown.controls = QStringList{"comboCOM"};
        shown.splash = std::move(splash);
        return shown;
    }

    static std::unique_ptr<MeterHarness> loaded(const QString &model, MeterFamily kind, const QString &family)
    {
        // Over forty files, so that the list shows its scroll bar.
        auto harness = std::make_unique<MeterHarness>(
            model, kind, QStringList{"--family", family, "--files", "100", "--unpaced"});
        return harness->load() ? std::move(harness) : nullptr;
    }

    Shown showWinding(View view)
    {
        Shown shown;
        shown.harness = loaded(QStringLiteral("[KX-W1]"), MeterFamily::Winding, QStringLiteral("winding"));
        if (!shown.harness)
            return shown;
        auto *winding = shown.harness->as<WindingMeterWindow>();
        shown.window = winding;
        shown.frameTwips = QPoint(120, 60);
        switch (view) {
        case View::WindingHeatRun:
            winding->showHeatRunView();
            shown.frame = childNamed<QGroupBox>(winding, "Frame1");
            shown.controls = QStringList{"cmdDownload_7", "cmdClose"};
            break;
        case View::WindingFiles:
            winding->showMeasurementView();
            shown.frame = childNamed<QGroupBox>(winding, "Frame2");
            shown.controls = QStringList{"cmdRMDownload", "cmdClose", "VScroll1", "lblSelectAll", "lblUnselectAll"};
            break;
        default:
            shown.frame = childNamed<QGroupBox>(winding, "frameCommand");
            shown.controls = QStringList{"cmdHRT", "cmdRM", "cmdExit"};
            break;
        }
        shown.clientDesign = clientOf(winding->windowSizeTwips());
        shown.placeDesign = centredTwips(winding, winding->windowSizeTwips());
        return shown;
    }

    Shown showList(View view)
    {
        Shown shown;
        if (view == View::Contact)
            shown.harness = loaded(QStringLiteral("[KX-C1]"), MeterFamily::Contact, QStringLiteral("contact"));
        else if (view == View::Ratio)
            shown.harness = loaded(QStringLiteral("KXT1"), MeterFamily::Ratio, QStringLiteral("ratio"));
        else
            shown.harness = loaded(QStringLiteral("[KX-R1]"), MeterFamily::Cable, QStringLiteral("cable"));
        if (!shown.harness)
            return shown;
        auto *window = shown.harness->as<FileListWindow>();
        shown.window = window;
        shown.frame = childNamed<QGroupBox>(window, "Frame2");
        shown.frameTwips = QPoint(120, 60);
        shown.clientDesign = clientOf(window->windowSizeTwips());
        shown.placeDesign = centredTwips(window, window->windowSizeTwips());
        shown.controls = QStringList{"cmdRMDownload", "cmdExit", "VScroll1", "lblSelectAll", "lblUnselectAll"};
        return shown;
    }

    Shown show(View view)
    {
        Shown shown;
        switch (view) {
        case View::Detection:
            shown = showDetection();
            break;
        case View::WindingMenu:
        case View::WindingHeatRun:
        case View::WindingFiles:
            shown = showWinding(view);
            break;
        case View::Contact:
        case View::Ratio:
        case View::Cable:
            shown = showList(view);
            break;
        }
        if (shown.window) {
            shown.window->show();
            if (!QTest::qWaitForWindowExposed(shown.window))
                shown.window = nullptr;
        }
        return shown;
    }

    static bool designFits(const Shown &shown)
    {
        const QRect free = screenOf(shown.window)->availableGeometry();
        const QSize outer = shown.clientDesign.grownBy(WindowGeometry::frameMargins(shown.window));
        return outer.width() <= free.width() && outer.height() <= free.height();
    }

    static void addViews()
    {
        QTest::addColumn<View>("view");
        QTest::newRow("detection") << View::Detection;
        QTest::newRow("winding menu") << View::WindingMenu;
        QTest::newRow("winding heat-run files") << View::WindingHeatRun;
        QTest::newRow("winding measurement files") << View::WindingFiles;
        QTest::newRow("contact") << View::Contact;
        QTest::newRow("ratio") << View::Ratio;
        QTest::newRow("cable") << View::Cable;
    }

private slots:
    void initTestCase()
    {
        ScreenFont::use(ScreenFont::programChoice()); // the windows as the program draws them
        const QScreen *screen = QGuiApplication::primaryScreen();
        QVERIFY(screen);
        qInfo("screen %dx%d, free %dx%d at %d,%d, device pixel ratio %.2f", screen->geometry().width(),
              screen->geometry().height(), screen->availableGeometry().width(), screen->availableGeometry().height(),
              screen->availableGeometry().x(), screen->availableGeometry().y(), screen->devicePixelRatio());
    }

    // A run that asks for a screen must get it, or it proves nothing.
    void screenIsTheOneAskedFor()
    {
        const QByteArray asked = qgetenv("KESTRIX_TEST_SCREEN"); // "1920x1080@2"
        if (asked.isEmpty())
            QSKIP("no screen asked for: the platform's own");
        const QList<QByteArray> sizeAndScale = asked.split('@');
        const QList<QByteArray> size = sizeAndScale.value(0).split('x');
        QCOMPARE(size.size(), 2);
        const QScreen *screen = QGuiApplication::primaryScreen();
        const double scale = sizeAndScale.value(1, "1").toDouble();
        QCOMPARE(screen->devicePixelRatio(), scale);
        QCOMPARE(screen->geometry().size() * scale, QSize(size[0].toInt(), size[1].toInt()));
    }

    void pureFit_data()
    {
        QTest::addColumn<QSize>("design");
        QTest::addColumn<QSize>("room");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("fits") << QSize(600, 400) << QSize(1366, 700) << QSize(600, 400);
        QTest::newRow("fits exactly") << QSize(600, 400) << QSize(600, 400) << QSize(600, 400);
        QTest::newRow("too high: widened by the bar") << QSize(600, 700) << QSize(960, 500) << QSize(615, 500);
        QTest::newRow("too wide: heightened by the bar") << QSize(1165, 300) << QSize(960, 500) << QSize(960, 315);
        QTest::newRow("both") << QSize(1165, 663) << QSize(960, 500) << QSize(960, 500);
        QTest::newRow("too high, no room for the bar") << QSize(950, 700) << QSize(960, 500) << QSize(960, 500);
        QTest::newRow("too high, its bar then too wide") << QSize(950, 490) << QSize(960, 480) << QSize(960, 480);
        QTest::newRow("too wide, room for its bar") << QSize(1000, 300) << QSize(960, 480) << QSize(960, 315);
    }

    void pureFit()
    {
        QFETCH(QSize, design);
        QFETCH(QSize, room);
        QFETCH(QSize, expected);
        QCOMPARE(WindowGeometry::fittedClientSize(design, room, QSize(15, 15)), expected);
    }

    void keptWithin_data()
    {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QPoint>("expected");
        const QRect area(0, 30, 1920, 1050); // a panel across the top
        QTest::newRow("inside stays") << QRect(100, 100, 800, 600) << area << QPoint(100, 100);
        QTest::newRow("left of the screen") << QRect(-58, 100, 800, 600) << area << QPoint(0, 100);
        QTest::newRow("title bar above the free area") << QRect(300, 10, 800, 600) << area << QPoint(300, 30);
        QTest::newRow("past the bottom right") << QRect(1500, 900, 800, 600) << area << QPoint(1120, 480);
        QTest::newRow("larger than the area: top left") << QRect(-58, -40, 2026, 1154) << area << QPoint(0, 30);
        QTest::newRow("second screen") << QRect(1800, 100, 400, 300) << QRect(1920, 0, 1280, 1024)
                                       << QPoint(1920, 100);
    }

    void keptWithin()
    {
        QFETCH(QRect, frame);
        QFETCH(QRect, area);
        QFETCH(QPoint, expected);
        QCOMPARE(WindowGeometry::keptWithin(frame, area), expected);
    }

    void windowLiesOnTheFreeArea_data() { addViews(); }
    void windowLiesOnTheFreeArea()
    {
        QFETCH(View, view);
        const Shown shown = show(view);
        QVERIFY(shown.window);
        const QRect free = screenOf(shown.window)->availableGeometry();
        const QRect outer = outerRect(shown.window);
        QVERIFY2(free.contains(outer), qPrintable(QStringLiteral("%1,%2 %3x%4 outside %5x%6")
                                                      .arg(outer.x())
                                                      .arg(outer.y())
                                                      .arg(outer.width())
                                                      .arg(outer.height())
                                                      .arg(free.width())
                                                      .arg(free.height())));
        QVERIFY(free.contains(shown.window->frameGeometry()));
    }

    void everyControlCanBeReached_data() { addViews(); }
    void everyControlCanBeReached()
    {
        QFETCH(View, view);
        const Shown shown = show(view);
        QVERIFY(shown.window);
        QString failure;
        const QStringList reached = reachEveryControl(shown.window, &failure);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        for (const QString &name : shown.controls)
            QVERIFY2(reached.contains(name), qPrintable(name + QStringLiteral(" not among ") + reached.join(' ')));
    }

    // Tab brings each control it reaches into view; the scroll area is no Tab
    // stop of its own and leaves the keys to the window: Page Down on a
    // button does not scroll the window away.
    void keyboardReachesEveryControl_data() { addViews(); }
    void keyboardReachesEveryControl()
    {
        QFETCH(View, view);
        const Shown shown = show(view);
        QVERIFY(shown.window);
        QScrollArea *area = WindowGeometry::scrollAreaOf(shown.window);
        shown.window->resize(shown.window->minimumSize());
        QCoreApplication::processEvents();
        QVERIFY(area->verticalScrollBar()->maximum() > 0);
        shown.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(shown.window));
        // The first focus came with the window, before the shrinking.
        if (QWidget *focus = QApplication::focusWidget())
            focus->clearFocus();
        QStringList visited;
        for (int step = 0; step < 60; ++step) {
            QWidget *focus = QApplication::focusWidget();
            QTest::keyClick(focus ? focus : shown.window, Qt::Key_Tab);
            focus = QApplication::focusWidget();
            QVERIFY(focus);
            QVERIFY2(focus != area && focus != area->viewport() && focus != area->widget(),
                     qPrintable(visited.join(' ')));
            visited << focus->objectName();
            // The control that Tab reaches is scrolled into view.
            const QRect whole(focus->mapTo(area->widget(), QPoint()), focus->size());
            const QRect placed(focus->mapTo(area->viewport(), QPoint()), focus->size());
            if (unclippedPart(focus, area->widget()) == whole && whole.width() <= area->viewport()->width()
                && whole.height() <= area->viewport()->height())
                QVERIFY2(area->viewport()->rect().contains(placed), qPrintable(focus->objectName()));
        }
        const int before = area->verticalScrollBar()->value();
        QTest::keyClick(area, Qt::Key_PageDown);
        QTest::keyClick(area->viewport(), Qt::Key_Down);
        QCOMPARE(area->verticalScrollBar()->value(), before);
    }

    // Where the screen's free area holds the design, nothing differs from it;
    // where it does not, the window is smaller and scrolls.
    void designKeptWhereItFits_data() { addViews(); }
    void designKeptWhereItFits()
    {
        QFETCH(View, view);
        const Shown shown = show(view);
        QVERIFY(shown.window);
        const QSize screen = screenOf(shown.window)->size();
        QScrollArea *area = WindowGeometry::scrollAreaOf(shown.window);
        // A laptop's screen at scale 1 holds every window of the design's own
        // size whole; a desktop font that needs a larger layout may scroll it.
        if (screen.width() >= 1366 && screen.height() >= 768 && ScreenFont::current().layoutScale == 1.0)
            QVERIFY(designFits(shown));
        // A full-HD screen at scale 1 holds them with a desktop font of up to about 10 points.
        if (screen.width() >= 1920 && screen.height() >= 1080 && ScreenFont::current().layoutScale <= 1.5)
            QVERIFY(designFits(shown));
        if (designFits(shown)) {
            QCOMPARE(shown.window->size(), shown.clientDesign);
            QCOMPARE(shown.window->pos(), shown.placeDesign);
            QVERIFY(!area->horizontalScrollBar()->isVisible());
            QVERIFY(!area->verticalScrollBar()->isVisible());
            QCOMPARE(shown.frame->mapTo(shown.window, QPoint()), Twips::rect(shown.frameTwips.x(),
                                                                             shown.frameTwips.y(), 0, 0)
                                                                     .topLeft());
        } else {
            QVERIFY(shown.window->width() < shown.clientDesign.width()
                    || shown.window->height() < shown.clientDesign.height());
            // A scroll bar where the canvas does not fit, and only there (the
            // other bar's breadth may take what would just have fitted).
            QCOMPARE(area->horizontalScrollBar()->isVisible(), area->viewport()->width() < area->widget()->width());
            QCOMPARE(area->verticalScrollBar()->isVisible(), area->viewport()->height() < area->widget()->height());
        }
        // The designed layout inside stays as it is.
        QCOMPARE(area->widget()->size(), shown.clientDesign);
    }

    // The user may shrink a window, and every control stays reachable; it
    // never grows past its design.
    void userResizes_data() { addViews(); }
    void userResizes()
    {
        QFETCH(View, view);
        const Shown shown = show(view);
        QVERIFY(shown.window);
        QVERIFY(shown.window->minimumWidth() < shown.clientDesign.width());
        QVERIFY(shown.window->minimumHeight() < shown.clientDesign.height());
        shown.window->resize(shown.window->minimumSize());
        QCoreApplication::processEvents(); // the scroll area lays out its bars
        QCOMPARE(shown.window->size(), shown.window->minimumSize());
        QString failure;
        const QStringList reached = reachEveryControl(shown.window, &failure);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        for (const QString &name : shown.controls)
            QVERIFY2(reached.contains(name), qPrintable(name));

        shown.window->resize(shown.clientDesign * 2);
        QCoreApplication::processEvents();
        const QSize bars(WindowGeometry::scrollAreaOf(shown.window)->verticalScrollBar()->sizeHint().width(),
                         WindowGeometry::scrollAreaOf(shown.window)->horizontalScrollBar()->sizeHint().height());
        QVERIFY(shown.window->width() <= shown.clientDesign.width() + bars.width());
        QVERIFY(shown.window->height() <= shown.clientDesign.height() + bars.height());
        if (designFits(shown))
            QCOMPARE(shown.window->size(), shown.clientDesign);
    }
};

QTEST_MAIN(ScreenFitTest)
#include "tst_screenfit.moc"
