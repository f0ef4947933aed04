// SPDX-License-Identifier: MIT
#include "ui/Twips.h"
#include "ui/WindowGeometry.h"
#include "ui/WrapButton.h"
#include "ui/ScreenFont.h"

#include <QFontMetricsF>
#include <QImage>
#include <QSignalSpy>
#include <QStyleOptionButton>
#include <QTest>

namespace {

const QString heatRun = QStringLiteral("       Heat Run Test       files");
const QString measurements = QStringLiteral("Resistance Measurement files");

QFont programFont()
{
    return WindowGeometry::sansSerif(8.25, false);
}

// The columns that hold text ink in rows [top, bottom) of `image`, inside `area`.
struct Ink
{
    int left = -1;
    int right = -1;
};

Ink inkBetween(const QImage &image, const QRect &area, int top, int bottom)
{
    Ink ink;
    for (int x = area.left(); x <= area.right(); ++x) {
        for (int y = top; y < bottom; ++y) {
            if (QColor(image.pixel(x, y)).lightness() < 110) {
                if (ink.left < 0)
                    ink.left = x;
                ink.right = x;
                break;
            }
        }
    }
    return ink;
}

} // namespace

class WrapButtonTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { ScreenFont::use(ScreenFont::programChoice()); } // as the program draws
    void visibleText_data();
    void visibleText();
    void captionLines_data();
    void captionLines();
    void textStaysTheCaption();
    void accessKeyStillPresses();
    void sizeHintHoldsTheLines_data();
    void sizeHintHoldsTheLines();
    void linesArePaintedCentred();
};

void WrapButtonTest::visibleText_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("visible");
    QTest::newRow("access key") << "E&xit" << "Exit";
    QTest::newRow("escaped ampersand") << "Save && Exit" << "Save & Exit";
    QTest::newRow("plain") << heatRun << heatRun;
    QTest::newRow("trailing ampersand") << "A&" << "A&";
}

void WrapButtonTest::visibleText()
{
    QFETCH(QString, caption);
    QFETCH(QString, visible);
    QCOMPARE(CaptionWrap::visibleText(caption), visible);
}

void WrapButtonTest::captionLines_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("widthOf"); // the width is this text's; "" for a wide box, "-" for 1 pixel
    QTest::addColumn<int>("minimumLines");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("one line, outer blanks dropped") << heatRun << "" << 1 << QStringList{"Heat Run Test       files"};
    QTest::newRow("two lines kept in a wide box") << heatRun << "" << 2 << QStringList{"Heat Run Test", "files"};
    QTest::newRow("blanks push the last word down")
        << heatRun << "       Heat Run Test       file" << 1 << QStringList{"Heat Run Test", "files"};
    QTest::newRow("wraps where the box ends")
        << measurements << "Resistance Measurement" << 1 << QStringList{"Resistance Measurement", "files"};
    QTest::newRow("two lines in a wide box") << measurements << "" << 2
                                             << QStringList{"Resistance Measurement", "files"};
    QTest::newRow("three lines") << measurements << "" << 3 << QStringList{"Resistance", "Measurement", "files"};
    QTest::newRow("a word each when too narrow") << measurements << "-" << 1
                                                 << QStringList{"Resistance", "Measurement", "files"};
    QTest::newRow("one word cannot be split") << "Exit" << "" << 2 << QStringList{"Exit"};
    QTest::newRow("blanks only") << "   " << "" << 1 << QStringList{};
}

void WrapButtonTest::captionLines()
{
    QFETCH(QString, caption);
    QFETCH(QString, widthOf);
    QFETCH(int, minimumLines);
    QFETCH(QStringList, lines);

    const QFont font = programFont();
    const qreal width = widthOf.isEmpty() ? 10000.0
        : widthOf == QLatin1String("-")   ? 1.0
                                          : QFontMetricsF(font).horizontalAdvance(widthOf);
    QCOMPARE(CaptionWrap::lines(caption, font, width, minimumLines), lines);
}

void WrapButtonTest::textStaysTheCaption()
{
    WrapButton button(heatRun);
    button.setMinimumLines(2);
    QCOMPARE(button.text(), heatRun);
    QCOMPARE(button.minimumLines(), 2);

    WrapButton withKey(QStringLiteral("E&xit files"));
    QCOMPARE(withKey.text(), QStringLiteral("E&xit files"));
    QCOMPARE(withKey.shortcut(), QKeySequence::mnemonic(QStringLiteral("E&xit files")));
    withKey.setMinimumLines(2);
    QCOMPARE(withKey.lines(), QStringList({"Exit", "files"}));
}

void WrapButtonTest::accessKeyStillPresses()
{
    QWidget window;
    auto *button = new WrapButton(QStringLiteral("&Resistance Measurement files"), &window);
    button->setMinimumLines(2);
    button->resize(140, 40);
    // An access key presses the button at once and releases it a moment later.
    QSignalSpy pressed(button, &QPushButton::pressed);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // Through the window system, where shortcuts are handled.
    QTest::keyClick(window.windowHandle(), Qt::Key_R, Qt::AltModifier);
    QCOMPARE(pressed.count(), 1);
    QVERIFY(button->isDown());
}

void WrapButtonTest::sizeHintHoldsTheLines_data()
{
    QTest::addColumn<qreal>("points");
    QTest::newRow("smallest") << 7.0;
    QTest::newRow("design") << 8.25;
    QTest::newRow("large") << 12.0;
}

void WrapButtonTest::sizeHintHoldsTheLines()
{
    QFETCH(qreal, points);
    WrapButton button(heatRun);
    button.setFont(WindowGeometry::sansSerif(points, false));
    button.setMinimumLines(2);
    const QSize hint = button.sizeHint();
    button.resize(hint);
    QCOMPARE(button.lines(), QStringList({"Heat Run Test", "files"}));
    QCOMPARE(button.heightForWidth(hint.width()), hint.height());

    // The lines fit the area the style leaves for the text at that size.
    QStyleOptionButton option;
    option.initFrom(&button);
    const QRect area = button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    const QFontMetrics metrics(button.font());
    QVERIFY(metrics.horizontalAdvance(QStringLiteral("Heat Run Test")) <= area.width());
    QVERIFY(2 * metrics.lineSpacing() <= area.height() + metrics.leading());

    // One line is lower than two.
    WrapButton single(QStringLiteral("Heat Run Test"));
    single.setFont(button.font());
    QVERIFY(single.sizeHint().height() < hint.height());
}

void WrapButtonTest::linesArePaintedCentred()
{
    // The menu button as the winding window draws it.
    WrapButton button(heatRun);
    button.setFont(programFont());
    button.setMinimumLines(2);
    button.setGeometry(Twips::rect(600, 360, 2055, 615));

    const QImage image = button.grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const int middle = image.height() / 2;
    // Inside the button's frame, left and right.
    const QRect inside = image.rect().adjusted(int(4 * ratio), 0, int(-4 * ratio), 0);
    const Ink first = inkBetween(image, inside, 0, middle);
    const Ink second = inkBetween(image, inside, middle, image.height());
    QVERIFY2(first.left >= 0 && second.left >= 0, "no text painted");

    // Each line's ink is centred on the button, the blanks around
    // "Heat Run Test" notwithstanding.
    const qreal centre = image.width() / 2.0;
    const qreal tolerance = 2 * ratio;
    QVERIFY2(qAbs((first.left + first.right) / 2.0 - centre) <= tolerance,
             qPrintable(QStringLiteral("first line %1..%2, centre %3").arg(first.left).arg(first.right).arg(centre)));
    QVERIFY2(qAbs((second.left + second.right) / 2.0 - centre) <= tolerance,
             qPrintable(QStringLiteral("second line %1..%2, centre %3").arg(second.left).arg(second.right).arg(centre)));
    // "Heat Run Test" is wider than "files".
    QVERIFY(first.right - first.left > second.right - second.left);
}

QTEST_MAIN(WrapButtonTest)
#include "tst_wrapbutton.moc"
