// SPDX-License-Identifier: MIT
// Every meter window by keyboard alone: Tab in reading order, Enter on the
// focused button, an access key for every button. Against the simulator's
// meter in memory.
#include "MeterHarness.h"
#include "TemporaryConfigHome.h"
#include "ui/WindingMeterWindow.h"
#include "ui/WindowGeometry.h"
#include "ui/filelist/FileListView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QScrollArea>
#include <QStyleOption>
#include <QTest>

#include <functional>

namespace {

struct WindowView
{
    QString model;
    MeterFamily family;
    QStringList simArguments;
    QString openWith; // the button that shows the view, pressed from the window's first focus; empty: none
};

const WindowView windingMenu{"[KX-W1]", MeterFamily::Winding, {"--family", "winding", "--files", "4", "--heat-run", "3", "--empty-heat-run", "1"}, {}};
const WindowView windingHeatRuns = [] {
    WindowView view = windingMenu;
    view.openWith = "cmdHRT";
    return view;
}();
const WindowView windingMeasurements = [] {
    WindowView view = windingMenu;
    view.openWith = "cmdRM";
    return view;
}();
const WindowView contactWindow{"[KX-C1]", MeterFamily::Contact, {"--family", "contact", "--files", "4"}, {}};
const WindowView cableWindow{"[KX-R1]", MeterFamily::Cable, {"--family", "cable", "--files", "50"}, {}};

// Loads the view's window, shows it active and opens the view.
bool showView(MeterHarness &harness, const WindowView &view)
{
    if (!harness.load())
        return false;
    harness.window->show();
    if (!QTest::qWaitForWindowActive(harness.window.get()))
        return false;
    return view.openWith.isEmpty() || harness.click(view.openWith);
}

QString focusName()
{
    return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QStringLiteral("(none)");
}

// Whether `b` comes after `a` when the window is read left to right, top to
// bottom: on a lower line, or on the same line further right.
bool readsAfter(const QWidget *a, const QWidget *b)
{
    const QRect first(a->mapTo(a->window(), QPoint()), a->size());
    const QRect second(b->mapTo(b->window(), QPoint()), b->size());
    const bool sameLine = second.top() < first.bottom() && first.top() < second.bottom();
    return sameLine ? second.left() > first.left() : second.top() >= first.bottom();
}

QList<QAbstractButton *> visibleButtons(QWidget *window)
{
    QList<QAbstractButton *> buttons;
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (button->isVisibleTo(window))
            buttons << button;
    }
    return buttons;
}

// The key that presses `button`: its own caption's, or that of a label that names it.
QKeySequence accessKey(QAbstractButton *button)
{
    if (const QKeySequence own = QKeySequence::mnemonic(button->text()); !own.isEmpty())
        return own;
    for (QLabel *label : button->window()->findChildren<QLabel *>()) {
        if (label->buddy() == button && label->isVisibleTo(button->window()))
            return QKeySequence::mnemonic(label->text());
    }
    return {};
}

} // namespace

Q_DECLARE_METATYPE(WindowView)

class TestKeyboard : public QObject
{
    Q_OBJECT
private:
    TemporaryConfigHome m_config;

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void tabFollowsTheReadingOrder_data()
    {
        QTest::addColumn<WindowView>("view");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("winding menu") << windingMenu << QStringList{"cmdHRT", "cmdRM", "cmdExit"};
        // Slot 2 is empty: its button takes no Tab.
        QTest::newRow("winding heat runs") << windingHeatRuns << QStringList{"cmdDownload_0", "cmdDownload_2", "cmdClose"};
        const QStringList list{"lstFiles", "lblSelectAll", "lblUnselectAll", "cmdRMDownload"};
        QTest::newRow("winding measurements") << windingMeasurements << list + QStringList{"cmdClose"};
        QTest::newRow("contact") << contactWindow << list + QStringList{"cmdExit"};
        QTest::newRow("cable, with a scroll bar") << cableWindow << list + QStringList{"cmdExit"};
    }
    void tabFollowsTheReadingOrder()
    {
        QFETCH(WindowView, view);
        QFETCH(QStringList, order);
        MeterHarness harness(view.model, view.family, view.simArguments);
        QVERIFY(showView(harness, view));

        // Its focus frame shows before any key: styles draw it for this state.
        QStyleOption option;
        option.initFrom(QApplication::focusWidget());
        QVERIFY(option.state & QStyle::State_KeyboardFocusChange);

        QStringList reached{focusName()};
        QList<QWidget *> widgets{QApplication::focusWidget()};
        for (int step = 1; step < order.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached << focusName();
            widgets << QApplication::focusWidget();
        }
        QCOMPARE(reached, order);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focusName(), order.first()); // round again
        for (int i = 1; i < order.size(); ++i) {
            QVERIFY2(readsAfter(widgets[i - 1], widgets[i]), qPrintable(order[i] + " stands before " + order[i - 1]));
        }
    }

    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<WindowView>("view");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("shows"); // the frame the press brings up; empty: a save dialog is asked for
        QTest::newRow("menu button, Return") << windingMenu << "cmdRM" << int(Qt::Key_Return) << "Frame2";
        QTest::newRow("menu button, keypad Enter") << windingMenu << "cmdHRT" << int(Qt::Key_Enter) << "Frame1";
        QTest::newRow("Close") << windingMeasurements << "cmdClose" << int(Qt::Key_Return) << "frameCommand";
        QTest::newRow("winding Download") << windingMeasurements << "cmdRMDownload" << int(Qt::Key_Return) << "";
        QTest::newRow("contact Download") << contactWindow << "cmdRMDownload" << int(Qt::Key_Enter) << "";
    }
    void enterPressesTheFocusedButton()
    {
        QFETCH(WindowView, view);
        QFETCH(QString, button);
        QFETCH(int, key);
        QFETCH(QString, shows);
        MeterHarness harness(view.model, view.family, view.simArguments);
        QVERIFY(showView(harness, view));
        auto *pressed = harness.window->findChild<QAbstractButton *>(button);
        QVERIFY(pressed);
        pressed->setFocus(Qt::TabFocusReason);
        QTest::keyClick(pressed, Qt::Key(key));
        if (shows.isEmpty()) {
            QCOMPARE(harness.dialogs.saveRequests.size(), 1);
        } else {
            auto *frame = harness.window->findChild<QGroupBox *>(shows);
            QVERIFY(frame);
            QVERIFY(frame->isVisibleTo(harness.window.get()));
        }
    }

    void everyButtonHasItsOwnAccessKey_data()
    {
        QTest::addColumn<WindowView>("view");
        QTest::newRow("winding menu") << windingMenu;
        QTest::newRow("winding heat runs") << windingHeatRuns;
        QTest::newRow("winding measurements") << windingMeasurements;
        QTest::newRow("contact") << contactWindow;
        QTest::newRow("cable") << cableWindow;
    }
    void everyButtonHasItsOwnAccessKey()
    {
        QFETCH(WindowView, view);
        MeterHarness harness(view.model, view.family, view.simArguments);
        QVERIFY(showView(harness, view));
        QMap<QString, QString> owners;
        for (QAbstractButton *button : visibleButtons(harness.window.get())) {
            const QString key = accessKey(button).toString();
            QVERIFY2(!key.isEmpty(), qPrintable(button->objectName() + " has no access key"));
            QVERIFY2(!owners.contains(key), qPrintable(button->objectName() + " shares " + key + " with " + owners[key]));
            owners.insert(key, button->objectName());
        }
    }

    void theCurrentFileStaysInTheWindowsView_data()
    {
        QTest::addColumn<WindowView>("view");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<int>("key");
        WindowView cable = cableWindow;
        cable.simArguments = QStringList{"--family", "cable", "--files", "100"};
        WindowView winding = windingMeasurements;
        winding.simArguments = QStringList{"--family", "winding", "--files", "100"};
        // Far smaller than the design, as at scale 2 on a laptop: the canvas scrolls.
        QTest::newRow("cable, End") << cable << QSize(640, 260) << int(Qt::Key_End);
        QTest::newRow("cable, Page Down") << cable << QSize(640, 260) << int(Qt::Key_PageDown);
        QTest::newRow("cable, Down") << cable << QSize(640, 260) << int(Qt::Key_Down);
        // Narrower than a winding file: its check box shows.
        QTest::newRow("winding, narrow, Right") << winding << QSize(300, 260) << int(Qt::Key_Right);
        QTest::newRow("winding, narrow, End") << winding << QSize(300, 260) << int(Qt::Key_End);
    }
    void theCurrentFileStaysInTheWindowsView()
    {
        QFETCH(WindowView, view);
        QFETCH(QSize, window);
        QFETCH(int, key);
        MeterHarness harness(view.model, view.family, view.simArguments);
        QVERIFY(showView(harness, view));
        harness.window->resize(window);
        auto *list = harness.window->findChild<FileListView *>("lstFiles");
        QVERIFY(list);
        list->setFocus(Qt::TabFocusReason);
        QScrollArea *area = WindowGeometry::scrollAreaOf(harness.window.get());
        QVERIFY(area);
        const auto shown = [&](const QRect &rect) {
            return QRect(list->viewport()->mapTo(area->viewport(), rect.topLeft()), rect.size());
        };
        for (int press = 0; press < 6; ++press) {
            QTest::keyClick(list, Qt::Key(key));
            const QRect file = shown(list->fileRect(list->currentRow()));
            const QRect needed = file.width() <= area->viewport()->width()
                ? file
                : shown(list->checkCellRect(list->currentRow()));
            QVERIFY2(area->viewport()->rect().contains(needed),
                     qPrintable(QStringLiteral("file %1 at %2,%3 outside the window's view")
                                    .arg(list->currentRow() + 1)
                                    .arg(needed.left())
                                    .arg(needed.top())));
        }
    }

    void accessKeysPressTheirButtons()
    {
        MeterHarness harness(windingMenu.model, windingMenu.family, windingMenu.simArguments);
        QVERIFY(showView(harness, windingMenu));
        QTest::keyClick(harness.window.get(), Qt::Key_H, Qt::AltModifier);
        QTRY_VERIFY(harness.window->findChild<QGroupBox *>("Frame1")->isVisibleTo(harness.window.get()));
        // A slot's number presses its Download button.
        harness.dialogs.saveAnswers << QString();
        QTest::keyClick(harness.window.get(), Qt::Key_3, Qt::AltModifier);
        QTRY_VERIFY(harness.requests().contains(QStringLiteral("{1003}")));
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
