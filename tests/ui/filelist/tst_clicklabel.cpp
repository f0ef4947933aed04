// SPDX-License-Identifier: MIT
#include "ui/filelist/ClickLabel.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QSignalSpy>
#include <QTest>

class ClickLabelTest : public QObject
{
    Q_OBJECT

private slots:
    void keysThatClick_data();
    void keysThatClick();
    void mouseClickCountsOnRelease();
    void accessiblePressAction();
    void disabledLabelStaysSilent();
    void navyText();
};

void ClickLabelTest::keysThatClick_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("clicks");

    QTest::newRow("space") << int(Qt::Key_Space) << 1;
    QTest::newRow("return") << int(Qt::Key_Return) << 1;
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << 1;
    QTest::newRow("letter") << int(Qt::Key_A) << 0;
}

void ClickLabelTest::keysThatClick()
{
    QFETCH(int, key);
    QFETCH(int, clicks);

    ClickLabel label(QStringLiteral("Select All"));
    QCOMPARE(label.focusPolicy(), Qt::StrongFocus);
    QSignalSpy spy(&label, &ClickLabel::clicked);
    QTest::keyClick(&label, Qt::Key(key));
    QCOMPARE(spy.count(), clicks);
}

void ClickLabelTest::mouseClickCountsOnRelease()
{
    ClickLabel label(QStringLiteral("Unselect All"));
    label.resize(60, 14);
    QSignalSpy spy(&label, &ClickLabel::clicked);

    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(spy.count(), 0);
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(spy.count(), 1);

    // Released away from the label: no click, as with a button.
    QTest::mousePress(&label, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(&label, Qt::LeftButton, {}, QPoint(200, 5));
    QCOMPARE(spy.count(), 1);

    QTest::mouseClick(&label, Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(spy.count(), 1);
}

void ClickLabelTest::accessiblePressAction()
{
    ClickLabel label(QStringLiteral("Select All"));
    QSignalSpy spy(&label, &ClickLabel::clicked);

    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&label);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::Link);
    QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("Select All"));
    QAccessibleActionInterface *actions = iface->actionInterface();
    QVERIFY(actions);
    QVERIFY(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));

    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(spy.count(), 1);
}

void ClickLabelTest::disabledLabelStaysSilent()
{
    ClickLabel label(QStringLiteral("Select All"));
    label.setEnabled(false);
    QSignalSpy spy(&label, &ClickLabel::clicked);

    label.click();
    QAccessible::queryAccessibleInterface(&label)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    QCOMPARE(spy.count(), 0);
}

void ClickLabelTest::navyText()
{
    ClickLabel label(QStringLiteral("Select All"));
    QCOMPARE(label.palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 0, 128));
    QCOMPARE(label.text(), QStringLiteral("Select All"));
}

QTEST_MAIN(ClickLabelTest)
#include "tst_clicklabel.moc"
