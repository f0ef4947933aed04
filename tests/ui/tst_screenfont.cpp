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
    void desktopFontNeverBelowTheDesign_data();
    void desktopFontNeverBelowTheDesign();
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

void ScreenFontTest::desktopFontNeverBelowTheDesign_data()
{
    QTest::addColumn<QString>("designFace");
    QTest::addColumn<QFont>("desktop");
    QTest::addColumn<QString>("family");
    QTest::addColumn<qreal>("points");
    const QString desktopFace = QFontInfo(QFont(QStringLiteral("DejaVu Sans"))).family();
    QFont inPixels(desktopFace);
    inPixels.setPixelSize(16);
    QTest::newRow("the desktop's size") << QString() << QFont(desktopFace, 11) << desktopFace << 11.0;
    QTest::newRow("a desktop smaller than the design") << QString() << QFont(desktopFace, 7) << desktopFace << 8.25;
    QTest::newRow("the design's size") << QString() << QFont(desktopFace, 8) << desktopFace << 8.25;
    QTest::newRow("a desktop sized in pixels") << QString() << inPixels << desktopFace << 12.0;
    QTest::newRow("the design's face stays at its size") << "MS Sans Serif" << QFont(desktopFace, 11) << "MS Sans Serif"
                                                         << 8.25;
}

void ScreenFontTest::desktopFontNeverBelowTheDesign()
{
    QFETCH(QString, designFace);
    QFETCH(QFont, desktop);
    QFETCH(QString, family);
    QFETCH(qreal, points);
    // Just wide enough for the sample at the design's size.
    const QList<TextRoom> rooms{roomFor(QFontInfo(desktop).family(), 8.25)};
    const ScreenFontChoice choice = ScreenFont::choose(designFace, desktop, rooms);
    QCOMPARE(choice.family, family);
    QCOMPARE(choice.points, points);
    // The layout grows as far as the texts need, and no further.
    QVERIFY(fitsAll(rooms, choice));
    if (designFace.isEmpty() && points > 8.25)
        QVERIFY(choice.layoutScale > 1.0);
    if (choice.layoutScale > 1.0) {
        ScreenFontChoice smaller = choice;
        smaller.layoutScale = choice.layoutScale - 0.01;
        QVERIFY(!fitsAll(rooms, smaller));
    }
}

void ScreenFontTest::sizesStayInProportion()
{
    const ScreenFontChoice choice{QString(), 11.0, 1.0};
    QCOMPARE(choice.font(8.25, false).pointSizeF(), 11.0);
    QCOMPARE(choice.font(24, true).pointSizeF(), 24 * 11.0 / 8.25);
    QVERIFY(choice.font(9.75, true).bold());
}

QTEST_MAIN(ScreenFontTest)
#include "tst_screenfont.moc"
