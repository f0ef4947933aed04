// SPDX-License-Identifier: MIT
#include "ui/Twips.h"
#include "ui/filelist/FileList.h"
#include "ui/filelist/FileListView.h"

#include <QAccessible>
#include <QApplication>
#include <QAccessibleActionInterface>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>
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

// A shown measurement frame holding a list, as a meter window would build it.
struct Fixture
{
    explicit Fixture(Layout layout = Layout::Winding)
        : frame2(std::make_unique<QWidget>())
    {
        frame2->resize(1000, 540);
        // A control on either side of the list, as in the windows.
        before = new QPushButton(QStringLiteral("Before"), frame2.get());
        before->setGeometry(0, 500, 60, 20);
        list = layout == Layout::Winding
            ? std::make_unique<FileList>(frame2.get(), WindingList::geometry(), WindingList::check(),
                                         WindingList::labels())
            : std::make_unique<FileList>(frame2.get(), ContactList::geometry(), ContactList::check(),
                                         ContactList::labels());
        after = new QPushButton(QStringLiteral("After"), frame2.get());
        after->setGeometry(100, 500, 60, 20);
        frame2->show();
        // Keyboard focus needs an active window, which the test makes this one.
        QApplication::setActiveWindow(frame2.get());
    }

    void load(int fileCount)
    {
        list->createRows(fileCount);
        list->setupScroll();
    }

    FileListView *view() const { return list->view(); }

    // Presses `key` in the list, as the keyboard would.
    void press(Qt::Key key) { QTest::keyClick(view(), key); }

    void clickAt(const QPoint &point) { QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, point); }

    void clickCheckCell(int row) { clickAt(list->checkCellRect(row).center()); }

    QAccessibleInterface *item(int row) const
    {
        QAccessibleInterface *listItem = QAccessible::queryAccessibleInterface(view());
        return listItem ? listItem->child(row) : nullptr;
    }

    void wheel(int notches)
    {
        const QPointF local(20, 40);
        QWheelEvent event(local, view()->viewport()->mapToGlobal(local), QPoint(), QPoint(0, -120 * notches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view()->viewport(), &event);
    }

    std::unique_ptr<QWidget> frame2;
    QPushButton *before = nullptr;
    std::unique_ptr<FileList> list;
    QPushButton *after = nullptr;
};

} // namespace

class FileListTest : public QObject
{
    Q_OBJECT

private slots:
    void aCellBeyondTheColumnsIsNoCellOfTheNextRow()
    {
        FileListModel model(2);
        model.resize(3);
        model.setCellText(0, 2, QStringLiteral("x"));
        QCOMPARE(model.cellText(0, 2), QString());
        QCOMPARE(model.cellText(1, 0), FileListModel::emptyCellText());
    }

    // Select All and Unselect All repaint every file, and screen readers hear of each.
    void tickingEveryRowTellsOfEveryItem()
    {
        FileListModel model(2);
        model.resize(5);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        model.setAllTicks(5, true);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0][0].toModelIndex(), model.index(0, 0));
        QCOMPARE(changed[0][1].toModelIndex(), model.index(model.rowCount() - 1, model.columnCount() - 1));

        // One tick changes its own item; the item beside the last file holds none.
        changed.clear();
        QVERIFY(model.setTicked(3, false));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0][0].toModelIndex(), model.index(1, 1));
        QCOMPARE(model.index(2, 1).data(FileListModel::FileRowRole), QVariant(-1));
    }

    void designRowsBeforeCreation();
    void rowCreation_data();
    void rowCreation();
    void oddCountCreatesNoExtraRow();
    void scrollBarPlacement_data();
    void scrollBarPlacement();
    void scrollBarMovesWholeLines_data();
    void scrollBarMovesWholeLines();
    void cellGeometry();
    void selectAllSkipsDisabledRows();
    void selectAllStaysWithinFileCount();
    void ticksPersistAcrossScrolling();
    void clickAnywhereInTheDesignedCellTicks_data();
    void clickAnywhereInTheDesignedCellTicks();
    void eachClickOfADoubleClickToggles();
    void disabledRowCannotBeTicked_data();
    void disabledRowCannotBeTicked();
    void meterTextIsShownLiterally_data();
    void meterTextIsShownLiterally();
    void largestListReachesItsEnd();
    void wheelMovesWholeLines();
    void tabReachesTheListAsOneStop();
    void currentFileShowsFromTheFirstKey();
    void aTextWiderThanItsCellIsDrawnNarrowerNotCut();
    void keysWalkEveryFileInScreenOrder_data();
    void keysWalkEveryFileInScreenOrder();
    void pageAndEndKeys_data();
    void pageAndEndKeys();
    void spaceTicksTheCurrentFileOnly();
    void scrollingKeepsTheCurrentFile_data();
    void scrollingKeepsTheCurrentFile();
    void smallerViewportKeepsWholeLines();
    void accessibleItemsReadAsFiles();
    void accessibleToggleTicksTheModel_data();
    void accessibleToggleTicksTheModel();
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
}

void FileListTest::rowCreation_data()
{
    QTest::addColumn<int>("fileCount");
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<int>("panelHeight");
    QTest::addColumn<bool>("scrollBarShown");
    QTest::addColumn<int>("scrollMax"); // in lines

    QTest::newRow("0 slots") << 0 << 2 << 6135 << false << 0;
    QTest::newRow("1 slot") << 1 << 2 << 6135 << false << 0;
    QTest::newRow("2 slots") << 2 << 2 << 6135 << false << 0;
    QTest::newRow("3 slots shrink the panel") << 3 << 3 << 840 << false << 0;
    QTest::newRow("40 slots") << 40 << 40 << 6240 << false << 0;
    QTest::newRow("41 slots") << 41 << 41 << 6540 << true << 1;
    QTest::newRow("100 slots") << 100 << 100 << 15240 << true << 30;
}

void FileListTest::rowCreation()
{
    QFETCH(int, fileCount);
    QFETCH(int, rowCount);
    QFETCH(int, panelHeight);
    QFETCH(bool, scrollBarShown);
    QFETCH(int, scrollMax);

    Fixture f;
    f.load(fileCount);

    QCOMPARE(f.list->fileCount(), fileCount);
    QCOMPARE(f.list->rowCount(), rowCount);
    QCOMPARE(f.list->panelHeightTwips(), panelHeight);
    QCOMPARE(f.list->topLine(), 0);
    QCOMPARE(f.list->isScrollBarShown(), scrollBarShown);
    QCOMPARE(f.list->scrollBar()->isVisible(), scrollBarShown);
    QCOMPARE(f.list->scrollBar()->maximum(), scrollMax);

    const int last = rowCount - 1;
    QCOMPARE(f.list->checkCaption(last), QString::number(rowCount));
    QCOMPARE(f.list->cellText(last, 6), QStringLiteral("  ---"));
    QVERIFY(f.list->isCheckEnabled(last));
    QVERIFY(!f.list->isTicked(last));
    // Twenty lines fit without scrolling.
    QCOMPARE(f.list->isRowOnScreen(std::min(last, 39)), true);
}

void FileListTest::oddCountCreatesNoExtraRow()
{
    Fixture f;
    f.load(41);

    QCOMPARE(f.list->rowCount(), 41);
    QCOMPARE(f.list->checkCaption(40), QStringLiteral("41"));
    QCOMPARE(f.list->checkCaption(41), QString());
    QCOMPARE(f.list->cellText(41, 0), QString());

    // Beside file 41 there is no item: nothing to reach, tick or read.
    const QModelIndex beside = f.view()->model()->index(20, 1);
    QCOMPARE(f.view()->model()->flags(beside), Qt::NoItemFlags);
    f.view()->setFocus();
    f.press(Qt::Key_End);
    QCOMPARE(f.list->currentRow(), 40);
    f.press(Qt::Key_Right);
    QCOMPARE(f.list->currentRow(), 40);
    QCOMPARE(QAccessible::queryAccessibleInterface(f.view())->childCount(), 41);
    QVERIFY(!f.item(41));
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

    const QScrollBar *bar = f.list->scrollBar();
    QCOMPARE(f.list->scrollBarTwips(), expected);
    QCOMPARE(bar->geometry(), Twips::rect(expected.x(), expected.y(), expected.width(), expected.height()));
    // In lines: 50 lines of which 20 fit, a page is those 20.
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 30);
    QCOMPARE(bar->pageStep(), 20);
    QCOMPARE(bar->value(), 0);
    QCOMPARE(bar->objectName(), QStringLiteral("VScroll1"));
    QCOMPARE(f.list->viewport()->geometry(), Twips::rect(120, 900, layout == Layout::Winding ? 14535 : 8175, 6300));
}

void FileListTest::scrollBarMovesWholeLines_data()
{
    QTest::addColumn<Layout>("layout");
    QTest::addColumn<int>("fileCount");
    QTest::addColumn<int>("value");

    // The view holds twenty lines exactly, so even at the end a line starts at its top.
    QTest::newRow("100 at 0") << Layout::Winding << 100 << 0;
    QTest::newRow("100 at 1") << Layout::Winding << 100 << 1;
    QTest::newRow("100 at 17") << Layout::Winding << 100 << 17;
    QTest::newRow("100 at max") << Layout::Winding << 100 << 30;
    QTest::newRow("41 contact at max") << Layout::Contact << 41 << 1;
    QTest::newRow("9999 at max") << Layout::Contact << 9999 << 4980;
}

void FileListTest::scrollBarMovesWholeLines()
{
    QFETCH(Layout, layout);
    QFETCH(int, fileCount);
    QFETCH(int, value);

    Fixture f(layout);
    f.load(fileCount);
    QCOMPARE(f.list->scrollBar()->maximum(), (fileCount + 1) / 2 - 20);
    f.list->scrollBar()->setValue(value);

    // The value is the first line in view, its first cell at the view's top.
    QCOMPARE(f.list->topLine(), value);
    QCOMPARE(f.list->checkCellRect(2 * value).top(), 0);
    QCOMPARE(f.list->checkCellRect(2 * value + 2).top(), Twips::toPixels(300));
    QVERIFY(!f.list->isRowOnScreen(2 * value - 1));
    QVERIFY(f.list->isRowOnScreen(std::min(fileCount - 1, 2 * value + 39)));
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

    // The view starts at the first row's Top in the viewport and paints each cell in its twip box.
    QCOMPARE(f.view()->geometry().top(), Twips::toPixels(240));
    QCOMPARE(f.view()->objectName(), QStringLiteral("lstFiles"));
    const int line3 = Twips::toPixels(3 * 300);
    QCOMPARE(f.list->checkCellRect(7), QRect(Twips::toPixels(7440), line3, Twips::toPixels(735), Twips::toPixels(255)));
    QCOMPARE(f.list->labelCellRect(7, 6),
             QRect(Twips::toPixels(13680), line3, Twips::toPixels(735), Twips::toPixels(255)));
    QCOMPARE(f.list->labelCellRect(6, 0), QRect(Twips::toPixels(840), line3, Twips::toPixels(735), Twips::toPixels(255)));
    QCOMPARE(f.list->labelCellRect(6, 7), QRect());
}

void FileListTest::selectAllSkipsDisabledRows()
{
    Fixture f;
    f.load(8);
    f.list->setCheckEnabled(3, false);
    f.list->setTicked(5, true);
    f.list->setCheckEnabled(5, false);

    f.list->selectAll();
    for (int row = 0; row < 8; ++row)
        QCOMPARE(f.list->isTicked(row), row != 3);
    QCOMPARE(f.item(0)->state().checked, true);
    QCOMPARE(f.item(3)->state().checked, false);

    f.list->unselectAll();
    for (int row = 0; row < 8; ++row)
        QCOMPARE(f.list->isTicked(row), row == 5); // a disabled box keeps its value
}

void FileListTest::selectAllStaysWithinFileCount()
{
    Fixture none;
    none.load(0);
    none.list->selectAll();
    QVERIFY(!none.list->isTicked(0));
    QVERIFY(!none.list->isTicked(1));

    Fixture one;
    one.load(1);
    one.list->selectAll();
    QVERIFY(one.list->isTicked(0));
    QVERIFY(!one.list->isTicked(1)); // the design's second row is no file
}

void FileListTest::ticksPersistAcrossScrolling()
{
    Fixture f;
    f.load(100);
    f.clickCheckCell(6);
    f.list->setTicked(9, true);
    QVERIFY(f.list->isTicked(6));
    const QPoint whereFile7Was = f.list->checkCellRect(6).center();

    f.list->scrollBar()->setValue(30);
    QVERIFY(!f.list->isRowOnScreen(6));
    QVERIFY(f.list->isTicked(6));
    // What is painted where file 7 stood is another file, unticked.
    QVERIFY(!f.list->isTicked(FileListModel::rowOf(f.view()->indexAt(whereFile7Was))));
    QVERIFY(!f.item(98)->state().checked);

    f.list->scrollBar()->setValue(0);
    QVERIFY(f.item(6)->state().checked);
    QVERIFY(f.item(9)->state().checked);
    QVERIFY(!f.item(8)->state().checked);
}

void FileListTest::clickAnywhereInTheDesignedCellTicks_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("xTwips"); // from the cell's left edge; -1: its last pixel
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
    const QRect cell = f.list->checkCellRect(row);
    QCOMPARE(cell.width(), Twips::toPixels(735));
    const int x = cell.left() + (xTwips < 0 ? cell.width() - 1 : Twips::toPixels(xTwips));
    f.clickAt(QPoint(x, cell.center().y()));
    QCOMPARE(f.list->isTicked(row), ticks);
    QCOMPARE(f.list->isTicked(row ^ 1), false);
    // A click makes the file the current one, wherever in its line it lands.
    QCOMPARE(f.list->currentRow(), row);
}

void FileListTest::eachClickOfADoubleClickToggles()
{
    Fixture f;
    f.load(10);
    QWindow *window = f.frame2->windowHandle();
    const QPoint box = f.view()->viewport()->mapTo(f.frame2.get(), f.list->checkCellRect(4).center());
    // Through the window, so that the second press arrives as a double click.
    QTest::mouseDClick(window, Qt::LeftButton, {}, box);
    QVERIFY(!f.list->isTicked(4));
    QTest::mouseClick(window, Qt::LeftButton, {}, box);
    QTest::mouseDClick(window, Qt::LeftButton, {}, box);
    QVERIFY(f.list->isTicked(4));
}

void FileListTest::disabledRowCannotBeTicked_data()
{
    QTest::addColumn<QString>("way");
    for (const char *way : {"click", "Space", "toggle action", "press action", "Select All", "setTicked"})
        QTest::newRow(way) << QString::fromLatin1(way);
}

void FileListTest::disabledRowCannotBeTicked()
{
    QFETCH(QString, way);
    Fixture f;
    f.load(100);
    f.list->setCheckEnabled(4, false);

    const auto tick = [&] {
        if (way == QLatin1String("click")) {
            f.clickCheckCell(4);
        } else if (way == QLatin1String("Space")) {
            f.view()->setFocus();
            f.list->setCurrentRow(4);
            f.press(Qt::Key_Space);
        } else if (way.endsWith(QLatin1String("action"))) {
            QAccessibleActionInterface *actions = f.item(4)->actionInterface();
            QVERIFY(actions);
            const QString action = way.startsWith(QLatin1String("toggle")) ? QAccessibleActionInterface::toggleAction()
                                                                          : QAccessibleActionInterface::pressAction();
            // An empty slot offers no tick actions, and refuses them if asked all the same.
            QCOMPARE(actions->actionNames().contains(action), f.list->isCheckEnabled(4));
            actions->doAction(action);
        } else if (way == QLatin1String("Select All")) {
            f.list->selectAll();
        } else {
            f.list->setTicked(4, true);
        }
    };
    tick();
    QVERIFY(!f.list->isTicked(4));
    QVERIFY(f.item(4)->state().disabled);
    QVERIFY(!f.item(4)->state().checked);

    // Enabled again, the same way ticks it.
    f.list->setCheckEnabled(4, true);
    tick();
    if (!way.endsWith(QLatin1String("action")))
        QVERIFY(f.list->isTicked(4));
}

void FileListTest::meterTextIsShownLiterally_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("spoken");
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
    QFETCH(QString, spoken);
    Fixture f(Layout::Contact);
    f.load(4);
    f.list->setCellText(3, 0, stored);
    f.list->setCellText(3, 1, QString());
    f.list->setCellText(3, 2, QString());
    f.list->setFileState(3, FileListModel::FileState::Read);
    QCOMPARE(f.item(3)->text(QAccessible::Name), QStringLiteral("File 4: ") + spoken);
    // The export reads the stored text, which stays as the meter sent it.
    QCOMPARE(f.list->cellText(3, 0), stored);
}

void FileListTest::largestListReachesItsEnd()
{
    Fixture f;
    f.load(9999);
    QCOMPARE(f.list->rowCount(), 9999);
    QCOMPARE(f.list->panelHeightTwips(), 240 + 4999 * 300 + 300);
    QCOMPARE(f.list->scrollBar()->maximum(), 5000 - 20);

    f.list->setCheckEnabled(9997, false);
    f.list->selectAll();
    f.list->scrollBar()->setValue(f.list->scrollBar()->maximum());

    QVERIFY(f.list->isRowOnScreen(9998));
    QVERIFY(f.list->checkCellRect(9998).bottom() < f.view()->viewport()->height());
    QVERIFY(f.list->isTicked(9998));
    QVERIFY(!f.list->isTicked(9997));
    QCOMPARE(f.item(9998)->text(QAccessible::Name), QStringLiteral("File 9999: not read"));
    // No widget per row: the rows are items of one view.
    QVERIFY(f.list->viewport()->findChildren<QWidget *>().size() < 20);
}

void FileListTest::wheelMovesWholeLines()
{
    Fixture f;
    f.load(100);
    QApplication::setWheelScrollLines(3);
    f.view()->setFocus();
    f.list->setCurrentRow(0);

    f.wheel(1);
    QCOMPARE(f.list->topLine(), 3);
    QCOMPARE(f.list->scrollBar()->value(), 3);
    f.wheel(2);
    QCOMPARE(f.list->topLine(), 9);

    QApplication::setWheelScrollLines(1);
    f.wheel(1);
    QCOMPARE(f.list->topLine(), 10);
    QCOMPARE(f.list->checkCellRect(20).top(), 0);
    QCOMPARE(f.list->currentRow(), 0);

    // Without a scroll bar the wheel does nothing.
    Fixture small;
    small.load(40);
    small.wheel(1);
    QCOMPARE(small.list->scrollBar()->value(), 0);
    QCOMPARE(small.list->topLine(), 0);
}

void FileListTest::currentFileShowsFromTheFirstKey()
{
    Fixture f(Layout::Contact);
    f.load(10);
    // The focus comes as at the window's start, not by Tab.
    f.view()->setFocus(Qt::OtherFocusReason);
    f.press(Qt::Key_Down);
    f.press(Qt::Key_Right);
    QCOMPARE(f.list->currentRow(), 3);
    const QColor highlight = f.view()->palette().color(QPalette::Active, QPalette::Highlight);
    const auto underFile = [&f](int row) {
        const QRect file = f.list->checkCellRect(row).united(f.list->labelCellRect(row, 2));
        return f.view()->viewport()->grab().toImage().pixelColor(file.center().x(), file.bottom() + 1);
    };
    QCOMPARE(underFile(3), highlight);
    QVERIFY(underFile(2) != highlight);
    f.before->setFocus();
    QVERIFY(underFile(3) != highlight);
}

void FileListTest::aTextWiderThanItsCellIsDrawnNarrowerNotCut()
{
    Fixture f(Layout::Contact);
    f.load(4);
    const QRect cell = f.list->labelCellRect(0, 2); // the current's narrow cell
    const auto cellImage = [&](const QString &text) {
        f.list->setCellText(0, 2, text);
        return f.view()->viewport()->grab().toImage().copy(cell);
    };
    const QImage empty = cellImage(QString());
    const QImage fits = cellImage(QStringLiteral("1.5"));
    // Cut, the long text's start would look as the short one's does.
    const QImage tooLong = cellImage(QStringLiteral("1.5000000000000000000"));
    QVERIFY(fits != empty);
    QVERIFY(tooLong != empty);
    const QRect start(0, 0, cell.width() / 3, cell.height());
    QVERIFY(tooLong.copy(start) != fits.copy(start));
}

void FileListTest::tabReachesTheListAsOneStop()
{
    Fixture f;
    f.load(100);
    f.frame2->activateWindow();
    f.before->setFocus();
    QTest::keyClick(f.before, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.view());
    // The first file becomes current when the list takes the focus.
    QCOMPARE(f.list->currentRow(), 0);
    f.press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), f.after);
    QTest::keyClick(f.after, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), f.view());
    // Handing the focus to the scroll bar gives it to the list.
    f.after->setFocus();
    f.list->scrollBar()->setFocus();
    QCOMPARE(QApplication::focusWidget(), f.view());
}

void FileListTest::keysWalkEveryFileInScreenOrder_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("step");

    QTest::newRow("Right from the first") << int(Qt::Key_Right) << 0 << 1;
    QTest::newRow("Left from the last") << int(Qt::Key_Left) << 99 << -1;
    QTest::newRow("Down the left column") << int(Qt::Key_Down) << 0 << 2;
    QTest::newRow("Down the right column") << int(Qt::Key_Down) << 1 << 2;
    QTest::newRow("Up the right column") << int(Qt::Key_Up) << 99 << -2;
}

void FileListTest::keysWalkEveryFileInScreenOrder()
{
    QFETCH(int, key);
    QFETCH(int, start);
    QFETCH(int, step);

    Fixture f;
    f.load(100);
    f.view()->setFocus();
    f.list->setCurrentRow(start);
    int expected = start;
    for (int press = 0; press < 100; ++press) {
        QCOMPARE(f.list->currentRow(), expected);
        // The list scrolls with the current file, which stands whole in view.
        const QRect cell = f.list->checkCellRect(expected);
        QVERIFY2(cell.top() >= 0 && cell.bottom() < f.view()->viewport()->height(),
                 qPrintable(QStringLiteral("file %1 at y %2").arg(expected + 1).arg(cell.top())));
        QCOMPARE(f.list->scrollBar()->value(), f.list->topLine());
        QVERIFY(f.item(expected)->state().focused);
        f.press(Qt::Key(key));
        if (expected + step >= 0 && expected + step < 100)
            expected += step;
    }
    QCOMPARE(f.list->currentRow(), expected); // stops at the end

    // Typing is no way to move: the current file stays.
    QTest::keyClicks(f.view(), QStringLiteral("7"));
    QCOMPARE(f.list->currentRow(), expected);
}

void FileListTest::pageAndEndKeys_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QList<int>>("rows");

    const int down = Qt::Key_PageDown;
    const int up = Qt::Key_PageUp;
    QTest::newRow("Page Down by twenty lines") << QList<int>{down, down, down, down} << QList<int>{40, 80, 98, 98};
    QTest::newRow("End and Home") << QList<int>{int(Qt::Key_End), int(Qt::Key_Home)} << QList<int>{99, 0};
    QTest::newRow("Page Up keeps the column")
        << QList<int>{int(Qt::Key_End), up, up, up} << QList<int>{99, 59, 19, 1};
}

void FileListTest::pageAndEndKeys()
{
    QFETCH(QList<int>, keys);
    QFETCH(QList<int>, rows);

    Fixture f;
    f.load(100);
    f.view()->setFocus();
    f.list->setCurrentRow(0);
    for (int press = 0; press < keys.size(); ++press) {
        f.press(Qt::Key(keys[press]));
        QCOMPARE(f.list->currentRow(), rows[press]);
        QVERIFY(f.list->isRowOnScreen(rows[press]));
    }
}

void FileListTest::spaceTicksTheCurrentFileOnly()
{
    Fixture f;
    f.load(100);
    f.view()->setFocus();
    f.list->setCurrentRow(57);
    f.press(Qt::Key_Space);
    for (int row = 0; row < 100; ++row)
        QCOMPARE(f.list->isTicked(row), row == 57);

    // Scrolled away, Space still ticks (here: clears) the current file only.
    f.list->scrollBar()->setValue(0);
    QVERIFY(!f.list->isRowOnScreen(57));
    f.press(Qt::Key_Space);
    for (int row = 0; row < 100; ++row)
        QVERIFY(!f.list->isTicked(row));
}

void FileListTest::scrollingKeepsTheCurrentFile_data()
{
    QTest::addColumn<QString>("way");
    for (const char *way : {"wheel", "scroll bar value", "scroll bar page", "dragged thumb"})
        QTest::newRow(way) << QString::fromLatin1(way);
}

void FileListTest::scrollingKeepsTheCurrentFile()
{
    QFETCH(QString, way);
    Fixture f;
    f.load(100);
    f.view()->setFocus();
    f.list->setCurrentRow(5);
    QScrollBar *bar = f.list->scrollBar();

    if (way == QLatin1String("wheel")) {
        f.wheel(4);
    } else if (way == QLatin1String("scroll bar value")) {
        bar->setValue(25);
    } else if (way == QLatin1String("scroll bar page")) {
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(f.list->topLine(), 20);
    } else {
        // While the thumb is held the list follows it.
        bar->setSliderDown(true);
        bar->setSliderPosition(12);
        QCOMPARE(f.list->topLine(), 12);
        bar->setSliderDown(false);
    }
    QVERIFY(f.list->topLine() > 0);
    QVERIFY(!f.list->isRowOnScreen(5));
    QCOMPARE(f.list->currentRow(), 5);
    QCOMPARE(QApplication::focusWidget(), f.view());
    f.press(Qt::Key_Space);
    QVERIFY(f.list->isTicked(5));
    for (int row = 0; row < 100; ++row)
        QCOMPARE(f.list->isTicked(row), row == 5);
}

void FileListTest::smallerViewportKeepsWholeLines()
{
    Fixture f;
    f.load(100);
    // A window on a small screen gives the list ten lines and a half.
    const int pitch = Twips::toPixels(300);
    f.list->viewport()->resize(f.list->viewport()->width(), Twips::toPixels(240) + 10 * pitch + pitch / 2);
    QCOMPARE(f.list->pageLines(), 10);
    QCOMPARE(f.view()->height(), 10 * pitch);
    QCOMPARE(f.list->scrollBar()->maximum(), 40);
    QCOMPARE(f.list->scrollBar()->pageStep(), 10);
    f.view()->setFocus();
    f.list->setCurrentRow(0);
    f.press(Qt::Key_PageDown);
    QCOMPARE(f.list->currentRow(), 20);
    f.press(Qt::Key_End);
    QCOMPARE(f.list->topLine(), 40);
    QVERIFY(f.list->isRowOnScreen(99));
}

void FileListTest::accessibleItemsReadAsFiles()
{
    Fixture f(Layout::Contact);
    f.load(100);
    f.list->setCellText(2, 0, QStringLiteral("01/05/23 - 10:02:00"));
    f.list->setCellText(2, 1, QStringLiteral("2.345678"));
    f.list->setCellText(2, 2, QStringLiteral(" 100.0"));
    f.list->setFileState(2, FileListModel::FileState::Read);
    // A read file that lacks a value, an empty slot, a record that failed.
    f.list->setCellText(3, 0, QStringLiteral("01/05/23 - 10:03:00"));
    f.list->setCellText(3, 2, QString());
    f.list->setFileState(3, FileListModel::FileState::Read);
    f.list->setFileState(4, FileListModel::FileState::Empty);
    f.list->setColumnHeadings({QStringLiteral("File No."), QStringLiteral("Date & Time")});
    f.list->setTicked(2, true);

    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(f.view());
    QVERIFY(list);
    QCOMPARE(list->role(), QAccessible::List);
    // Every file, scrolled into view or not, in screen order.
    QCOMPARE(list->childCount(), 100);
    for (int row = 0; row < 100; ++row) {
        QAccessibleInterface *item = list->child(row);
        QVERIFY(item);
        QCOMPARE(item->role(), QAccessible::CheckBox); // heard as ticked or not ticked on every platform
        QVERIFY(item->text(QAccessible::Name).startsWith(QStringLiteral("File %1").arg(row + 1)));
        QCOMPARE(list->indexOfChild(item), row);
        QCOMPARE(item->parent(), list);
        QVERIFY(item->state().checkable);
        QCOMPARE(item->state().checked, row == 2);
        QCOMPARE(bool(item->state().offscreen), !f.list->isRowOnScreen(row));
    }
    QCOMPARE(list->child(2)->text(QAccessible::Name), QStringLiteral("File 3: 01/05/23 - 10:02:00, 2.345678, 100.0"));
    QCOMPARE(list->child(3)->text(QAccessible::Name), QStringLiteral("File 4: 01/05/23 - 10:03:00, no value"));
    QCOMPARE(list->child(4)->text(QAccessible::Name), QStringLiteral("File 5: empty"));
    QCOMPARE(list->child(5)->text(QAccessible::Name), QStringLiteral("File 6: not read"));
    QCOMPARE(list->child(2)->text(QAccessible::Description), QStringLiteral("Columns: File No., Date & Time"));
    QVERIFY(!list->child(100));

    // The item under a point is the file painted there.
    const QPoint onFile8 = f.view()->viewport()->mapToGlobal(f.list->labelCellRect(7, 1).center());
    QCOMPARE(list->childAt(onFile8.x(), onFile8.y()), list->child(7));
    f.view()->setFocus();
    f.list->setCurrentRow(63);
    QCOMPARE(list->focusChild(), list->child(63));
}

void FileListTest::accessibleToggleTicksTheModel_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("toggle") << QAccessibleActionInterface::toggleAction();
    QTest::newRow("press") << QAccessibleActionInterface::pressAction();
}

void FileListTest::accessibleToggleTicksTheModel()
{
    QFETCH(QString, action);
    Fixture f;
    f.load(100);
    f.list->scrollBar()->setValue(30);

    // File 8 is scrolled away; its item ticks all the same.
    QAccessibleInterface *item = f.item(7);
    QVERIFY(item->actionInterface());
    QVERIFY(item->actionInterface()->actionNames().contains(action));
    item->actionInterface()->doAction(action);
    QVERIFY(f.list->isTicked(7));
    QVERIFY(item->state().checked);

    // The tick is the model's: it outlives scrolling.
    f.list->scrollBar()->setValue(0);
    f.list->scrollBar()->setValue(17);
    QVERIFY(f.list->isTicked(7));
    for (int row = 0; row < 100; ++row)
        QCOMPARE(f.list->isTicked(row), row == 7);

    item->actionInterface()->doAction(action);
    QVERIFY(!f.list->isTicked(7));
}

QTEST_MAIN(FileListTest)
#include "tst_filelist.moc"
