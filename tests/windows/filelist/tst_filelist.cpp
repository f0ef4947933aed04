// SPDX-License-Identifier: MIT
#include "windows/Twips.h"
#include "windows/filelist/FileList.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>

#include <cmath>
#include <memory>

namespace {

// The winding window's list: viewport 14535 x 6300 at (120, 900), eight cells a row.
struct WindingList
{
    static FileListGeometry geometry() { return {QRect(120, 900, 14535, 6300), 6135}; }
    static FileListColumn check() { return {QStringLiteral("checkFileNo"), {0, 7440}, 735}; }
    static QList<FileListColumn> labels()
    {
        return {
            {QStringLiteral("lblFileName"), {840, 8160}, 735},   {QStringLiteral("lblRes1_T"), {1680, 9000}, 855},
            {QStringLiteral("lblRes2_T"), {2640, 9960}, 855},    {QStringLiteral("lblTemp"), {3600, 10920}, 495},
            {QStringLiteral("lblRes1_20"), {4080, 11400}, 1095}, {QStringLiteral("lblRes2_20"), {5280, 12600}, 1095},
            {QStringLiteral("lblConductor"), {6360, 13680}, 735},
        };
    }
};

// The contact and ratio window's narrower list.
struct ContactList
{
    static FileListGeometry geometry() { return {QRect(120, 900, 8175, 6300), 6135}; }
    static FileListColumn check() { return {QStringLiteral("checkFileNo"), {0, 4200}, 735}; }
    static QList<FileListColumn> labels()
    {
        return {
            {QStringLiteral("lblFileName"), {720, 4920}, 1455},
            {QStringLiteral("lblResistance"), {2400, 6600}, 855},
            {QStringLiteral("lblCurrent"), {3360, 7440}, 495},
        };
    }
};

enum class Layout { Winding, Contact };

// A shown Frame2 holding a list, as a meter window would build it.
struct Fixture
{
    explicit Fixture(Layout layout = Layout::Winding)
        : frame2(std::make_unique<QWidget>())
    {
        frame2->resize(1000, 540);
        list = layout == Layout::Winding
            ? std::make_unique<FileList>(frame2.get(), WindingList::geometry(), WindingList::check(),
                                         WindingList::labels())
            : std::make_unique<FileList>(frame2.get(), ContactList::geometry(), ContactList::check(),
                                         ContactList::labels());
        frame2->show();
    }

    void load(int fileCount)
    {
        list->createRows(fileCount);
        list->setupScroll();
    }

    std::unique_ptr<QWidget> frame2;
    std::unique_ptr<FileList> list;
};

} // namespace

class FileListTest : public QObject
{
    Q_OBJECT

private slots:
    void designRowsBeforeCreation();
    void rowCreation_data();
    void rowCreation();
    void oddCountCreatesNoExtraRow();
    void scrollBarPlacement_data();
    void scrollBarPlacement();
    void scrollFormula_data();
    void scrollFormula();
    void cellGeometry();
    void selectAllSkipsDisabledRows();
    void selectAllStaysWithinFileCount();
    void ticksPersistAcrossScrolling();
    void clickingPooledBoxTicksModel();
    void clickAnywhereInTheDesignedCellTicks_data();
    void clickAnywhereInTheDesignedCellTicks();
    void disabledRowCannotBeTicked();
    void pooledWidgetsFollowScrolling_data();
    void pooledWidgetsFollowScrolling();
    void cellTextUpdatesShownLabel();
    void meterTextIsShownLiterally_data();
    void meterTextIsShownLiterally();
    void largestListReachesItsEnd();
    void wheelOverListScrolls();
    void checkBoxAccessibleName();
};

void FileListTest::designRowsBeforeCreation()
{
    Fixture f;
    // The winding window clears its right-hand first file name before anything else.
    f.list->setCellText(1, 0, QString());
    f.list->createRows(100);

    QCOMPARE(f.list->checkCaption(0), QStringLiteral("1"));
    QCOMPARE(f.list->checkCaption(1), QStringLiteral("2"));
    QCOMPARE(f.list->cellText(0, 0), QStringLiteral("  ---"));
    QCOMPARE(f.list->cellText(1, 0), QString());
    QCOMPARE(f.list->cellText(2, 0), QStringLiteral("  ---"));
    QCOMPARE(f.list->cellText(1, 6), QStringLiteral("  ---"));
    QCOMPARE(f.list->visibleLabel(1, 0)->text(), QString());
}

void FileListTest::rowCreation_data()
{
    QTest::addColumn<int>("fileCount");
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<int>("panelHeight");
    QTest::addColumn<bool>("scrollBarShown");

    QTest::newRow("0 slots") << 0 << 2 << 6135 << false;
    QTest::newRow("1 slot") << 1 << 2 << 6135 << false;
    QTest::newRow("2 slots") << 2 << 2 << 6135 << false;
    QTest::newRow("3 slots shrink the panel") << 3 << 3 << 840 << false;
    QTest::newRow("40 slots") << 40 << 40 << 6240 << false;
    QTest::newRow("41 slots") << 41 << 41 << 6540 << true;
    QTest::newRow("100 slots") << 100 << 100 << 15240 << true;
}

void FileListTest::rowCreation()
{
    QFETCH(int, fileCount);
    QFETCH(int, rowCount);
    QFETCH(int, panelHeight);
    QFETCH(bool, scrollBarShown);

    Fixture f;
    f.load(fileCount);

    QCOMPARE(f.list->fileCount(), fileCount);
    QCOMPARE(f.list->rowCount(), rowCount);
    QCOMPARE(f.list->panelHeightTwips(), panelHeight);
    QCOMPARE(f.list->panelTopTwips(), 120);
    QCOMPARE(f.list->isScrollBarShown(), scrollBarShown);
    QCOMPARE(f.list->VScroll1()->isVisible(), scrollBarShown);
    if (scrollBarShown)
        QCOMPARE(f.list->VScroll1()->maximum(), fileCount);

    const int last = rowCount - 1;
    QCOMPARE(f.list->checkCaption(last), QString::number(rowCount));
    QCOMPARE(f.list->cellText(last, 6), QStringLiteral("  ---"));
    QVERIFY(f.list->isCheckEnabled(last));
    QVERIFY(!f.list->isTicked(last));
}

void FileListTest::oddCountCreatesNoExtraRow()
{
    Fixture f;
    f.load(41);

    QCOMPARE(f.list->rowCount(), 41);
    QCOMPARE(f.list->checkCaption(40), QStringLiteral("41"));
    QCOMPARE(f.list->checkCaption(41), QString());
    QCOMPARE(f.list->cellText(41, 0), QString());

    f.list->VScroll1()->setValue(41);
    QVERIFY(f.list->visibleCheckBox(40));
    QVERIFY(!f.list->visibleCheckBox(41));
    // Row 40's line has no right-hand row: the pooled cells beside it are hidden.
    const QWidget *line = f.list->visibleCheckBox(40)->parentWidget();
    int shownChecks = 0;
    for (const QCheckBox *box : line->findChildren<QCheckBox *>()) {
        if (!box->isHidden())
            ++shownChecks;
    }
    QCOMPARE(shownChecks, 1);
}

void FileListTest::scrollBarPlacement_data()
{
    QTest::addColumn<Layout>("layout");
    QTest::addColumn<QRect>("expected");

    QTest::newRow("winding") << Layout::Winding << QRect(14655, 1020, 285, 6180);
    QTest::newRow("contact") << Layout::Contact << QRect(8295, 1020, 285, 6180);
}

void FileListTest::scrollBarPlacement()
{
    QFETCH(Layout, layout);
    QFETCH(QRect, expected);

    Fixture f(layout);
    f.load(100);

    const QScrollBar *bar = f.list->VScroll1();
    QCOMPARE(f.list->scrollBarTwips(), expected);
    QCOMPARE(bar->geometry(), Twips::rect(expected.x(), expected.y(), expected.width(), expected.height()));
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
    QCOMPARE(bar->pageStep(), 20);
    QCOMPARE(bar->singleStep(), 1);
    QCOMPARE(bar->value(), 0);
    QVERIFY(!bar->hasTracking());
    QCOMPARE(f.list->Frame4()->geometry(), Twips::rect(120, 900, layout == Layout::Winding ? 14535 : 8175, 6300));
}

void FileListTest::scrollFormula_data()
{
    QTest::addColumn<Layout>("layout");
    QTest::addColumn<int>("fileCount");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("panelTop");

    QTest::newRow("100 at 0") << Layout::Winding << 100 << 0 << 0;
    QTest::newRow("100 at 1") << Layout::Winding << 100 << 1 << -89;
    QTest::newRow("100 at 50") << Layout::Winding << 100 << 50 << -4470;
    QTest::newRow("100 at max") << Layout::Winding << 100 << 100 << -8940;
    QTest::newRow("41 contact at 0") << Layout::Contact << 41 << 0 << 0;
    QTest::newRow("41 contact at 20") << Layout::Contact << 41 << 20 << -117; // -240 * 20 / 41
    QTest::newRow("41 contact at max") << Layout::Contact << 41 << 41 << -240;
}

void FileListTest::scrollFormula()
{
    QFETCH(Layout, layout);
    QFETCH(int, fileCount);
    QFETCH(int, value);
    QFETCH(int, panelTop);

    Fixture f(layout);
    f.load(fileCount);
    // Start elsewhere so that every value is a change the scroll bar reports.
    f.list->VScroll1()->setValue(value == 7 ? 8 : 7);
    f.list->VScroll1()->setValue(value);

    QCOMPARE(f.list->panelTopTwips(), panelTop);
    // The first line follows the panel on screen.
    if (QCheckBox *box = f.list->visibleCheckBox(0))
        QCOMPARE(box->parentWidget()->y(), Twips::toPixels(panelTop + 240));
}

void FileListTest::cellGeometry()
{
    Fixture f;
    f.load(100);

    QCOMPARE(f.list->rowTopTwips(0), 240);
    QCOMPARE(f.list->rowTopTwips(1), 240);
    QCOMPARE(f.list->rowTopTwips(2), 540);
    QCOMPARE(f.list->rowTopTwips(39), 5940);
    QCOMPARE(f.list->rowTopTwips(99), 14940);
    QCOMPARE(f.list->checkLeftTwips(6), 0);
    QCOMPARE(f.list->checkLeftTwips(7), 7440);
    QCOMPARE(f.list->rowLeftTwips(6, 0), 840);
    QCOMPARE(f.list->rowLeftTwips(7, 0), 8160);
    QCOMPARE(f.list->rowLeftTwips(7, 6), 13680);

    // The pooled widgets stand where the cells of row 7 belong: Top 1140 + 120.
    const QCheckBox *box = f.list->visibleCheckBox(7);
    const QLabel *conductor = f.list->visibleLabel(7, 6);
    QVERIFY(box && conductor);
    QCOMPARE(box->parentWidget()->y(), Twips::toPixels(120 + 1140));
    QCOMPARE(box->geometry(), Twips::rect(7440, 0, 735, 255));
    QCOMPARE(conductor->geometry(), Twips::rect(13680, 0, 735, 255));
    QCOMPARE(conductor->objectName(), QStringLiteral("lblConductor"));
}

void FileListTest::selectAllSkipsDisabledRows()
{
    Fixture f;
    f.load(8);
    f.list->setCheckEnabled(3, false);
    f.list->setTicked(5, true);
    f.list->setCheckEnabled(5, false);

    f.list->lblSelectAll_Click();
    for (int row = 0; row < 8; ++row)
        QCOMPARE(f.list->isTicked(row), row != 3);
    QVERIFY(f.list->visibleCheckBox(0)->isChecked());
    QVERIFY(!f.list->visibleCheckBox(3)->isChecked());

    f.list->lblUnselectAll_Click();
    for (int row = 0; row < 8; ++row)
        QCOMPARE(f.list->isTicked(row), row == 5); // a disabled box keeps its value
    QVERIFY(!f.list->visibleCheckBox(0)->isChecked());
    QVERIFY(f.list->visibleCheckBox(5)->isChecked());
}

void FileListTest::selectAllStaysWithinFileCount()
{
    Fixture none;
    none.load(0);
    none.list->lblSelectAll_Click();
    QVERIFY(!none.list->isTicked(0));
    QVERIFY(!none.list->isTicked(1));

    Fixture one;
    one.load(1);
    one.list->lblSelectAll_Click();
    QVERIFY(one.list->isTicked(0));
    QVERIFY(!one.list->isTicked(1)); // the design's second row is no file
}

void FileListTest::ticksPersistAcrossScrolling()
{
    Fixture f;
    f.load(100);
    f.list->visibleCheckBox(6)->click();
    f.list->setTicked(9, true);

    f.list->VScroll1()->setValue(100);
    QVERIFY(!f.list->visibleCheckBox(6));
    QVERIFY(f.list->isTicked(6));
    // The widget that showed row 6 now shows a row further down, unticked.
    QVERIFY(f.list->visibleCheckBox(98));
    QVERIFY(!f.list->visibleCheckBox(98)->isChecked());

    f.list->VScroll1()->setValue(0);
    QVERIFY(f.list->visibleCheckBox(6)->isChecked());
    QVERIFY(f.list->visibleCheckBox(9)->isChecked());
    QVERIFY(!f.list->visibleCheckBox(8)->isChecked());
}

void FileListTest::clickingPooledBoxTicksModel()
{
    Fixture f;
    f.load(100);
    QCheckBox *box = f.list->visibleCheckBox(6);
    QVERIFY(box);

    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    QVERIFY(f.list->isTicked(6));
    QVERIFY(!f.list->isTicked(7));

    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    QVERIFY(!f.list->isTicked(6));

    f.list->visibleCheckBox(7)->setFocus();
    QTest::keyClick(f.list->visibleCheckBox(7), Qt::Key_Space);
    QVERIFY(f.list->isTicked(7));
}

void FileListTest::clickAnywhereInTheDesignedCellTicks_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("xTwips"); // from the box's left edge; -1: its last pixel
    QTest::addColumn<bool>("ticks");

    for (int row : {6, 7}) {
        const char *column = row % 2 == 0 ? "left" : "right";
        QTest::addRow("%s column, on the box", column) << row << 75 << true;
        QTest::addRow("%s column, on the number", column) << row << 300 << true;
        // Past the caption "7" but inside the 735 twips the design gives the cell.
        QTest::addRow("%s column, 34 px in", column) << row << 510 << true;
        QTest::addRow("%s column, 44 px in", column) << row << 660 << true;
        QTest::addRow("%s column, last pixel", column) << row << -1 << true;
        QTest::addRow("%s column, beyond the cell", column) << row << 780 << false;
    }
}

void FileListTest::clickAnywhereInTheDesignedCellTicks()
{
    QFETCH(int, row);
    QFETCH(int, xTwips);
    QFETCH(bool, ticks);

    Fixture f;
    f.load(100);
    QCheckBox *box = f.list->visibleCheckBox(row);
    QVERIFY(box);
    QCOMPARE(box->width(), Twips::toPixels(735));
    const int x = xTwips < 0 ? box->width() - 1 : Twips::toPixels(xTwips);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(x, box->height() / 2));
    QCOMPARE(f.list->isTicked(row), ticks);
    QCOMPARE(box->isChecked(), ticks);
}

void FileListTest::disabledRowCannotBeTicked()
{
    Fixture f;
    f.load(100);
    f.list->setCheckEnabled(4, false);

    QCheckBox *box = f.list->visibleCheckBox(4);
    QVERIFY(box);
    QVERIFY(!box->isEnabled());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
    box->click();
    f.list->setTicked(4, true);
    QVERIFY(!f.list->isTicked(4));
    QVERIFY(!box->isChecked());

    // Enabled again, it ticks like any other row.
    f.list->setCheckEnabled(4, true);
    box->click();
    QVERIFY(f.list->isTicked(4));
}

void FileListTest::pooledWidgetsFollowScrolling_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("firstShownRow");
    QTest::addColumn<int>("lastShownRow");

    // Panel Top = -89.4 * value; a line shows while any of its 255 twips is inside 0..6300.
    QTest::newRow("top") << 0 << 0 << 41;
    QTest::newRow("one step") << 1 << 0 << 41;
    QTest::newRow("middle") << 50 << 28 << 71;   // panel Top -4470
    QTest::newRow("large step") << 20 << 10 << 53; // panel Top -1788
    QTest::newRow("end") << 100 << 58 << 99;     // panel Top -8940
}

void FileListTest::pooledWidgetsFollowScrolling()
{
    QFETCH(int, value);
    QFETCH(int, firstShownRow);
    QFETCH(int, lastShownRow);

    Fixture f;
    f.list->createRows(100);
    for (int row = 0; row < 100; ++row)
        f.list->setCellText(row, 0, QStringLiteral("F%1").arg(row));
    f.list->setupScroll();
    // Wander first, so the pool has re-filled its widgets more than once.
    f.list->VScroll1()->setValue(100);
    f.list->VScroll1()->setValue(33);
    f.list->VScroll1()->setValue(value);

    for (int row = 0; row < 100; ++row) {
        const bool expectShown = row >= firstShownRow && row <= lastShownRow;
        const QCheckBox *box = f.list->visibleCheckBox(row);
        QCOMPARE(box != nullptr, expectShown);
        if (!box)
            continue;
        QCOMPARE(box->text(), QString::number(row + 1));
        QCOMPARE(f.list->visibleLabel(row, 0)->text(), QStringLiteral("F%1").arg(row));
        QCOMPARE(f.list->visibleLabel(row, 3)->text(), QStringLiteral("  ---"));
        QVERIFY(box->isVisibleTo(f.list->Frame4()));
        QCOMPARE(box->parentWidget()->y(),
                 Twips::toPixels(double(f.list->panelTopTwips()) + f.list->rowTopTwips(row)));
        QCOMPARE(box->x(), Twips::toPixels(row % 2 == 0 ? 0 : 7440));
    }
}

void FileListTest::meterTextIsShownLiterally_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("file name") << "FILE01" << "FILE01";
    QTest::newRow("blanks and micro sign") << QStringLiteral("0.5678 \u00B5") << QStringLiteral("0.5678 \u00B5");
    QTest::newRow("bold") << "<b>x</b>" << "<b>x</b>";
    QTest::newRow("image") << "<img src=/etc/passwd>" << "<img src=/etc/passwd>";
    QTest::newRow("CR LF") << "AB\r\nCD" << QStringLiteral("AB\u240D\u240ACD");
    QTest::newRow("NUL") << QStringLiteral("AB") + QChar(0) + QStringLiteral("CD") << QStringLiteral("AB\u2400CD");
    QTest::newRow("ESC") << "\x1b[2J" << QStringLiteral("\u241B[2J");
}

void FileListTest::meterTextIsShownLiterally()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    Fixture f;
    f.load(4);
    f.list->setCellText(3, 0, stored);
    const QLabel *label = f.list->visibleLabel(3, 0);
    QVERIFY(label);
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QCOMPARE(label->text(), shown);
    // The export reads the stored text, which stays as the meter sent it.
    QCOMPARE(f.list->cellText(3, 0), stored);
}

void FileListTest::cellTextUpdatesShownLabel()
{
    Fixture f;
    f.load(100);
    f.list->setCellText(8, 2, QStringLiteral("12.34"));
    QCOMPARE(f.list->visibleLabel(8, 2)->text(), QStringLiteral("12.34"));
    QCOMPARE(f.list->cellText(8, 2), QStringLiteral("12.34"));

    // A row off screen is stored and shown once it scrolls into view.
    f.list->setCellText(99, 6, QStringLiteral("Copper"));
    QVERIFY(!f.list->visibleLabel(99, 6));
    f.list->VScroll1()->setValue(100);
    QCOMPARE(f.list->visibleLabel(99, 6)->text(), QStringLiteral("Copper"));
    QVERIFY(!f.list->visibleLabel(99, 7));
}

void FileListTest::largestListReachesItsEnd()
{
    Fixture f;
    f.load(9999);
    QCOMPARE(f.list->rowCount(), 9999);
    QCOMPARE(f.list->panelHeightTwips(), 240 + 4999 * 300 + 300);
    QCOMPARE(f.list->VScroll1()->maximum(), 9999);

    f.list->setCheckEnabled(9997, false);
    f.list->lblSelectAll_Click();
    f.list->VScroll1()->setValue(9999);

    QCOMPARE(f.list->panelTopTwips(), 6300 - f.list->panelHeightTwips());
    const QCheckBox *last = f.list->visibleCheckBox(9998);
    QVERIFY(last);
    QCOMPARE(last->text(), QStringLiteral("9999"));
    QVERIFY(last->isChecked());
    QVERIFY(!f.list->visibleCheckBox(9997)->isChecked());
    QVERIFY(!f.list->visibleCheckBox(9997)->isEnabled());
    QCOMPARE(f.list->visibleLabel(9998, 0)->text(), QStringLiteral("  ---"));
    // Far fewer widgets than rows exist.
    QVERIFY(f.list->Frame4()->findChildren<QCheckBox *>().size() < 60);
}

void FileListTest::wheelOverListScrolls()
{
    Fixture f;
    f.load(100);
    QWidget *viewport = f.list->Frame4();

    // A wheel over a cell reaches Frame4, as cells leave wheel events to their parent.
    // Qt only passes such events up when the system sends them, so the test sends
    // its event to Frame4 directly.
    const QPointF local(20, 40);
    QWheelEvent down(local, viewport->mapToGlobal(local), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &down);

    const int value = f.list->VScroll1()->value();
    QVERIFY(value > 0);
    QCOMPARE(f.list->panelTopTwips(), int(std::lround(-8940.0 * value / 100)));

    // Without a scroll bar the wheel does nothing.
    Fixture small;
    small.load(40);
    QWheelEvent again(local, small.list->Frame4()->mapToGlobal(local), QPoint(), QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(small.list->Frame4(), &again);
    QCOMPARE(small.list->VScroll1()->value(), 0);
    QCOMPARE(small.list->panelTopTwips(), 120);
}

void FileListTest::checkBoxAccessibleName()
{
    Fixture f;
    f.load(100);
    f.list->setCellText(6, 0, QStringLiteral("T0007"));

    QAccessibleInterface *box = QAccessible::queryAccessibleInterface(f.list->visibleCheckBox(6));
    QVERIFY(box);
    QCOMPARE(box->role(), QAccessible::CheckBox);
    QCOMPARE(box->text(QAccessible::Name), QStringLiteral("7"));

    QAccessibleInterface *label = QAccessible::queryAccessibleInterface(f.list->visibleLabel(6, 0));
    QVERIFY(label);
    QCOMPARE(label->text(QAccessible::Name), QStringLiteral("T0007"));
}

QTEST_MAIN(FileListTest)
#include "tst_filelist.moc"
