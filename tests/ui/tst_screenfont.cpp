// SPDX-License-Identifier: MIT
#include "ui/ScreenFont.h"
#include "ui/Twips.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QLocale>
#include <QTest>

#include <cmath>

namespace {

const QString sample = QStringLiteral("01/05/23 - 10:02:00");

// A one-line label just wide enough for `sample` in `family` at `points`.
TextRoom roomFor(const QString &family, qreal points)
{
    const ScreenFontChoice choice{family, points, 1.0};
    const qreal advance = QFontMetricsF(choice.font(8.25, false)).horizontalAdvance(sample);
    return TextRoom{sample, int(std::ceil(advance)) * Twips::perPixel, 255};
}

bool fitsAll(const QList<TextRoom> &rooms, const ScreenFontChoice &choice)
{
    for (const TextRoom &room : rooms) {
        if (!ScreenFont::fits(room, choice.font(room.designPoints, room.bold), choice.layoutScale))
            return false;
    }
    return true;
}

} // namespace

class ScreenFontTest : public QObject
{
    Q_OBJECT

private slots:
    void designPixelsAtScaleOne_data();
    void designPixelsAtScaleOne();
    void scaledPixels();
    void designStandsWhenAFontFits();
    void largestSizeThatFits();
    void layoutGrowsWhenNoSizeFits();
    void earlierFamilyWinsATie();
    void sizesStayInProportion();
};

void ScreenFontTest::designPixelsAtScaleOne_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("cell width") << 735 << 49;
    QTest::newRow("rounds down below half") << 7 << 0;
    QTest::newRow("rounds up above half") << 8 << 1;
    QTest::newRow("negative, above half") << -8 << -1;
    QTest::newRow("negative, below half") << -7 << 0;
    QTest::newRow("scrolled panel") << -8940 << -596;
    QTest::newRow("winding window") << 15315 << 1021;
}

void ScreenFontTest::designPixelsAtScaleOne()
{
    QFETCH(int, twips);
    QFETCH(int, pixels);
    QCOMPARE(Twips::toPixels(double(twips), 1.0), pixels);
}

void ScreenFontTest::scaledPixels()
{
    QCOMPARE(Twips::toPixels(1455.0, 1.15), 112); // 111.55
    QCOMPARE(Twips::toPixels(-1455.0, 1.15), -112);
    QCOMPARE(Twips::toPixels(735.0, 2.0), 98);
    // The program's own conversions go both ways with its factor.
    QCOMPARE(Twips::toPixels(735), Twips::toPixels(735.0, Twips::layoutScale()));
    QCOMPARE(Twips::fromPixels(Twips::toPixels(6300)), 6300);
}

void ScreenFontTest::designStandsWhenAFontFits()
{
    const QString family = ScreenFont::preferredFamilies().constFirst();
    const QList<TextRoom> rooms{roomFor(family, 8.25)};
    const ScreenFontChoice choice = ScreenFont::choose({family}, rooms);
    QCOMPARE(choice.family, family);
    QCOMPARE(choice.points, 8.25);
    QCOMPARE(choice.layoutScale, 1.0);
}

void ScreenFontTest::largestSizeThatFits()
{
    const QString family = ScreenFont::preferredFamilies().constFirst();
    // Wide enough at 7 points, too narrow at 8.25.
    const QList<TextRoom> rooms{roomFor(family, 7.0)};
    QVERIFY(!fitsAll(rooms, ScreenFontChoice{family, 8.25, 1.0}));

    const ScreenFontChoice choice = ScreenFont::choose({family}, rooms);
    QCOMPARE(choice.layoutScale, 1.0);
    QVERIFY(choice.points >= ScreenFont::smallestPoints && choice.points < 8.25);
    QVERIFY(fitsAll(rooms, choice));
    // Not a step smaller than it needs to be.
    QVERIFY(!fitsAll(rooms, ScreenFontChoice{family, choice.points + ScreenFont::pointStep, 1.0}));
}

void ScreenFontTest::layoutGrowsWhenNoSizeFits()
{
    const QString family = ScreenFont::preferredFamilies().constFirst();
    TextRoom room = roomFor(family, 7.0);
    room.widthTwips = room.widthTwips * 3 / 4;
    const QList<TextRoom> rooms{room};

    const ScreenFontChoice choice = ScreenFont::choose({family}, rooms);
    QCOMPARE(choice.points, ScreenFont::smallestPoints);
    QVERIFY(choice.layoutScale > 1.0);
    QVERIFY(fitsAll(rooms, choice));
    // The smallest factor, in hundredths, that does it.
    ScreenFontChoice smaller = choice;
    smaller.layoutScale = choice.layoutScale - 0.01;
    QVERIFY(!fitsAll(rooms, smaller));
}

void ScreenFontTest::earlierFamilyWinsATie()
{
    const QString family = ScreenFont::preferredFamilies().constFirst();
    const QList<TextRoom> rooms{TextRoom{QStringLiteral("No."), 4000, 400}};
    QCOMPARE(ScreenFont::choose({family, QStringLiteral("Another Face")}, rooms).family, family);
}

void ScreenFontTest::sizesStayInProportion()
{
    const ScreenFontChoice choice{QString(), 7.0, 1.0};
    QCOMPARE(choice.font(8.25, false).pointSizeF(), 7.0);
    QCOMPARE(choice.font(24, true).pointSizeF(), 24 * 7.0 / 8.25);
    QVERIFY(choice.font(9.75, true).bold());
}

QTEST_MAIN(ScreenFontTest)
#include "tst_screenfont.moc"
