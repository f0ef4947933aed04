// SPDX-License-Identifier: MIT
// Every caption, heading and list cell of every window shows the longest texts
// it can come to hold, whole, in the font and layout that the program chooses.
// ctest runs this program at QT_SCALE_FACTOR 1, 1.25, 1.5 and 2.
#include "ChildNamed.h"
#include "FakeSerialLink.h"
#include "ScriptedDialogs.h"
#include "app/DetectionDialog.h"
#include "link/StopRequest.h"
#include "ui/FileListWindow.h"
#include "protocol/CableRecord.h"
#include "protocol/ContactRecord.h"
#include "protocol/NumberText.h"
#include "protocol/WindingRecord.h"
#include "ui/CableMeterWindow.h"
#include "ui/ContactMeterWindow.h"
#include "ui/FileListWindow.h"
#include "ui/PlainText.h"
#include "ui/ScreenFont.h"
#include "ui/Twips.h"
#include "ui/WindingMeterWindow.h"
#include "ui/WrapButton.h"
#include "ui/filelist/ClickLabel.h"
#include "ui/filelist/FileListView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

enum class Window { Winding, Contact, Ratio, Cable };

QString nameOf(Window window)
{
    switch (window) {
    case Window::Winding:
        return QStringLiteral("winding");
    case Window::Contact:
        return QStringLiteral("contact");
    case Window::Ratio:
        return QStringLiteral("ratio");
    case Window::Cable:
        return QStringLiteral("cable");
    }
    return {};
}

// Why `widget` does not show its own text whole; empty when it does.
QString clipping(const QWidget *widget)
{
    const QFontMetrics metrics(widget->font(), widget);
    const auto tooWide = [&](const QString &text, int advance, const QRect &area) {
        return QStringLiteral("%1 \"%2\": needs %3 px, has %4 x %5 px")
            .arg(widget->objectName(), text)
            .arg(advance)
            .arg(area.width())
            .arg(area.height());
    };

    if (const auto *button = qobject_cast<const WrapButton *>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect area = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const QString shown = button->lines().join(QLatin1Char('\n'));
        const QRect needed = metrics.boundingRect(area, Qt::AlignCenter, shown);
        // The lines hold every word of the caption, none cut or dropped.
        if (button->lines().join(QLatin1Char(' ')).simplified() != QString(button->text()).remove('&').simplified())
            return QStringLiteral("%1 lines %2 lose words").arg(button->objectName(), shown);
        if (needed.width() > area.width() || needed.height() > area.height())
            return tooWide(shown, needed.width(), area);
        return {};
    }
    if (const auto *button = qobject_cast<const QPushButton *>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect area = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const QString visible = QString(button->text()).remove(QLatin1Char('&'));
        const int advance = metrics.horizontalAdvance(visible);
        if (advance > area.width() || metrics.height() > area.height())
            return tooWide(visible, advance, area);
        return {};
    }
    if (const auto *box = qobject_cast<const QCheckBox *>(widget)) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        const QRect area = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        const int advance = metrics.horizontalAdvance(box->text());
        if (advance > area.width() || metrics.height() > box->height())
            return tooWide(box->text(), advance, area);
        return {};
    }
    if (const auto *label = qobject_cast<const QLabel *>(widget)) {
        const QRect area = label->contentsRect();
        if (label->wordWrap()) {
            const QRect needed = metrics.boundingRect(QRect(0, 0, area.width(), 100000),
                                                      Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, label->text());
            if (needed.width() > area.width() || needed.height() > area.height())
                return tooWide(label->text(), needed.width(), area) + QStringLiteral(" (wrapped: %1 px high)")
                                                                         .arg(needed.height());
            return {};
        }
        const int advance = metrics.horizontalAdvance(label->text());
        if (advance > area.width() || metrics.height() > area.height())
            return tooWide(label->text(), advance, area);
        return {};
    }
    if (const auto *group = qobject_cast<const QGroupBox *>(widget)) {
        // The title sits inside the frame with a margin of about a character on either side.
        const int advance = metrics.horizontalAdvance(group->title()) + 2 * metrics.averageCharWidth();
        if (advance > group->width())
            return tooWide(group->title(), advance, group->rect());
        return {};
    }
    return {};
}

// Whether a painted label cell of the list shows `text` whole, in the list's font.
QString cellClipping(const FileList &list, int row, int column)
{
    const QWidget *view = list.view();
    const QFontMetrics metrics(view->font(), view);
    const QString text = PlainText::shown(list.cellText(row, column));
    const QRect area = list.labelCellRect(row, column);
    const int advance = metrics.horizontalAdvance(text);
    if (advance > area.width() || metrics.height() > area.height())
        return QStringLiteral("cell %1 of file %2 \"%3\": needs %4 px, has %5 x %6 px")
            .arg(column)
            .arg(row + 1)
            .arg(text)
            .arg(advance)
            .arg(area.width())
            .arg(area.height());
    return {};
}

// Whether a painted check box shows its file number whole beside its indicator.
QString checkClipping(const FileList &list, int row)
{
    const QWidget *view = list.view();
    const QFontMetrics metrics(view->font(), view);
    QStyleOptionButton option;
    option.initFrom(view);
    option.rect = list.checkCellRect(row);
    option.text = list.checkCaption(row);
    const QRect area = view->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, view);
    const int advance = metrics.horizontalAdvance(option.text);
    if (advance > area.width() || metrics.height() > option.rect.height())
        return QStringLiteral("check box \"%1\": needs %2 px, has %3 x %4 px")
            .arg(option.text)
            .arg(advance)
            .arg(area.width())
            .arg(option.rect.height());
    return {};
}

bool hasText(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return !label->text().isEmpty();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return !button->text().isEmpty();
    if (const auto *group = qobject_cast<const QGroupBox *>(widget))
        return !group->title().isEmpty();
    return false;
}

QLabel *labelWithText(const QWidget *window, const QString &text)
{
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (label->text() == text)
            return label;
    }
    return nullptr;
}

// A cable record as the meter sends it: 34 bytes, byte fields as raw values.
QByteArray cableReply(const QByteArray &name, quint8 dateByte, quint8 conductor, quint16 current, quint16 size,
                      const QByteArray &resistance)
{
    QByteArray reply("[");
    reply += name;                                  // 2-8
    reply += QByteArray(6, char(dateByte));         // 9-14
    reply += char(conductor);                       // 15
    reply += char(current & 0xFF);                  // 16-17, low byte first
    reply += char(current >> 8);
    reply += char(size & 0xFF);                     // 18-19
    reply += char(size >> 8);
    reply += "  ";                                  // 20-21
    reply += resistance;                            // 22-29
    reply += "    ";                                // 30-33
    reply += ']';                                   // 34
    return reply;
}

QStringList cableCells(const QByteArray &reply, const QLocale &locale, int column)
{
    QStringList texts;
    for (const auto &[cell, text] : decodeCableRecord(reply, separatorsOf(locale), locale).cells) {
        if (cell == column)
            texts << text;
    }
    return texts;
}

// The longest texts each list cell can come to hold, as the windows write them under `locale`.
QList<QPair<int, QStringList>> longestCellTexts(Window window, const QLocale &locale)
{
    switch (window) {
    case Window::Winding:
        return {
            {WindingColumn::FileName, {"TX-001", "000000"}},
            {WindingColumn::Res1T, {"  100.000", "99999.999", "     OL  "}},
            {WindingColumn::Res2T, {"  100.000", "99999.999", "     OL  "}},
            {WindingColumn::Temp, {doubleText(99.9, locale), doubleText(0.1, locale)}},
            {WindingColumn::Res1At20,
             {singleText(9.999999e9f, locale), singleText(-9.999999e9f, locale), singleText(-1.234568e-5f, locale),
              correctedTo20(1.234f, 253, 0, locale)}},
            {WindingColumn::Res2At20, {singleText(9.999999e9f, locale), singleText(-9.999999e9f, locale)}},
            {WindingColumn::Conductor, {conductorName(1), conductorName(0)}},
        };
    case Window::Contact:
    case Window::Ratio:
        return {
            {ContactColumn::DateTime, {"01/05/23 - 10:02:00", "00/00/00 - 00:00:00"}},
            {ContactColumn::Resistance, {"-Under-", "-Over-", contactResistanceText("999<    "), "00000000", "12.34 m"}},
            {ContactColumn::Current, {"000.0", "00000"}},
        };
    case Window::Cable: {
        // Date fields of a real date have two digits; a byte beyond them is drawn narrower (tst_filelist).
        const QByteArray widest = cableReply("0000000", 99, 2, 0xFFFF, 0xFFFE, "123.456m");
        const QByteArray twoDigits = cableReply("TX-0001", 0, 1, 125, 95, QByteArray("0.5678") + char(230) + char(234));
        const QByteArray other = cableReply("TX-0002", 59, 3, 5, 4, "--------");
        QList<QPair<int, QStringList>> cells;
        for (int column = CableColumn::FileName; column < CableColumn::Count; ++column) {
            cells.append({column, cableCells(widest, locale, column) + cableCells(twoDigits, locale, column)
                                      + cableCells(other, locale, column)});
        }
        return cells;
    }
    }
    return {};
}

} // namespace

Q_DECLARE_METATYPE(Window)

class TextFitTest : public QObject
{
    Q_OBJECT

private:
    ProgramState m_state;
    StopRequest m_stop;
    ScriptedDialogs m_dialogs;

    MeterWindowContext context()
    {
        return MeterWindowContext{m_state, m_dialogs, m_stop, [](qint64) { return std::make_unique<FakeSerialLink>(); },
                                  [](const QString &) {}};
    }

    std::unique_ptr<MeterWindow> make(Window window)
    {
        switch (window) {
        case Window::Winding:
            return std::make_unique<WindingMeterWindow>(context());
        case Window::Contact:
            return std::make_unique<FileListWindow>(context(), contactWindowDesign(MeterFamily::Contact));
        case Window::Ratio:
            return std::make_unique<FileListWindow>(context(), contactWindowDesign(MeterFamily::Ratio));
        case Window::Cable:
            return std::make_unique<FileListWindow>(context(), cableWindowDesign());
        }
        return {};
    }

    static FileList &listOf(MeterWindow *window)
    {
        if (auto *winding = qobject_cast<WindingMeterWindow *>(window))
            return winding->list();
        return qobject_cast<FileListWindow *>(window)->list();
    }

    std::unique_ptr<DetectionDialog> makeSplash()
    {
        auto splash = std::make_unique<DetectionDialog>(
            m_state, m_dialogs, m_stop, [](qint64) { return std::make_unique<FakeSerialLink>(); },
            [](const MeterWindowContext &) { return std::unique_ptr<MeterWindow>(); });
        // Only the layout is looked at: the probe never starts.
        splash->probeTimer().stop();
        return splash;
    }

private slots:
    void initTestCase();
    void cleanup();

    void heatRunCaptionTakesTwoCentredLines();
    void measurementCaptionWrapsInsteadOfClipping();
    void linksKeepTheirDesignedBoxes_data();
    void linksKeepTheirDesignedBoxes();
    void cableSizeAndCurrentHeadingsStayApart();
    void portFieldShowsWholeDeviceEntries();

    void everyCaptionShowsWhole_data();
    void everyCaptionShowsWhole();
    void detectionWindowShowsItsTextsWhole();
    void everyCellShowsItsLongestTexts_data();
    void everyCellShowsItsLongestTexts();
    void fileNumbersFitTheirCheckBoxes_data();
    void fileNumbersFitTheirCheckBoxes();
};

void TextFitTest::initTestCase()
{
    // A run under QT_SCALE_FACTOR must really be scaled, or it proves nothing.
    const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
    if (!factor.isEmpty())
        QCOMPARE(qApp->devicePixelRatio(), factor.toDouble());
    ScreenFont::use(ScreenFont::programChoice()); // the windows as the program draws them
    const ScreenFontChoice &choice = ScreenFont::current();
    qInfo("font %s %.2f pt, layout x%.2f, device pixel ratio %.2f", qPrintable(choice.family), choice.points,
          choice.layoutScale, qApp->devicePixelRatio());
}

void TextFitTest::cleanup()
{
    QLocale::setDefault(QLocale::c());
}

void TextFitTest::heatRunCaptionTakesTwoCentredLines()
{
    WindingMeterWindow window(context());
    auto *button = qobject_cast<WrapButton *>(childNamed<QPushButton>(&window, "cmdHRT"));
    QVERIFY(button);
    // The caption stays as designed, blanks and all; only the painting wraps it.
    QCOMPARE(button->text(), QStringLiteral("       &Heat Run Test       files"));
    QCOMPARE(button->objectName(), QStringLiteral("cmdHRT"));
    QCOMPARE(button->accessibleName(), QStringLiteral("Heat Run Test files"));
    QCOMPARE(button->lines(), QStringList({"Heat Run Test", "files"}));
    QCOMPARE(clipping(button), QString());
}

void TextFitTest::measurementCaptionWrapsInsteadOfClipping()
{
    WindingMeterWindow window(context());
    auto *button = qobject_cast<WrapButton *>(childNamed<QPushButton>(&window, "cmdRM"));
    QVERIFY(button);
    QCOMPARE(button->text(), QStringLiteral("&Resistance Measurement files"));
    QCOMPARE(button->objectName(), QStringLiteral("cmdRM"));
    QCOMPARE(button->lines(), QStringList({"Resistance Measurement", "files"}));
    QCOMPARE(clipping(button), QString());
}

void TextFitTest::linksKeepTheirDesignedBoxes_data()
{
    QTest::addColumn<Window>("window");
    for (Window window : {Window::Winding, Window::Contact, Window::Cable})
        QTest::newRow(qPrintable(nameOf(window))) << window;
}

void TextFitTest::linksKeepTheirDesignedBoxes()
{
    QFETCH(Window, window);
    const std::unique_ptr<MeterWindow> meterWindow = make(window);
    auto *selectAll = meterWindow->findChild<ClickLabel *>(QStringLiteral("lblSelectAll"));
    auto *unselectAll = meterWindow->findChild<ClickLabel *>(QStringLiteral("lblUnselectAll"));
    QVERIFY(selectAll && unselectAll);
    QCOMPARE(selectAll->geometry(), Twips::rect(360, 7560, 660, 195));
    QCOMPARE(unselectAll->geometry(), Twips::rect(1800, 7560, 840, 195));
    QCOMPARE(clipping(selectAll), QString());
    QCOMPARE(clipping(unselectAll), QString());
}

void TextFitTest::cableSizeAndCurrentHeadingsStayApart()
{
    const std::unique_ptr<MeterWindow> window = make(Window::Cable);
    QLabel *size = labelWithText(window.get(), QStringLiteral("Size (sq.mm)"));
    QLabel *current = labelWithText(window.get(), QStringLiteral("Current (A)"));
    QVERIFY(size && current);
    const QFontMetrics metrics(size->font(), size);
    const QRect sizeText = metrics.boundingRect(QRect(0, 0, size->width(), 100000),
                                                Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, size->text());
    // The first heading's text ends before the second heading begins.
    QVERIFY2(size->x() + sizeText.width() < current->x(),
             qPrintable(QStringLiteral("\"Size (sq.mm)\" ends at %1, \"Current (A)\" starts at %2")
                            .arg(size->x() + sizeText.width())
                            .arg(current->x())));
    QCOMPARE(clipping(current), QString());
}

void TextFitTest::portFieldShowsWholeDeviceEntries()
{
    // Where the devices are not called COMn the entries name them: COM n
    // linked to a USB adapter reads "n (ttyUSBm)", to a pseudo-terminal "n (pts/m)".
    QTemporaryDir config;
    QVERIFY(config.isValid());
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QVERIFY(QDir().mkpath(config.path() + "/kestrix/ports"));
    for (int number = 1; number <= 32; ++number) {
        const QString device = number % 2 == 0 ? QStringLiteral("/dev/ttyUSB%1").arg(number + 9)
                                                : QStringLiteral("/dev/pts/%1").arg(number + 90);
        QVERIFY(QFile::link(device, config.path() + QStringLiteral("/kestrix/ports/COM%1").arg(number)));
    }
    const std::unique_ptr<DetectionDialog> splash = makeSplash();
    qputenv("XDG_CONFIG_HOME", savedConfig);

    QComboBox *combo = childNamed<QComboBox>(splash, "comboCOM");
    QCOMPARE(combo->count(), 32);
    QCOMPARE(combo->itemText(0), QStringLiteral("1 (pts/91)"));
    QCOMPARE(combo->itemText(31), QStringLiteral("32 (ttyUSB41)"));
    QCOMPARE(combo->x(), Twips::toPixels(3900));
    QLineEdit *field = combo->lineEdit();
    for (int index = 0; index < combo->count(); ++index) {
        combo->setCurrentIndex(index);
        // A line edit keeps two pixels on either side of its text.
        const int advance = field->fontMetrics().horizontalAdvance(field->text());
        QVERIFY2(advance + 4 <= field->width(),
                 qPrintable(QStringLiteral("\"%1\" needs %2 px, the field has %3")
                                .arg(field->text())
                                .arg(advance + 4)
                                .arg(field->width())));
    }
    // Still inside the frame, clear of its right edge.
    QVERIFY(combo->geometry().right() < childNamed<QGroupBox>(splash, "fraMainFrame")->width());
}

void TextFitTest::everyCaptionShowsWhole_data()
{
    QTest::addColumn<Window>("window");
    for (Window window : {Window::Winding, Window::Contact, Window::Ratio, Window::Cable})
        QTest::newRow(qPrintable(nameOf(window))) << window;
}

void TextFitTest::everyCaptionShowsWhole()
{
    QFETCH(Window, window);
    const std::unique_ptr<MeterWindow> meterWindow = make(window);
    if (auto *winding = qobject_cast<WindingMeterWindow *>(meterWindow.get())) {
        // A used heat-run slot shows the meter's twelve-character name in bold.
        QFont bold = childNamed<QLabel>(winding, "lblFile_0")->font();
        bold.setBold(true);
        childNamed<QLabel>(winding, "lblFile_0")->setFont(bold);
        childNamed<QLabel>(winding, "lblFile_0")->setText(QStringLiteral("HRT-JOB-0001"));
        childNamed<QLabel>(winding, "lblFile_1")->setFont(bold);
        childNamed<QLabel>(winding, "lblFile_1")->setText(QStringLiteral("000000000000"));
    }
    int checked = 0;
    for (QWidget *widget : meterWindow->findChildren<QWidget *>()) {
        if (!hasText(widget))
            continue;
        const QString problem = clipping(widget);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        ++checked;
    }
    // The design's two rows, which the list paints rather than holds as widgets.
    FileList &list = listOf(meterWindow.get());
    for (int row : {0, 1}) {
        QCOMPARE(checkClipping(list, row), QString());
        ++checked;
        for (int column = 0; column < list.columnCount(); ++column) {
            const QString problem = cellClipping(list, row, column);
            QVERIFY2(problem.isEmpty(), qPrintable(problem));
            ++checked;
        }
    }
    // Headings, buttons, links, frames and the two design rows at least.
    QVERIFY2(checked >= 20, qPrintable(QString::number(checked)));
}

void TextFitTest::detectionWindowShowsItsTextsWhole()
{
    const std::unique_ptr<DetectionDialog> splash = makeSplash();
    // As the probe and the family windows leave them.
    childNamed<QLabel>(splash, "lblModel")
        ->setText(childNamed<QLabel>(splash, "lblModel")->text() + QStringLiteral("[KX-W4]"));
    childNamed<QLabel>(splash, "lblProgress")->setText(QStringLiteral("9999 / 9999"));
    for (QWidget *widget : splash->findChildren<QWidget *>()) {
        if (!hasText(widget))
            continue;
        const QString problem = clipping(widget);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
    QCOMPARE(clipping(childNamed<QLabel>(splash, "lblWarning")), QString());
    QCOMPARE(clipping(childNamed<QLabel>(splash, "lblCompany")), QString());
}

void TextFitTest::everyCellShowsItsLongestTexts_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<Window>("window");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    for (const char *localeName : {"C", "de_DE"}) {
        const QLocale locale(QString::fromLatin1(localeName));
        for (Window window : {Window::Winding, Window::Contact, Window::Ratio, Window::Cable}) {
            for (const auto &[column, texts] : longestCellTexts(window, locale)) {
                QVERIFY(!texts.isEmpty());
                for (const QString &text : texts + QStringList{QStringLiteral("  ---")}) {
                    QTest::addRow("%s %s column %d \"%s\"", localeName, qPrintable(nameOf(window)), column,
                                  qPrintable(text))
                        << QString::fromLatin1(localeName) << window << column << text;
                }
            }
        }
    }
}

void TextFitTest::everyCellShowsItsLongestTexts()
{
    QFETCH(QString, locale);
    QFETCH(Window, window);
    QFETCH(int, column);
    QFETCH(QString, text);
    QLocale::setDefault(QLocale(locale));
    const std::unique_ptr<MeterWindow> meterWindow = make(window);
    FileList &list = listOf(meterWindow.get());
    for (int row : {0, 1}) {
        list.setCellText(row, column, text);
        QVERIFY(list.isRowOnScreen(row));
        const QString problem = cellClipping(list, row, column);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
}

void TextFitTest::fileNumbersFitTheirCheckBoxes_data()
{
    QTest::addColumn<Window>("window");
    for (Window window : {Window::Winding, Window::Contact, Window::Cable})
        QTest::newRow(qPrintable(nameOf(window))) << window;
}

void TextFitTest::fileNumbersFitTheirCheckBoxes()
{
    QFETCH(Window, window);
    const std::unique_ptr<MeterWindow> meterWindow = make(window);
    FileList &list = listOf(meterWindow.get());
    // The count has four digits, so file 9999 is the last there can be.
    list.createRows(9999);
    list.setupScroll();
    list.scrollBar()->setValue(list.scrollBar()->maximum());
    QVERIFY(list.isRowOnScreen(9998));
    QCOMPARE(list.checkCaption(9998), QStringLiteral("9999"));
    QCOMPARE(list.checkCellRect(9998).width(), Twips::toPixels(735));
    QCOMPARE(checkClipping(list, 9998), QString());
}

QTEST_MAIN(TextFitTest)
#include "tst_textfit.moc"
