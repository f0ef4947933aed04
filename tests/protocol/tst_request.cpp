// SPDX-License-Identifier: MIT
#include "protocol/Request.h"

#include <QTest>

class TestRequest : public QObject
{
    Q_OBJECT
private slots:
    void formatsArguments_data()
    {
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<int>("argument");
        QTest::addColumn<int>("digits");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("7 with 00") << QByteArray("10") << 7 << 2 << QByteArray("{1007}");
        QTest::newRow("7 with 0000") << QByteArray("11") << 7 << 4 << QByteArray("{110007}");
        QTest::newRow("123 with 00 is written in full") << QByteArray("11") << 123 << 2 << QByteArray("{11123}");
        QTest::newRow("first record") << QByteArray("11") << 0 << 4 << QByteArray("{110000}");
        QTest::newRow("slot 37") << QByteArray("11") << 37 << 4 << QByteArray("{110037}");
        QTest::newRow("short slot 29") << QByteArray("11") << 29 << 2 << QByteArray("{1129}");
        QTest::newRow("cable 41") << QByteArray("10") << 41 << 4 << QByteArray("{100041}");
        QTest::newRow("index 9999") << QByteArray("10") << 9999 << 4 << QByteArray("{109999}");
    }
    void formatsArguments()
    {
        QFETCH(QByteArray, code);
        QFETCH(int, argument);
        QFETCH(int, digits);
        QFETCH(QByteArray, expected);
        QCOMPARE(Request::withArgument(code.constData(), argument, digits), expected);
    }

    void formatsPlainCommands()
    {
        QCOMPARE(Request::command("00"), QByteArray("{00}"));
        QCOMPARE(Request::command("03"), QByteArray("{03}"));
    }
};

QTEST_GUILESS_MAIN(TestRequest)
#include "tst_request.moc"
