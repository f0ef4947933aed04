// SPDX-License-Identifier: MIT
#include "protocol/MeterValues.h"

#include <QTest>

Q_DECLARE_METATYPE(std::optional<MeterNumber>)

class TestMeterValues : public QObject
{
    Q_OBJECT
private slots:
    void numbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("prefixed");
        QTest::addColumn<std::optional<MeterNumber>>("number");
        const auto row = [](const char *name, const QString &text, bool prefixed, std::optional<MeterNumber> number) {
            QTest::newRow(name) << text << prefixed << number;
        };
        row("padded, as the winding meter sends it", "  100.000", false, MeterNumber{100, 3});
        row("negative corrected value", "-1.234568E-05", false, MeterNumber{-1.234568e-5, 11});
        row("contact milliohms", "848E-3", false, MeterNumber{0.848, 3});
        row("contact microohms", "151E-6", false, MeterNumber{151e-6, 6});
        row("whole number", "24", false, MeterNumber{24, 0});
        row("overload", "     OL  ", false, std::nullopt);
        row("over range", "-Over-", false, std::nullopt);
        row("placeholder", "  ---", false, std::nullopt);
        row("meter placeholder", "-------", false, std::nullopt);
        row("empty", "", false, std::nullopt);
        row("a sign alone", "-", false, std::nullopt);
        row("a comma is no decimal point", "35,4", false, std::nullopt);
        row("group separators are not read", "1,234.5", false, std::nullopt);
        row("formula-like", "-1+1", false, std::nullopt);
        row("infinity", "1E999", false, std::nullopt);
        row("milliohms", "33.54 m", true, MeterNumber{0.03354, 5});
        row("microohms", QStringLiteral("0.1489 \u00B5"), true, MeterNumber{0.1489e-6, 10});
        row("ohms", "3.7202", true, MeterNumber{3.7202, 4});
        row("a prefix without a number", " m", true, std::nullopt);
        row("no cable resistance", "--------", true, std::nullopt);
    }
    void numbers()
    {
        QFETCH(QString, text);
        QFETCH(bool, prefixed);
        QFETCH(std::optional<MeterNumber>, number);
        const std::optional<MeterNumber> read = prefixed ? prefixedNumber(text) : plainNumber(text);
        QCOMPARE(read.has_value(), number.has_value());
        if (number) {
            QCOMPARE(read->value, number->value);
            QCOMPARE(read->decimals, number->decimals);
        }
    }

    void dates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("iso"); // empty: no date
        QTest::newRow("day first") << "01/05/23 - 10:02:00" << "2023-05-01T10:02:00";
        QTest::newRow("other separators") << "31.12.99 - 23:59:59" << "2099-12-31T23:59:59";
        QTest::newRow("leap day") << "29/02/24 - 00:00:00" << "2024-02-29T00:00:00";
        QTest::newRow("no leap day") << "29/02/23 - 00:00:00" << "";
        QTest::newRow("month 13") << "01/13/23 - 10:02:00" << "";
        QTest::newRow("hour 24") << "01/05/23 - 24:00:00" << "";
        QTest::newRow("empty slot marker") << "32/45/32 - 45:32:45" << "";
        QTest::newRow("placeholder") << "  ---" << "";
        QTest::newRow("three-digit field") << "100/100/100 - 100:100:100" << "";
        // The hour a clock change skips in central Europe, read in that zone.
        QTest::newRow("in a skipped hour") << "26/03/23 - 02:30:00" << "2023-03-26T02:30:00";
    }
    void dates()
    {
        QFETCH(QString, text);
        QFETCH(QString, iso);
        const QByteArray zone = qgetenv("TZ");
        qputenv("TZ", "Europe/Berlin");
        const std::optional<QDateTime> read = meterDateTime(text);
        if (zone.isEmpty())
            qunsetenv("TZ");
        else
            qputenv("TZ", zone);
        QCOMPARE(read ? isoDateTime(*read) : QString(), iso);
    }
};

QTEST_MAIN(TestMeterValues)
#include "tst_MeterValues.moc"
