// SPDX-License-Identifier: MIT
// What the contact and cable meter windows share, row by row for each: the
// load of every file slot, and a start-up that fails on its count. Against
// the simulator's meter in memory; controls are found by their object names.
#include "MeterHarness.h"
#include "TemporaryConfigHome.h"
#include "link/StopRequest.h"
#include "protocol/CableRecord.h"
#include "protocol/ContactRecord.h"
#include "ui/FileListWindow.h"
#include "ui/Twips.h"
#include "ui/filelist/FileList.h"
#include "ui/filelist/FileListView.h"

#include <QAccessible>
#include <QGroupBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

namespace {

// One list window as these tests drive it.
struct ListFamily
{
    QString model;
    MeterFamily kind;
    QString simFamily; // the simulator's --family
    QString windowName;
    QString countRequest;
    QByteArray (*recordRequest)(int index);
    int columns;          // label cells per row
    QString countFailure; // the "Fatal Error" text
    QSize windowTwips;
    QPoint exitTwips; // the Exit button's place in the window
    int downloadLeftTwips;
    QRect scrollBarTwips; // where the scroll bar shows, once there is one
};

const ListFamily contact{"[KX-C1]",
                         MeterFamily::Contact,
                         "contact",
                         "frmCRM",
                         "{03}",
                         contactRecordRequest,
                         ContactColumn::Count,
                         "Error Communication with Winding Resistance Meter",
                         {8955, 9135},
                         {3870, 8115},
                         3705,
                         {8295, 1020, 285, 6180}};
// The ratio meter's window is the contact window under another name.
const ListFamily ratio = [] {
    ListFamily family = contact;
    family.model = "KXT1";
    family.kind = MeterFamily::Ratio;
    family.simFamily = "ratio";
    family.windowName = "frmTRM";
    return family;
}();
const ListFamily cable{"[KX-R1]",
                       MeterFamily::Cable,
                       "cable",
                       "frmCABLE_RM",
                       "{01}",
                       cableRecordRequest,
                       CableColumn::Count,
                       "Error Communication with Cable Resistance Meter",
                       {14115, 9135},
                       {6450, 8115},
                       6285,
                       {13455, 1140, 285, 6180}};

QStringList rowTexts(FileList &list, int row, int columns)
{
    QStringList texts;
    for (int column = 0; column < columns; ++column)
        texts << list.cellText(row, column);
    return texts;
}

QStringList recordRequests(const ListFamily &family, int count)
{
    QStringList requests;
    for (int index = 0; index < count; ++index)
        requests << QString::fromLatin1(family.recordRequest(index));
    return requests;
}

template <typename Widget>
Widget *control(MeterHarness &harness, const char *name)
{
    return harness.window->findChild<Widget *>(QLatin1String(name));
}

} // namespace

Q_DECLARE_METATYPE(ListFamily)

class TestListWindows : public QObject
{
    Q_OBJECT
private:
    TemporaryConfigHome m_config;

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale::c());
    }

    void loadsEveryFileSlot_data()
    {
        QTest::addColumn<ListFamily>("family");
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("panelHeight");
        QTest::addColumn<bool>("scrollBar");
        for (const ListFamily &family : {contact, cable}) {
            const auto row = [&family](const char *name) -> QTestData & {
                return QTest::newRow(qPrintable(family.simFamily + QStringLiteral(": ") + QLatin1String(name)));
            };
            row("no files") << family << 0 << 6135 << false;
            row("one file") << family << 1 << 6135 << false;
            row("three files") << family << 3 << 840 << false;
            row("forty files") << family << 40 << 6240 << false;
            row("forty-one files") << family << 41 << 6540 << true;
        }
    }
    void loadsEveryFileSlot()
    {
        QFETCH(ListFamily, family);
        QFETCH(int, files);
        QFETCH(int, panelHeight);
        QFETCH(bool, scrollBar);
        MeterHarness harness(family.model, family.kind,
                             {"--family", family.simFamily, "--files", QString::number(files), "--unpaced"});
        QVERIFY(harness.load());
        auto *window = harness.as<FileListWindow>();
        QVERIFY(window);
        auto *frame = control<QGroupBox>(harness, "Frame2");
        auto *exit = control<QPushButton>(harness, "cmdExit");
        auto *download = control<QPushButton>(harness, "cmdRMDownload");
        auto *bar = control<QScrollBar>(harness, "VScroll1");
        QVERIFY(frame && exit && download && bar);
        QVERIFY(harness.dialogs.boxes.isEmpty());
        QCOMPARE(window->objectName(), family.windowName);
        QCOMPARE(window->windowTitle(), family.model + " Meter Communication Software");
        QCOMPARE(frame->title(), QString("Resistance Measurement Files"));

        QCOMPARE(harness.requests(), QStringList{family.countRequest} + recordRequests(family, files));
        QCOMPARE(harness.progress.size(), files);
        for (int file = 1; file <= files; ++file)
            QCOMPARE(harness.progress.at(file - 1), QString("%1 / %2").arg(file).arg(files));

        FileList &list = harness.list();
        const QStringList unfilled(family.columns, QStringLiteral("  ---"));
        QCOMPARE(window->fileCount(), files);
        QCOMPARE(list.rowCount(), std::max(files, 2));
        for (int row = 0; row < list.rowCount(); ++row) {
            QCOMPARE(list.checkCaption(row), QString::number(row + 1));
            QCOMPARE(list.isCheckEnabled(row), row < files); // a design row beyond the count holds no file
            QCOMPARE(rowTexts(list, row, family.columns) != unfilled, row < files);
        }
        QCOMPARE(list.rowTopTwips(list.rowCount() - 1), 240 + 300 * ((list.rowCount() - 1) / 2));
        QCOMPARE(list.panelHeightTwips(), panelHeight);
        QCOMPARE(list.topLine(), 0);
        QCOMPARE(list.isScrollBarShown(), scrollBar);
        // The design's two rows are on screen whatever the count.
        QVERIFY(list.isRowOnScreen(1) && list.view()->isVisibleTo(window));

        // The loaded window's layout.
        QVERIFY(frame->isVisibleTo(window));
        QVERIFY(exit->isVisibleTo(window));
        QCOMPARE(window->windowSizeTwips(), family.windowTwips);
        QCOMPARE(frame->mapTo(window, QPoint()), QPoint(Twips::toPixels(120), Twips::toPixels(60)));
        QCOMPARE(exit->mapTo(window, QPoint()),
                 QPoint(Twips::toPixels(family.exitTwips.x()), Twips::toPixels(family.exitTwips.y())));
        QCOMPARE(download->x(), Twips::toPixels(family.downloadLeftTwips));

        QVERIFY(harness.click("lblSelectAll"));
        for (int row = 0; row < list.rowCount(); ++row)
            QCOMPARE(list.isTicked(row), row < files);

        if (scrollBar) {
            QCOMPARE(list.scrollBarTwips(), family.scrollBarTwips);
            QCOMPARE(bar->geometry(), Twips::rect(family.scrollBarTwips.x(), family.scrollBarTwips.y(),
                                                  family.scrollBarTwips.width(), family.scrollBarTwips.height()));
            QCOMPARE(bar->maximum(), (files + 1) / 2 - 20); // in lines, twenty in view
            QCOMPARE(bar->pageStep(), 20);
            QCOMPARE(bar->value(), 0);
            // Once on screen the list has the keyboard (the scroll bar hands it on).
            window->show();
            QCoreApplication::processEvents();
            QCOMPARE(window->focusWidget(), list.view());
            bar->setValue(bar->maximum());
            QCOMPARE(list.topLine(), bar->maximum());
            QVERIFY(list.isRowOnScreen(files - 1));
            bar->setValue(0);
            QCOMPARE(list.topLine(), 0);
            QVERIFY(list.isTicked(0)); // ticks outlive scrolling
        }
    }

    void startUpFailureLeavesTheDesignState_data()
    {
        QTest::addColumn<ListFamily>("family");
        QTest::addColumn<QStringList>("simArguments");
        QTest::newRow("silent contact meter") << contact << QStringList{"--silent"};
        QTest::newRow("silent ratio meter") << ratio << QStringList{"--silent"};
        QTest::newRow("silent cable meter") << cable << QStringList{"--silent"};
        QTest::newRow("contact count not a number") << contact << QStringList{"--bad-count"};
        QTest::newRow("cable count not a number") << cable << QStringList{"--bad-count"};
    }
    void startUpFailureLeavesTheDesignState()
    {
        QFETCH(ListFamily, family);
        QFETCH(QStringList, simArguments);
        MeterHarness harness(family.model, family.kind,
                             simArguments << "--family" << family.simFamily << "--files"
                                          << "3"
                                          << "--unpaced");
        QVERIFY(harness.load());
        auto *window = harness.as<FileListWindow>();
        auto *frame = control<QGroupBox>(harness, "Frame2");
        auto *exit = control<QPushButton>(harness, "cmdExit");
        QVERIFY(window && frame && exit);
        const ScriptedDialogs::Box fatal{true, "Fatal Error", family.countFailure};
        QCOMPARE(harness.dialogs.boxes, QList<ScriptedDialogs::Box>{fatal});
        QCOMPARE(harness.requests(), QStringList{family.countRequest});
        QVERIFY(harness.progress.isEmpty());
        QCOMPARE(window->windowTitle(), family.model + " Meter Communication Software");
        QVERIFY(!frame->isVisibleTo(window));
        QVERIFY(!exit->isVisibleTo(window));
        QCOMPARE(window->fileCount(), 0);
        FileList &list = harness.list();
        QCOMPARE(list.rowCount(), 2);
        QCOMPARE(rowTexts(list, 0, family.columns), QStringList(family.columns, QStringLiteral("  ---")));
        QVERIFY(!list.isScrollBarShown());

        // The design rows hold no file: neither can be ticked.
        list.setTicked(0, true);
        list.setTicked(1, true);
        harness.click("lblSelectAll");
        for (int row = 0; row < 2; ++row)
            QVERIFY(!list.isCheckEnabled(row) && !list.isTicked(row));

        // Nothing on it takes the keyboard, so the window does: Escape ends
        // the program, and so does closing the window.
        window->show();
        QCoreApplication::processEvents();
        QCOMPARE(window->focusWidget(), window);
        QVERIFY(!QAccessible::queryAccessibleInterface(window)->text(QAccessible::Description).isEmpty());
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(harness.stop.isRequested());
        QVERIFY(!window->isVisible());

        // The same window of another run, closed.
        MeterHarness closing(family.model, family.kind, harness.simArguments);
        QVERIFY(closing.load());
        closing.window->show();
        QVERIFY(!closing.stop.isRequested());
        QVERIFY(closing.window->close());
        QVERIFY(closing.stop.isRequested());
    }
};

QTEST_MAIN(TestListWindows)
#include "tst_listwindows.moc"
