// SPDX-License-Identifier: MIT
#include "ui/PlainText.h"

#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTextDocument>
#include <QWidget>
#include <QWindow>

namespace {

const QString nul(QChar(0));

} // namespace

class TestPlainText : public QObject
{
    Q_OBJECT

private slots:
    void shown_data();
    void shown();
    void shownTextIsShownUnchanged_data() { shown_data(); }
    void shownTextIsShownUnchanged();
    void windowTitle_data();
    void windowTitle();
    void labelShowsMarkupAsText_data();
    void labelShowsMarkupAsText();
    void toolTip_data();
    void toolTip();
    void emptyToolTip();
    void messageBox();
};

void TestPlainText::shown_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("model") << "[KX-W1]" << "[KX-W1]";
    QTest::newRow("markup stays as characters") << "<img src=/dev/zero>" << "<img src=/dev/zero>";
    QTest::newRow("blanks and micro sign") << QStringLiteral("  0.5 \u00B5") << QStringLiteral("  0.5 \u00B5");
    QTest::newRow("NUL does not cut the rest") << "AB" + nul + "CD" << QStringLiteral("AB\u2400CD");
    QTest::newRow("ESC") << "\x1b[2J" << QStringLiteral("\u241B[2J");
    QTest::newRow("CR LF") << "A\r\nB" << QStringLiteral("A\u240D\u240AB");
    QTest::newRow("tab and unit separator") << "\t\x1f" << QStringLiteral("\u2409\u241F");
    QTest::newRow("DEL") << "\x7f" << QStringLiteral("\u2421");
    QTest::newRow("C1 next line") << QStringLiteral("A\u0085B") << QStringLiteral("A\uFFFDB");
    QTest::newRow("line and paragraph separators")
        << QStringLiteral("\u2028\u2029") << QStringLiteral("\uFFFD\uFFFD");
    QTest::newRow("empty") << "" << "";
}

void TestPlainText::shown()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(PlainText::shown(text), expected);
}

void TestPlainText::shownTextIsShownUnchanged()
{
    // The detection window appends to what its label already shows.
    QFETCH(QString, expected);
    QCOMPARE(PlainText::shown(expected), expected);
}

void TestPlainText::windowTitle_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");      // what the widget is given
    QTest::addColumn<QString>("displayed");  // what the window system gets
    QTest::newRow("model") << "[KX-W1] Meter Communication Software" << "[KX-W1] Meter Communication Software"
                           << "[KX-W1] Meter Communication Software";
    QTest::newRow("placeholder") << "[*] M" << "[*][*] M" << "[*] M";
    QTest::newRow("two placeholders") << "[*][*] M" << "[*][*][*][*] M" << "[*][*] M";
    QTest::newRow("inside a word") << "A[*]B[*" << "A[*][*]B[*" << "A[*]B[*";
    QTest::newRow("NUL keeps the rest") << "A" + nul + "B M" << QStringLiteral("A\u2400B M")
                                        << QStringLiteral("A\u2400B M");
    QTest::newRow("markup") << "<b>x</b> M" << "<b>x</b> M" << "<b>x</b> M";
}

void TestPlainText::windowTitle()
{
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(QString, displayed);
    QCOMPARE(PlainText::windowTitle(text), title);

    QWidget window;
    PlainText::setWindowTitle(&window, text);
    QCOMPARE(window.windowTitle(), title);
    window.winId();
    QVERIFY(window.windowHandle());
    QCOMPARE(window.windowHandle()->title(), displayed);
    // A modified window shows a lone "[*]" as "*": the literal must stay.
    // (Qt warns about marking a window modified whose title has no "[*]".)
    if (title.contains(QStringLiteral("[*]"))) {
        window.setWindowModified(true);
        QCOMPARE(window.windowHandle()->title(), displayed);
    }
}

void TestPlainText::labelShowsMarkupAsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("heading") << "<h1>[KX-W1]</h1>";
    QTest::newRow("font") << "<font size=7>[KX-W1]</font>";
    QTest::newRow("bold") << "<b>x</b>";
    QTest::newRow("image") << "<img src=/etc/passwd>";
}

void TestPlainText::labelShowsMarkupAsText()
{
    QFETCH(QString, text);
    QLabel label(QStringLiteral("ab"));
    PlainText::setLabelText(&label, text);
    QCOMPARE(label.textFormat(), Qt::PlainText);
    QCOMPARE(label.text(), text);
    // One line of ordinary text, as high as any other single line.
    QLabel reference;
    reference.setTextFormat(Qt::PlainText);
    reference.setText(QStringLiteral("x"));
    QCOMPARE(label.sizeHint().height(), reference.sizeHint().height());
}

void TestPlainText::toolTip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("literal");
    QTest::newRow("device named with markup") << "/tmp/<img src=/etc/passwd>: no such device"
                                              << "/tmp/<img src=/etc/passwd>: no such device";
    QTest::newRow("ampersand and blanks") << "a &amp;  b" << "a &amp;  b";
    QTest::newRow("line end") << "a\nb" << QStringLiteral("a\u240Ab");
}

void TestPlainText::toolTip()
{
    QFETCH(QString, text);
    QFETCH(QString, literal);
    const QString tip = PlainText::toolTip(text);
    QVERIFY(!tip.contains(QStringLiteral("<img")));
    // What the tool tip shows is the text itself.
    QTextDocument document;
    document.setHtml(tip);
    QCOMPARE(document.toPlainText(), literal);
}

void TestPlainText::emptyToolTip()
{
    QCOMPARE(PlainText::toolTip(QString()), QString());
}

void TestPlainText::messageBox()
{
    QMessageBox box;
    PlainText::setMessage(box, QStringLiteral("Error [*]"),
                          "/home/u/<b>x</b>\n" + nul + ".html: Permission denied");
    QCOMPARE(box.textFormat(), Qt::PlainText);
    QCOMPARE(box.text(), QStringLiteral("/home/u/<b>x</b>\u240A\u2400.html: Permission denied"));
    QCOMPARE(box.windowTitle(), QStringLiteral("Error [*][*]"));
}

QTEST_MAIN(TestPlainText)
#include "tst_PlainText.moc"
