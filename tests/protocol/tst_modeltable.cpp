// SPDX-License-Identifier: MIT
#include "protocol/FamilyProtocol.h"

#include <QTest>

Q_DECLARE_METATYPE(MeterFamily)

class TestModelTable : public QObject
{
    Q_OBJECT
private slots:
    void mapsRepliesToFamilies_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<bool>("known");
        QTest::addColumn<MeterFamily>("family");
        QTest::newRow("W1") << QByteArray("[KX-W1]") << true << MeterFamily::Winding;
        QTest::newRow("W2") << QByteArray("[KX-W2]") << true << MeterFamily::Winding;
        QTest::newRow("W3") << QByteArray("[KX-W3]") << true << MeterFamily::Winding;
        QTest::newRow("W4") << QByteArray("[KX-W4]") << true << MeterFamily::Winding;
        QTest::newRow("contact") << QByteArray("[KX-C1]") << true << MeterFamily::Contact;
        QTest::newRow("ratio") << QByteArray("KXT1") << true << MeterFamily::Ratio;
        QTest::newRow("cable") << QByteArray("[KX-R1]") << true << MeterFamily::Cable;
        QTest::newRow("line end after a known reply") << QByteArray("[KX-C1]\r\n") << false << MeterFamily::Winding;
        QTest::newRow("lower case") << QByteArray("[kx-c1]") << false << MeterFamily::Winding;
        QTest::newRow("ratio with brackets") << QByteArray("[KXT1]") << false << MeterFamily::Winding;
        QTest::newRow("unknown") << QByteArray("HELLO") << false << MeterFamily::Winding;
    }
    void mapsRepliesToFamilies()
    {
        QFETCH(QByteArray, reply);
        QFETCH(bool, known);
        QFETCH(MeterFamily, family);
        QCOMPARE(familyForModel(reply).has_value(), known);
        QCOMPARE(familyOrWinding(reply), family);
    }
};

QTEST_GUILESS_MAIN(TestModelTable)
#include "tst_modeltable.moc"
