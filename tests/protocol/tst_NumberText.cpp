// SPDX-License-Identifier: MIT
#include "protocol/NumberText.h"

#include <QTest>
#include <limits>

Q_DECLARE_METATYPE(MeterReading::Kind)

// Locales are passed as objects; the process locale is left alone except in
// the test that changes it on purpose to show meterNumber ignores it.
class TestNumberText : public QObject
{
    Q_OBJECT

private slots:
    void singleText_data();
    void singleText();
    void doubleText_data();
    void doubleText();
    void nonFiniteGivesEmptyText();
    void meterNumber_data();
    void meterNumber();
    void meterNumberIgnoresDefaultLocale();
    void readMeterNumber_data();
    void readMeterNumber();
    void scientificFallbackMatches_data();
    void scientificFallbackMatches();
};

static const QLocale pointLocale = QLocale::c();
static const QLocale commaLocale(QLocale::German, QLocale::Germany);

void TestNumberText::singleText_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("point");
    QTest::addColumn<QString>("comma");

    QTest::newRow("zero") << 0.0f << "0" << "0";
    QTest::newRow("negative zero") << -0.0f << "0" << "0";
    QTest::newRow("whole") << 5.0f << "5" << "5";
    QTest::newRow("whole hundred") << 100.0f << "100" << "100";
    QTest::newRow("one decimal") << 12.5f << "12.5" << "12,5";
    QTest::newRow("half") << 0.5f << "0.5" << "0,5";
    QTest::newRow("tenth, not 0.100000001") << 0.1f << "0.1" << "0,1";
    QTest::newRow("seven digits") << 1.2082970142364502f << "1.208297" << "1,208297";
    QTest::newRow("rounded to seven") << 12.23963737487793f << "12.23964" << "12,23964";
    QTest::newRow("trailing zeros dropped") << 93.8499984741211f << "93.85" << "93,85";
    QTest::newRow("current max") << 6553.5f << "6553.5" << "6553,5";
    QTest::newRow("current 3276.8") << 3276.8f << "3276.8" << "3276,8";
    QTest::newRow("size") << 65534.0f << "65534" << "65534";
    QTest::newRow("negative") << -93.85f << "-93.85" << "-93,85";
    QTest::newRow("largest fixed") << 9999999.0f << "9999999" << "9999999";
    QTest::newRow("exponent large") << 12345678.0f << "1.234568E+07" << "1,234568E+07";
    QTest::newRow("exponent ten million") << 1.0e7f << "1E+07" << "1E+07";
    QTest::newRow("exponent near max") << 3.4e38f << "3.4E+38" << "3,4E+38";
    QTest::newRow("smallest fixed") << 0.0001f << "0.0001" << "0,0001";
    QTest::newRow("small fixed digits") << 0.00012345f << "0.00012345" << "0,00012345";
    QTest::newRow("exponent small") << 0.00001f << "1E-05" << "1E-05";
    QTest::newRow("exponent small digits") << 0.000012345f << "1.2345E-05" << "1,2345E-05";
    QTest::newRow("exponent negative") << -0.00001f << "-1E-05" << "-1E-05";
}

void TestNumberText::singleText()
{
    QFETCH(float, value);
    QFETCH(QString, point);
    QFETCH(QString, comma);
    QCOMPARE(::singleText(value, pointLocale), point);
    QCOMPARE(::singleText(value, commaLocale), comma);
}

void TestNumberText::doubleText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("point");
    QTest::addColumn<QString>("comma");

    QTest::newRow("temperature 25.3") << 253 / 10.0 << "25.3" << "25,3";
    QTest::newRow("temperature 25") << 250 / 10.0 << "25" << "25";
    QTest::newRow("temperature 0.5") << 5 / 10.0 << "0.5" << "0,5";
    QTest::newRow("temperature 99.9") << 999 / 10.0 << "99.9" << "99,9";
    QTest::newRow("fifteen digits") << 1.0 / 3.0 << "0.333333333333333" << "0,333333333333333";
    QTest::newRow("largest fixed") << 123456789012345.0 << "123456789012345" << "123456789012345";
    QTest::newRow("exponent large") << 1.0e15 << "1E+15" << "1E+15";
    QTest::newRow("three-digit exponent") << 1.5e100 << "1.5E+100" << "1,5E+100";
    QTest::newRow("exponent small") << 0.00001 << "1E-05" << "1E-05";
}

void TestNumberText::doubleText()
{
    QFETCH(double, value);
    QFETCH(QString, point);
    QFETCH(QString, comma);
    QCOMPARE(::doubleText(value, pointLocale), point);
    QCOMPARE(::doubleText(value, commaLocale), comma);
}

void TestNumberText::nonFiniteGivesEmptyText()
{
    QCOMPARE(::singleText(std::numeric_limits<float>::infinity(), pointLocale), QString());
    QCOMPARE(::singleText(std::numeric_limits<float>::quiet_NaN(), pointLocale), QString());
    QCOMPARE(::doubleText(-std::numeric_limits<double>::infinity(), pointLocale), QString());
}

void TestNumberText::meterNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<float>("expected");

    QTest::newRow("point") << "1.234" << true << 1.234f;
    QTest::newRow("padded") << "    1.234" << true << 1.234f;
    QTest::newRow("trailing blanks") << "12.50    " << true << 12.5f;
    QTest::newRow("whole") << "100" << true << 100.0f;
    QTest::newRow("negative") << "-0.5" << true << -0.5f;
    QTest::newRow("plus") << "+2" << true << 2.0f;
    QTest::newRow("leading point") << ".5" << true << 0.5f;
    QTest::newRow("trailing point") << "5." << true << 5.0f;
    QTest::newRow("exponent") << "1.5E-3" << true << 0.0015f;
    QTest::newRow("lower-case exponent") << "2e2" << true << 200.0f;
    QTest::newRow("comma") << "1,234" << false << 0.0f;
    QTest::newRow("empty") << "" << false << 0.0f;
    QTest::newRow("blanks") << "         " << false << 0.0f;
    QTest::newRow("design text") << "  ---" << false << 0.0f;
    QTest::newRow("two points") << "1.2.3" << false << 0.0f;
    QTest::newRow("unit") << "1.234m" << false << 0.0f;
    QTest::newRow("inner blank") << "1. 234" << false << 0.0f;
    QTest::newRow("hex") << "0x10" << false << 0.0f;
    QTest::newRow("beyond single") << "1E+39" << false << 0.0f;
    QTest::newRow("over range mark") << "  OL     " << false << 0.0f;
}

void TestNumberText::meterNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, isNumber);
    QFETCH(float, expected);
    const std::optional<float> value = ::meterNumber(text);
    QCOMPARE(value.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*value, expected);
}

void TestNumberText::meterNumberIgnoresDefaultLocale()
{
    QLocale::setDefault(commaLocale);
    const std::optional<float> point = ::meterNumber(QStringLiteral("1.234"));
    const std::optional<float> comma = ::meterNumber(QStringLiteral("1,234"));
    QLocale::setDefault(QLocale::c());
    QVERIFY(point);
    QCOMPARE(*point, 1.234f);
    QVERIFY(!comma);
}

void TestNumberText::readMeterNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<MeterReading::Kind>("kind");
    QTest::addColumn<float>("value");

    using K = MeterReading::Kind;
    QTest::newRow("number") << "    1.234" << K::Value << 1.234f;
    QTest::newRow("largest single") << "  3.4E+38" << K::Value << 3.4e38f;
    QTest::newRow("largest single, negative") << " -3.4E+38" << K::Value << -3.4e38f;
    QTest::newRow("tiny becomes zero") << "1E-50" << K::Value << 0.0f;
    QTest::newRow("beyond single") << "  1.0E+39" << K::BeyondSingle << 0.0f;
    QTest::newRow("beyond single, negative") << " -1.0E+39" << K::BeyondSingle << 0.0f;
    QTest::newRow("beyond single, no exponent") << "400000000000000000000000000000000000000" << K::BeyondSingle
                                                << 0.0f;
    QTest::newRow("beyond double") << "   1E+400" << K::BeyondSingle << 0.0f;
    QTest::newRow("design text") << "  ---" << K::NotANumber << 0.0f;
    QTest::newRow("comma") << "1,234" << K::NotANumber << 0.0f;
    QTest::newRow("exponent without digits") << "1.0E+" << K::NotANumber << 0.0f;
    QTest::newRow("blanks") << "         " << K::NotANumber << 0.0f;
}

void TestNumberText::readMeterNumber()
{
    QFETCH(QString, text);
    QFETCH(MeterReading::Kind, kind);
    QFETCH(float, value);
    const MeterReading reading = ::readMeterNumber(text);
    QCOMPARE(reading.kind, kind);
    if (kind == MeterReading::Kind::Value)
        QCOMPARE(reading.value, value);
}

// Older macOS targets have no floating-point std::to_chars, and the numbers
// are then formatted through Qt: both must give the same digits.
void TestNumberText::scientificFallbackMatches_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("precision");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole") << 1234567.0 << 6 << "1.234567e+06";
    QTest::newRow("rounded up") << 12345678.0 << 6 << "1.234568e+07";
    QTest::newRow("tenth, double precision") << 0.1 << 14 << "1.00000000000000e-01";
    QTest::newRow("tenth, beyond its digits") << 0.1 << 19 << "1.0000000000000000555e-01";
    QTest::newRow("single's float widened") << double(0.1f) << 6 << "1.000000e-01";
    QTest::newRow("negative small") << -0.00001 << 6 << "-1.000000e-05";
    QTest::newRow("three-digit exponent") << 1.5e-300 << 3 << "1.500e-300";
    QTest::newRow("largest double") << std::numeric_limits<double>::max() << 14 << "1.79769313486232e+308";
    QTest::newRow("no digits after the point") << 9.6 << 0 << "1e+01";
    // Exact ties in binary round to even, as the C++ standard asks of to_chars.
    QTest::newRow("tie, down to even") << 0.125 << 1 << "1.2e-01";
    QTest::newRow("tie, up to even") << 0.375 << 1 << "3.8e-01";
    QTest::newRow("tie of a float's digits") << double(12345.125f) << 6 << "1.234512e+04";
    QTest::newRow("just above a tie") << 0.12500000000000003 << 1 << "1.3e-01";
    QTest::newRow("carry into a new digit") << 9.96 << 1 << "1.0e+01";
    QTest::newRow("negative tie") << -2.5 << 0 << "-2e+00";
}

void TestNumberText::scientificFallbackMatches()
{
    QFETCH(double, value);
    QFETCH(int, precision);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(scientificTextPortable(value, precision)), expected);
    QCOMPARE(QString::fromStdString(scientificText(value, precision)), expected);
}

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_NumberText.moc"
