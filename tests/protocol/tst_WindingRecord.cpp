// SPDX-License-Identifier: MIT
#include "protocol/WindingRecord.h"

#include <QTest>

Q_DECLARE_METATYPE(RecordCells::Status)

namespace {

const QLocale pointLocale = QLocale::c();
const QLocale commaLocale(QLocale::German, QLocale::Germany);

// A long reply: name 1-6, Ch1 8-16, Ch2 18-26, conductor 28, tenths 30-33, "]".
QByteArray longReply(const QByteArray &name, const QByteArray &ch1, const QByteArray &ch2, char conductor,
                     const QByteArray &tenths)
{
    Q_ASSERT(name.size() == 6 && ch1.size() == 9 && ch2.size() == 9 && tenths.size() == 4);
    return name + ' ' + ch1 + ' ' + ch2 + ' ' + conductor + ' ' + tenths + ']';
}

// A short reply: name 1-6, Ch1 8-16, Ch2 18-26, "]".
QByteArray shortReply(const QByteArray &name, const QByteArray &ch1, const QByteArray &ch2)
{
    return name + ' ' + ch1 + ' ' + ch2 + ']';
}

// "column=text" per written cell, in writing order, so a failure shows the row.
QStringList described(const RecordCells &record)
{
    QStringList lines;
    for (const auto &[column, text] : record.cells)
        lines.append(QString::number(column) + QLatin1Char('=') + text);
    return lines;
}

const QByteArray ch1 = "    1.234";
const QByteArray ch2 = "    12.50";
const QStringList measured = {"0=FILE01", "1=    1.234", "2=    12.50"};

} // namespace

class TestWindingRecord : public QObject
{
    Q_OBJECT

private slots:
    void request_data();
    void request();
    void correctedTo20_data();
    void correctedTo20();
    void correctedOverflowGivesNothing();
    void decode_data();
    void decode();
    void conductorName();
};

void TestWindingRecord::request_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("shortRecords");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("long first") << 0 << false << QByteArray("{110000}");
    QTest::newRow("long 37") << 37 << false << QByteArray("{110037}");
    QTest::newRow("long 123") << 123 << false << QByteArray("{110123}");
    QTest::newRow("short first") << 0 << true << QByteArray("{1100}");
    QTest::newRow("short last") << 29 << true << QByteArray("{1129}");
}

void TestWindingRecord::request()
{
    QFETCH(int, index);
    QFETCH(bool, shortRecords);
    QFETCH(QByteArray, expected);
    QCOMPARE(windingRecordRequest(index, shortRecords), expected);
}

void TestWindingRecord::correctedTo20_data()
{
    QTest::addColumn<float>("r");
    QTest::addColumn<int>("tenths");
    QTest::addColumn<int>("conductor");
    QTest::addColumn<QString>("point");
    QTest::addColumn<QString>("comma");

    QTest::newRow("copper 25.3") << 1.234f << 253 << 0 << "1.208297" << "1,208297";
    QTest::newRow("aluminium 25.3") << 1.234f << 253 << 1 << "1.207185" << "1,207185";
    QTest::newRow("other code is aluminium") << 1.234f << 253 << 9 << "1.207185" << "1,207185";
    QTest::newRow("at 20 degrees") << 12.5f << 200 << 0 << "12.5" << "12,5";
    QTest::newRow("aluminium 35") << 100.0f << 350 << 1 << "93.85" << "93,85";
    QTest::newRow("copper 25.3, 12.5") << 12.5f << 253 << 0 << "12.23964" << "12,23964";
    QTest::newRow("lowest temperature") << 1.234f << 1 << 0 << "1.330507" << "1,330507";
    QTest::newRow("highest temperature") << 1.234f << 999 << 0 << "0.8465154" << "0,8465154";
    QTest::newRow("zero resistance") << 0.0f << 253 << 0 << "0" << "0";
}

void TestWindingRecord::correctedTo20()
{
    QFETCH(float, r);
    QFETCH(int, tenths);
    QFETCH(int, conductor);
    QFETCH(QString, point);
    QFETCH(QString, comma);
    QCOMPARE(::correctedTo20(r, tenths, conductor, pointLocale), point);
    QCOMPARE(::correctedTo20(r, tenths, conductor, commaLocale), comma);
}

void TestWindingRecord::correctedOverflowGivesNothing()
{
    QVERIFY(!correctedValue(3.4e38f, 1, 0));
    QCOMPARE(::correctedTo20(3.4e38f, 1, 0, pointLocale), QString());
    QVERIFY(correctedValue(3.4e38f, 200, 0)); // no correction at 20 degrees
}

void TestWindingRecord::decode_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("shortRecords");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<RecordCells::Status>("status");
    QTest::addColumn<QStringList>("cells");

    using S = RecordCells::Status;
    const QStringList copperRow = measured + QStringList{"3=25.3", "4=1.208297", "5=12.23964", "6=Copper"};

    QTest::newRow("copper") << longReply("FILE01", ch1, ch2, '0', "0253") << false << pointLocale << S::Filled
                            << copperRow;
    QTest::newRow("aluminium")
        << longReply("FILE01", ch1, ch2, '1', "0253") << false << pointLocale << S::Filled
        << measured + QStringList{"3=25.3", "4=1.207185", "5=12.22838", "6=Aluminium"};
    QTest::newRow("code 7 is aluminium")
        << longReply("FILE01", ch1, ch2, '7', "0253") << false << pointLocale << S::Filled
        << measured + QStringList{"3=25.3", "4=1.207185", "5=12.22838", "6=Aluminium"};
    QTest::newRow("comma locale")
        << longReply("FILE01", ch1, ch2, '0', "0253") << false << commaLocale << S::Filled
        << measured + QStringList{"3=25,3", "4=1,208297", "5=12,23964", "6=Copper"};
    QTest::newRow("whole degrees")
        << longReply("FILE01", ch1, ch2, '0', "0250") << false << pointLocale << S::Filled
        << measured + QStringList{"3=25", "4=1.209752", "5=12.25438", "6=Copper"};
    QTest::newRow("lowest accepted t = 1")
        << longReply("FILE01", ch1, "    12.50", '0', "0001") << false << pointLocale << S::Filled
        << measured + QStringList{"3=0.1", "4=1.330507", "5=13.47759", "6=Copper"};
    QTest::newRow("highest accepted t = 999")
        << longReply("FILE01", ch1, ch2, '0', "0999") << false << pointLocale << S::Filled
        << measured + QStringList{"3=99.9", "4=0.8465154", "5=8.574912", "6=Copper"};
    QTest::newRow("t = 0 stops") << longReply("FILE01", ch1, ch2, '0', "0000") << false << pointLocale << S::Filled
                                 << measured;
    QTest::newRow("t = 1000 stops") << longReply("FILE01", ch1, ch2, '0', "1000") << false << pointLocale
                                    << S::Filled << measured;
    QTest::newRow("t not a number") << longReply("FILE01", ch1, ch2, '0', "25.3") << false << pointLocale
                                    << S::Filled << measured;
    QTest::newRow("t blank") << longReply("FILE01", ch1, ch2, '0', "    ") << false << pointLocale << S::Filled
                             << measured;
    QTest::newRow("conductor not a digit")
        << longReply("FILE01", ch1, ch2, 'X', "0253") << false << pointLocale << S::Filled << measured;
    QTest::newRow("conductor blank") << longReply("FILE01", ch1, ch2, ' ', "0253") << false << pointLocale
                                     << S::Filled << measured;
    QTest::newRow("channel 1 not a number")
        << longReply("FILE01", "  -----  ", ch2, '0', "0253") << false << pointLocale << S::Filled
        << QStringList{"0=FILE01", "1=  -----  ", "2=    12.50", "3=25.3", "5=12.23964", "6=Copper"};
    QTest::newRow("channel 2 not a number")
        << longReply("FILE01", ch1, "   1,234 ", '0', "0253") << false << pointLocale << S::Filled
        << QStringList{"0=FILE01", "1=    1.234", "2=   1,234 ", "3=25.3", "4=1.208297", "6=Copper"};
    // A resistance beyond single precision, or a corrected value beyond it,
    // ends the decoding where it stands: the temperature and what the
    // channels before it gave stay, the conductor is not written.
    QTest::newRow("corrected value overflows")
        << longReply("FILE01", "  3.4E+38", ch2, '0', "0001") << false << pointLocale << S::Filled
        << QStringList{"0=FILE01", "1=  3.4E+38", "2=    12.50", "3=0.1"};
    QTest::newRow("corrected value of channel 2 overflows")
        << longReply("FILE01", ch1, "  3.4E+38", '0', "0001") << false << pointLocale << S::Filled
        << QStringList{"0=FILE01", "1=    1.234", "2=  3.4E+38", "3=0.1", "4=1.330507"};
    QTest::newRow("largest single without correction")
        << longReply("FILE01", "  3.4E+38", ch2, '0', "0200") << false << pointLocale << S::Filled
        << QStringList{"0=FILE01", "1=  3.4E+38", "2=    12.50", "3=20", "4=3.4E+38", "5=12.5", "6=Copper"};
    QTest::newRow("channel 1 beyond single")
        << longReply("FILE01", "  1.0E+39", ch2, '0', "0253") << false << pointLocale << S::Filled
        << QStringList{"0=FILE01", "1=  1.0E+39", "2=    12.50", "3=25.3"};
    QTest::newRow("channel 2 beyond single")
        << longReply("FILE01", ch1, "  1.0E+39", '0', "0253") << false << pointLocale << S::Filled
        << QStringList{"0=FILE01", "1=    1.234", "2=  1.0E+39", "3=25.3", "4=1.208297"};
    QTest::newRow("channel 1 negative beyond single")
        << longReply("FILE01", " -1.0E+39", ch2, '0', "0253") << false << pointLocale << S::Filled
        << QStringList{"0=FILE01", "1= -1.0E+39", "2=    12.50", "3=25.3"};
    QTest::newRow("channel 1 beyond double")
        << longReply("FILE01", "   1E+400", ch2, '1', "0253") << false << pointLocale << S::Filled
        << QStringList{"0=FILE01", "1=   1E+400", "2=    12.50", "3=25.3"};
    QTest::newRow("channel 1 not a number, channel 2 beyond single")
        << longReply("FILE01", "  -----  ", "  1.0E+39", '0', "0253") << false << pointLocale << S::Filled
        << QStringList{"0=FILE01", "1=  -----  ", "2=  1.0E+39", "3=25.3"};
    QTest::newRow("channel beyond single in the short format")
        << shortReply("FILE01", "  1.0E+39", ch2) << true << pointLocale << S::Filled
        << QStringList{"0=FILE01", "1=  1.0E+39", "2=    12.50"};
    QTest::newRow("name kept as received")
        << longReply("A<&> \xE9", ch1, ch2, '0', "0253") << false << pointLocale << S::Filled
        << QStringList{QStringLiteral("0=A<&> \u00E9"), "1=    1.234", "2=    12.50", "3=25.3", "4=1.208297",
                       "5=12.23964", "6=Copper"};
    QTest::newRow("empty slot") << longReply(" - - -", ch1, ch2, '0', "0253") << false << pointLocale
                                << S::EmptySlot << QStringList();
    QTest::newRow("open bracket last") << longReply("FILE01", ch1, ch2, '0', "0253").chopped(1) + '['
                                       << false << pointLocale << S::BadEndMark << QStringList();
    QTest::newRow("no bracket") << longReply("FILE01", ch1, ch2, '0', "0253").chopped(1) << false << pointLocale
                                << S::BadEndMark << QStringList();
    QTest::newRow("too short") << QByteArray("FILE01]") << false << pointLocale << S::BadEndMark << QStringList();
    QTest::newRow("empty reply") << QByteArray() << false << pointLocale << S::BadEndMark << QStringList();

    QTest::newRow("short format") << shortReply("FILE01", ch1, ch2) << true << pointLocale << S::Filled
                                  << measured;
    QTest::newRow("short format ignores a long tail")
        << longReply("FILE01", ch1, ch2, '0', "0253") << true << pointLocale << S::Filled << measured;
    QTest::newRow("short empty slot") << shortReply(" - - -", ch1, ch2) << true << pointLocale << S::EmptySlot
                                      << QStringList();
    QTest::newRow("short without bracket") << shortReply("FILE01", ch1, ch2).chopped(1) << true << pointLocale
                                           << S::BadEndMark << QStringList();
}

void TestWindingRecord::decode()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, shortRecords);
    QFETCH(QLocale, locale);
    QFETCH(RecordCells::Status, status);
    QFETCH(QStringList, cells);
    const RecordCells record = decodeWindingRecord(reply, shortRecords, locale);
    QCOMPARE(record.status, status);
    QCOMPARE(described(record), cells);
}

void TestWindingRecord::conductorName()
{
    QCOMPARE(::conductorName(0), QStringLiteral("Copper"));
    QCOMPARE(::conductorName(1), QStringLiteral("Aluminium"));
    QCOMPARE(::conductorName(9), QStringLiteral("Aluminium"));
}

QTEST_GUILESS_MAIN(TestWindingRecord)
#include "tst_WindingRecord.moc"
