// SPDX-License-Identifier: MIT
#include "protocol/CableRecord.h"

#include <QTest>

Q_DECLARE_METATYPE(RecordCells::Status)

namespace {

struct CableFields
{
    QByteArray name = "CAB0001";
    QList<int> dateTime = {7, 3, 21, 14, 5, 9};
    int conductor = 1;
    int currentLow = 0x7D, currentHigh = 0x00;
    int sizeLow = 0x5F, sizeHigh = 0x00;
    QByteArray resistance = "12.34m\xEA ";
};

// 1 "[", 2-8 name, 9-14 date and time, 15 conductor, 16-17 current, 18-19
// size, 20-21 filler, 22-29 resistance, 30-33 filler, 34 "]".
QByteArray reply(const CableFields &f)
{
    QByteArray bytes = '[' + f.name;
    for (const int b : f.dateTime)
        bytes.append(char(b));
    for (const int b : {f.conductor, f.currentLow, f.currentHigh, f.sizeLow, f.sizeHigh})
        bytes.append(char(b));
    bytes += "  " + f.resistance + "    ]";
    Q_ASSERT(bytes.size() == 34);
    return bytes;
}

QStringList described(const RecordCells &record)
{
    QStringList lines;
    for (const auto &[column, text] : record.cells)
        lines.append(QString::number(column) + QLatin1Char('=') + text);
    return lines;
}

// The cells of a successful fetch, in the order they are written.
QStringList filled(const QString &dateTime, const QString &conductor, const QString &current, const QString &size,
                   const QString &resistance)
{
    QStringList lines = {"0=CAB0001", "1=" + dateTime, "5=" + conductor, "4=" + current};
    if (!size.isNull())
        lines.append("3=" + size);
    lines.append("2=" + resistance);
    return lines;
}

const DateTimeSeparators slashColon{QStringLiteral("/"), QStringLiteral(":")};
const QLocale pointLocale = QLocale::c();
const QLocale commaLocale(QLocale::German, QLocale::Germany);

} // namespace

class TestCableRecord : public QObject
{
    Q_OBJECT

private slots:
    void request_data();
    void request();
    void separators_data();
    void separators();
    void decode_data();
    void decode();
    void localeSeparators();
    void resistanceText_data();
    void resistanceText();
};

void TestCableRecord::request_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("index 0") << 0 << QByteArray("{100000}");
    QTest::newRow("index 9") << 9 << QByteArray("{100009}");
    QTest::newRow("index 41") << 41 << QByteArray("{100041}");
    QTest::newRow("index 123") << 123 << QByteArray("{100123}");
}

void TestCableRecord::request()
{
    QFETCH(int, index);
    QFETCH(QByteArray, expected);
    QCOMPARE(cableRecordRequest(index), expected);
}

void TestCableRecord::separators_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::newRow("C") << QLocale::c() << "/" << ":";
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << "/" << ":";
    QTest::newRow("de_DE") << commaLocale << "." << ":";
    QTest::newRow("nl_NL") << QLocale(QLocale::Dutch, QLocale::Netherlands) << "-" << ":";
    QTest::newRow("fi_FI") << QLocale(QLocale::Finnish, QLocale::Finland) << "." << ".";
}

void TestCableRecord::separators()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, date);
    QFETCH(QString, time);
    const DateTimeSeparators seps = separatorsOf(locale);
    QCOMPARE(seps.date, date);
    QCOMPARE(seps.time, time);
}

void TestCableRecord::decode_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<RecordCells::Status>("status");
    QTest::addColumn<QStringList>("cells");
    using S = RecordCells::Status;
    const QString date = QStringLiteral("07/03/21 - 14:05:09");

    CableFields f;
    QTest::newRow("typical") << reply(f) << S::Filled << filled(date, "Copper", "12.5", "95", "12.34 m");

    f = {};
    f.dateTime = {0, 0, 0, 0, 0, 0};
    QTest::newRow("zero date") << reply(f) << S::Filled
                               << filled("00/00/00 - 00:00:00", "Copper", "12.5", "95", "12.34 m");
    f = {};
    f.dateTime = {100, 3, 21, 14, 5, 255};
    QTest::newRow("three-digit bytes") << reply(f) << S::Filled
                                       << filled("100/03/21 - 14:05:255", "Copper", "12.5", "95", "12.34 m");

    for (const auto &[code, word] : {std::pair{0, "Other"}, {1, "Copper"}, {2, "Aluminium"}, {3, "Other"},
                                     {255, "Other"}}) {
        f = {};
        f.conductor = code;
        QTest::addRow("conductor %d", code) << reply(f) << S::Filled << filled(date, word, "12.5", "95", "12.34 m");
    }

    for (const auto &[low, high, text] : {std::tuple{0x7D, 0x00, "12.5"}, {0xFF, 0xFF, "6553.5"},
                                          {0x00, 0x80, "3276.8"}, {50, 0, "5"}, {0, 0, "0"}}) {
        f = {};
        f.currentLow = low;
        f.currentHigh = high;
        QTest::addRow("current %02X %02X", low, high) << reply(f) << S::Filled
                                                      << filled(date, "Copper", text, "95", "12.34 m");
    }

    for (const auto &[low, high, text] : {std::tuple{0x5F, 0x00, "95"}, {0xFE, 0xFF, "65534"},
                                          {0x00, 0x01, "256"}, {0xFF, 0xFF, static_cast<const char *>(nullptr)}}) {
        f = {};
        f.sizeLow = low;
        f.sizeHigh = high;
        QTest::addRow("size %02X %02X", low, high)
            << reply(f) << S::Filled << filled(date, "Copper", "12.5", text ? QString(text) : QString(), "12.34 m");
    }

    f = {};
    f.resistance = "0.5678\xE6\xEA";
    QTest::newRow("micro") << reply(f) << S::Filled
                           << filled(date, "Copper", "12.5", "95", QStringLiteral("0.5678 \u00B5"));

    f = {};
    f.name = " - - - ";
    QTest::newRow("empty slot shows its name") << reply(f) << S::EmptySlot << QStringList{"0= - - - "};

    f = {};
    QTest::newRow("35 characters, end mark at 35")
        << reply(f).chopped(1) + "x]" << S::Filled << filled(date, "Copper", "12.5", "95", "12.34 m");
    QTest::newRow("34 characters ending in [") << reply(f).chopped(1) + '[' << S::BadEndMark << QStringList();
    QTest::newRow("too short") << QByteArray("[CAB0001]") << S::BadEndMark << QStringList();
    QTest::newRow("empty reply") << QByteArray() << S::BadEndMark << QStringList();
}

void TestCableRecord::decode()
{
    QFETCH(QByteArray, reply);
    QFETCH(RecordCells::Status, status);
    QFETCH(QStringList, cells);
    const RecordCells record = decodeCableRecord(reply, slashColon, pointLocale);
    QCOMPARE(record.status, status);
    QCOMPARE(described(record), cells);
}

void TestCableRecord::localeSeparators()
{
    const RecordCells record = decodeCableRecord(reply(CableFields{}), separatorsOf(commaLocale), commaLocale);
    QCOMPARE(described(record), filled("07.03.21 - 14:05:09", "Copper", "12,5", "95", "12.34 m"));
}

void TestCableRecord::resistanceText_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("expected");
    QTest::newRow("milli") << QByteArray("12.34m\xEA ") << "12.34 m";
    QTest::newRow("micro") << QByteArray("0.5678\xE6\xEA") << QStringLiteral("0.5678 \u00B5");
    QTest::newRow("ohm only") << QByteArray("1.2345\xEA ") << "1.2345";
    QTest::newRow("leading blank kept") << QByteArray(" 12.34m\xEA") << " 12.34 m";
    QTest::newRow("unit first") << QByteArray("m\xEA      ") << " m";
    QTest::newRow("no unit") << QByteArray("--------") << "--------";
    QTest::newRow("upper-case M is no unit") << QByteArray("1234.5M ") << "1234.5M ";
    QTest::newRow("upper-case M before ohm") << QByteArray("12.34M\xEA ") << "12.34M";
    QTest::newRow("first unit wins") << QByteArray("1.2\xE6m\xEA  ") << QStringLiteral("1.2 \u00B5");
}

void TestCableRecord::resistanceText()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, expected);
    QCOMPARE(cableResistanceText(field), expected);
}

QTEST_GUILESS_MAIN(TestCableRecord)
#include "tst_CableRecord.moc"
