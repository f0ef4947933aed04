// SPDX-License-Identifier: MIT
// What the detection window's labels tell a screen reader.
#include "AccessibleEvents.h"
#include "ui/Accessibility.h"

#include <QAccessibleValueInterface>
#include <QTest>

class TestAccessibleLabels : public QObject
{
    Q_OBJECT
private slots:
    void progressIsAValueOfTheCount_data()
    {
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<QVariantList>("told");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("maximum");
        QTest::newRow("before the first file") << QStringList{"..."} << QVariantList{} << 0 << 0;
        QTest::newRow("first of a hundred") << QStringList{"1 / 100"} << QVariantList{1} << 1 << 100;
        QTest::newRow("each file in turn")
            << QStringList{"1 / 3", "2 / 3", "3 / 3"} << QVariantList{1, 2, 3} << 3 << 3;
        QTest::newRow("largest count") << QStringList{"9999 / 9999"} << QVariantList{9999} << 9999 << 9999;
        QTest::newRow("other text keeps the last count")
            << QStringList{"4 / 9", "4/9", " 5 / 9"} << QVariantList{4} << 4 << 9;
    }
    void progressIsAValueOfTheCount()
    {
        QFETCH(QStringList, texts);
        QFETCH(QVariantList, told);
        QFETCH(int, value);
        QFETCH(int, maximum);
        QWidget window;
        auto *label = new ProgressLabel(QStringLiteral("..."), &window);
        const AccessibleEvents events;
        for (const QString &text : texts)
            label->setProgressText(text);
        QCOMPARE(label->text(), texts.last());
        QCOMPARE(events.values(label), told);

        QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(label);
        QCOMPARE(shown->role(), QAccessible::ProgressBar);
        QCOMPARE(shown->text(QAccessible::Value), texts.last());
        QVERIFY(!shown->text(QAccessible::Name).isEmpty());
        QAccessibleValueInterface *values = shown->valueInterface();
        QVERIFY(values);
        QCOMPARE(values->currentValue().toInt(), value);
        QCOMPARE(values->maximumValue().toInt(), maximum);
        QCOMPARE(values->minimumValue().toInt(), 0);
    }

    void announcedLineIsANotificationNamedByItsText()
    {
        QWidget window;
        auto *label = new AnnouncedLabel(QStringLiteral("    Warning:   two  blanks"), &window);
        QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(label);
        QCOMPARE(shown->role(), QAccessible::Notification);
        QCOMPARE(shown->text(QAccessible::Name), QString("Warning: two blanks"));
        label->setText(QStringLiteral("PC successfully connected to [KX-C1]"));
        QCOMPARE(shown->text(QAccessible::Name), QString("PC successfully connected to [KX-C1]"));
    }
};

QTEST_MAIN(TestAccessibleLabels)
#include "tst_accessiblelabels.moc"
