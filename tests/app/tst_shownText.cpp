// SPDX-License-Identifier: MIT
// Text from the meter and from the user is shown literally: the detection
// window's model line, every meter window's title, the heat-run slot names and
// the message boxes. Driven with an in-memory meter, the waits cut short.
#include "ui/FamilyWindows.h"
#include "ActWhen.h"
#include "ChildNamed.h"
#include "FakeDetection.h"
#include "FakeSerialLink.h"
#include "FastTiming.h"
#include "ScriptedDialogs.h"
#include "app/DetectionDialog.h"
#include "protocol/FamilyProtocol.h"
#include "link/StopRequest.h"
#include "ui/MeterWindow.h"
#include "ui/UserDialogs.h"
#include "ui/WindingMeterWindow.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QAbstractButton>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

Q_DECLARE_METATYPE(MeterFamily)

namespace {

const QString titleEnd = QStringLiteral(" Meter Communication Software");
const QString connected = QStringLiteral("PC successfully connected to ");

QByteArray withNul(const char *before, const char *after)
{
    return QByteArray(before) + '\0' + QByteArray(after);
}

// What the window system is given as the title (Qt resolves "[*]" on the way).
QString displayedTitle(QWidget *window)
{
    window->winId();
    return window->windowHandle() ? window->windowHandle()->title() : QString();
}

PortFactory silentMeter()
{
    return [](qint64) { return std::unique_ptr<SerialLink>(std::make_unique<FakeSerialLink>()); };
}

// A winding meter with the given heat-run slot names and no measurement files.
PortFactory windingMeterWithHeatRuns(const QList<QByteArray> &names)
{
    return [names](qint64) {
        auto port = std::make_unique<FakeSerialLink>();
        port->responder = [names](const QByteArray &request) -> QList<QByteArray> {
            if (request == "{01}")
                return {"[" + QByteArray::number(names.size()).rightJustified(2, '0') + "]"};
            if (request == "{02}") {
                QByteArray reply = "[";
                for (const QByteArray &name : names)
                    reply += ";" + name + ";0001";
                return {reply + "]"};
            }
            if (request == "{03}")
                return {"[0000]"};
            return {};
        };
        return std::unique_ptr<SerialLink>(std::move(port));
    };
}

} // namespace

class TestShownText : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_files;

private slots:

    void identificationIsShownLiterally_data()
    {
        QTest::addColumn<QByteArray>("identification");
        QTest::addColumn<QString>("shownModel");
        // "<img src=/dev/zero>" runs in tst_identificationMemory, under a cap
        // on the address space.
        QTest::newRow("image of a system file") << QByteArray("<img src=/etc/passwd>") << "<img src=/etc/passwd>";
        QTest::newRow("bold") << QByteArray("<b>x</b>") << "<b>x</b>";
        QTest::newRow("heading") << QByteArray("<h1>[KX-W1]</h1>") << "<h1>[KX-W1]</h1>";
        QTest::newRow("NUL") << withNul("[KX-", "W1]") << QStringLiteral("[KX-\u2400W1]");
        QTest::newRow("ESC") << QByteArray("\x1b[2J[KX-W1]") << QStringLiteral("\u241B[2J[KX-W1]");
        QTest::newRow("CR LF") << QByteArray("[KX-W1]\r\n") << QStringLiteral("[KX-W1]\u240D\u240A");
        QTest::newRow("title placeholder") << QByteArray("[*]KX") << "[*]KX";
    }
    void identificationIsShownLiterally()
    {
        QFETCH(QByteArray, identification);
        QFETCH(QString, shownModel);

        FakeDetection detection(identification);
        QVERIFY(detection.waitUntilClosed());
        DetectionDialog &splash = *detection.splash;
        QCOMPARE(splash.result(), int(QDialog::Accepted));
        // The stored model text is the reply as it came.
        QCOMPARE(detection.state.model, QString::fromLatin1(identification));

        QCOMPARE(childNamed<QLabel>(&splash, "lblModel")->textFormat(), Qt::PlainText);
        QCOMPARE(childNamed<QLabel>(&splash, "lblModel")->text(), connected + shownModel);
        // Nothing in the reply makes the line taller than one line of text.
        QVERIFY(childNamed<QLabel>(&splash, "lblModel")->sizeHint().height()
                < 2 * childNamed<QLabel>(&splash, "lblModel")->fontMetrics().lineSpacing());

        const std::unique_ptr<MeterWindow> loaded = splash.takeLoadedWindow();
        QVERIFY(loaded);
        QCOMPARE(displayedTitle(loaded.get()), shownModel + titleEnd);
        // A modified window shows a lone "[*]" as "*"; the meter's "[*]" stays.
        if (shownModel.contains(QStringLiteral("[*]"))) {
            loaded->setWindowModified(true);
            QCOMPARE(displayedTitle(loaded.get()), shownModel + titleEnd);
        }
    }

    void pictureNamedByTheMeterIsNotLoaded()
    {
        // Were the reply read as markup, the label would grow to the picture's height.
        QVERIFY(m_files.isValid());
        const QString picture = m_files.filePath(QStringLiteral("p.png"));
        QImage image(400, 400, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(picture));
        const QByteArray identification = "<img src=" + picture.toLatin1() + ">";

        FakeDetection detection(identification);
        QVERIFY(detection.waitUntilClosed());
        QLabel *label = childNamed<QLabel>(detection.splash, "lblModel");
        QCOMPARE(label->text(), connected + QString::fromLatin1(identification));
        QVERIFY(label->sizeHint().height() < 100);
        label->grab();
        QVERIFY(label->sizeHint().height() < 100);
    }

    // Every family the protocol knows gets its own window.
    void everyFamilyWindowTitleIsLiteral_data()
    {
        QTest::addColumn<MeterFamily>("family");
        for (const FamilyProtocol &known : familyProtocols())
            QTest::newRow(known.models.constFirst().constData()) << known.family;
    }
    void everyFamilyWindowTitleIsLiteral()
    {
        QFETCH(MeterFamily, family);
        ProgramState state;
        state.model = QStringLiteral("[*]<b>x") + QChar(0) + QStringLiteral("\r\n");
        state.family = family;
        state.port = 1;
        ScriptedDialogs dialogs;
        StopRequest stop;
        const std::unique_ptr<MeterWindow> window =
            createFamilyWindow({state, dialogs, stop, silentMeter(), {}, fastTiming()});
        QCOMPARE(window->family(), family);
        const FamilyProtocol &protocol = familyProtocol(family);
        QCOMPARE(protocol.longestTexts(QLocale::c()).size(), protocol.columns().labelColumns);
        window->load();
        QCOMPARE(dialogs.boxes.size(), 1); // the silent meter: start-up failure
        QCOMPARE(window->windowTitle(), QStringLiteral("[*][*]<b>x\u2400\u240D\u240A") + titleEnd);
        QCOMPARE(displayedTitle(window.get()), QStringLiteral("[*]<b>x\u2400\u240D\u240A") + titleEnd);
    }

    void heatRunNamesAreShownLiterally()
    {
        const QList<QByteArray> names{
            "HRT-JOB-0001", "<b>x</b>    ", "<h1>BIG</h1>", "<img src=/x>", withNul("AB", "\x1b[2J\r\nXYZ"),
            "[*]HRT-JOB-1", "------------",
        };
        ProgramState state;
        state.model = QStringLiteral("[KX-W1]");
        state.port = 1;
        ScriptedDialogs dialogs;
        StopRequest stop;
        WindingMeterWindow window({state, dialogs, stop, windingMeterWithHeatRuns(names), {}, fastTiming()});
        window.load();
        QVERIFY(dialogs.boxes.isEmpty());

        const QStringList shown{
            "HRT-JOB-0001", "<b>x</b>    ", "<h1>BIG</h1>", "<img src=/x>",
            QStringLiteral("AB\u2400\u241B[2J\u240D\u240AXYZ"), "[*]HRT-JOB-1", " - - Empty - -", " - - Empty - -",
        };
        const int lineHeight = 2 * childNamed<QLabel>(&window, "lblFile_0")->fontMetrics().lineSpacing();
        for (int slot = 0; slot < WindingMeterWindow::heatRunSlots; ++slot) {
            QLabel *label = childNamed<QLabel>(&window, QStringLiteral("lblFile_%1").arg(slot));
            QCOMPARE(label->textFormat(), Qt::PlainText);
            QCOMPARE(label->text(), shown[slot]);
            QCOMPARE(label->font().bold(), slot < 6);
            QVERIFY(label->sizeHint().height() < lineHeight);
        }
    }

    void messageBoxesShowTextLiterally_data()
    {
        QTest::addColumn<bool>("critical");
        QTest::newRow("error") << true;
        QTest::newRow("information") << false;
    }
    void messageBoxesShowTextLiterally()
    {
        QFETCH(bool, critical);
        const QString path = QStringLiteral("/home/u/<img src=/etc/passwd>\n<b>x</b>.html");
        QString text;
        QString title;
        Qt::TextFormat format = Qt::AutoText;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        ActWhen answer([] { return qobject_cast<QMessageBox *>(QApplication::activeModalWidget()) != nullptr; }, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            text = box->text();
            title = box->windowTitle();
            format = box->textFormat();
            icon = box->icon();
            box->accept();
        });
        StopRequest stop;
        QtUserDialogs dialogs(stop);
        if (critical)
            dialogs.critical(QStringLiteral("Error"), path + QStringLiteral(": Permission denied"));
        else
            dialogs.information(QStringLiteral("Kestrix"), path);
        QVERIFY(answer.acted);
        QCOMPARE(format, Qt::PlainText);
        QCOMPARE(icon, critical ? QMessageBox::Critical : QMessageBox::NoIcon);
        QCOMPARE(title, critical ? QStringLiteral("Error") : QStringLiteral("Kestrix"));
        const QString shownPath = QStringLiteral("/home/u/<img src=/etc/passwd>\u240A<b>x</b>.html");
        QCOMPARE(text, critical ? shownPath + QStringLiteral(": Permission denied") : shownPath);
    }

    // The box of a record that failed during the load: the window's message,
    // OK to go on (also Enter and Escape), "Stop Loading" to stop.
    void loadFailureBoxOffersTheStop_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("stops");
        QTest::newRow("OK") << "ok" << false;
        QTest::newRow("Enter") << "enter" << false;
        QTest::newRow("Escape") << "escape" << false;
        QTest::newRow("Stop Loading") << "stop" << true;
    }
    void loadFailureBoxOffersTheStop()
    {
        QFETCH(QString, answer);
        QFETCH(bool, stops);
        QStringList buttons;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        ActWhen act([] { return qobject_cast<QMessageBox *>(QApplication::activeModalWidget()) != nullptr; }, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            text = box->text();
            icon = box->icon();
            for (QAbstractButton *button : box->buttons())
                buttons << button->text();
            if (answer == QLatin1String("enter"))
                QTest::keyClick(box, Qt::Key_Return);
            else if (answer == QLatin1String("escape"))
                QTest::keyClick(box, Qt::Key_Escape);
            else {
                for (QAbstractButton *button : box->buttons()) {
                    const bool isStop = button->text() == QStringLiteral("Stop &Loading");
                    if (isStop == (answer == QLatin1String("stop")))
                        button->click();
                }
            }
        });
        StopRequest stop;
        QtUserDialogs dialogs(stop);
        const UserDialogs::LoadChoice choice =
            dialogs.loadFailure(QStringLiteral("Error"), QStringLiteral("Communication Error"));
        QVERIFY(act.acted);
        QCOMPARE(text, QStringLiteral("Communication Error"));
        QCOMPARE(icon, QMessageBox::Critical);
        buttons.sort();
        QCOMPARE(buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Stop &Loading")}));
        QCOMPARE(choice == UserDialogs::LoadChoice::Stop, stops);
    }
};

QTEST_MAIN(TestShownText)
#include "tst_shownText.moc"
