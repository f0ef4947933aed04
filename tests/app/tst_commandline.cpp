// SPDX-License-Identifier: MIT
#include "TemporaryConfigHome.h"
#include "app/CommandLine.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QIcon>
#include <QImage>
#include <QRegularExpression>
#include <QTest>

Q_DECLARE_METATYPE(CommandLineRequest::Action)

class TestCommandLine : public QObject
{
    Q_OBJECT
private:
    TemporaryConfigHome m_config;

private slots:
    void readsTheCommandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<CommandLineRequest::Action>("action");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("firstLine");
        using Action = CommandLineRequest::Action;
        const QString usage = "Usage: kestrix [--help | --version]";
        QTest::newRow("none") << QStringList{} << Action::Run << 0 << "";
        QTest::newRow("--help") << QStringList{"--help"} << Action::Print << 0 << usage;
        QTest::newRow("-h") << QStringList{"-h"} << Action::Print << 0 << usage;
        QTest::newRow("unknown option")
            << QStringList{"--port=3"} << Action::UsageError << 2 << "kestrix: unexpected argument \"--port=3\"";
        QTest::newRow("a file name")
            << QStringList{"meter.html"} << Action::UsageError << 2 << "kestrix: unexpected argument \"meter.html\"";
        QTest::newRow("empty argument") << QStringList{""} << Action::UsageError << 2
                                        << "kestrix: unexpected argument \"\"";
        QTest::newRow("help twice") << QStringList{"--help", "--help"} << Action::UsageError << 2
                                    << "kestrix: one argument at most";
        QTest::newRow("help and version") << QStringList{"--help", "--version"} << Action::UsageError << 2
                                          << "kestrix: one argument at most";
        QTest::newRow("Qt's own option") << QStringList{"-platform"} << Action::UsageError << 2
                                         << "kestrix: unexpected argument \"-platform\"";
        QTest::newRow("case matters") << QStringList{"--HELP"} << Action::UsageError << 2
                                      << "kestrix: unexpected argument \"--HELP\"";
    }
    void readsTheCommandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(CommandLineRequest::Action, action);
        QFETCH(int, exitCode);
        QFETCH(QString, firstLine);
        const CommandLineRequest request = readCommandLine(arguments);
        QCOMPARE(request.action, action);
        QCOMPARE(request.exitCode, exitCode);
        QCOMPARE(request.text.section(QLatin1Char('\n'), 0, 0), firstLine);
        if (action != CommandLineRequest::Action::Run)
            QVERIFY(request.text.endsWith(QLatin1Char('\n')));
        if (action == CommandLineRequest::Action::UsageError)
            QCOMPARE(request.text.section(QLatin1Char('\n'), 1), QString("Usage: kestrix [--help | --version]\n"));
    }

    void helpNamesBothOptions()
    {
        const QString text = readCommandLine({"--help"}).text;
        QVERIFY2(text.contains("-h, --help") && text.contains("-v, --version"), qPrintable(text));
    }

    void versionIsTheProgramsVersion_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::newRow("long") << "--version";
        QTest::newRow("short") << "-v";
    }
    void versionIsTheProgramsVersion()
    {
        QFETCH(QString, argument);
        setUpApplicationIdentity();
        const CommandLineRequest request = readCommandLine({argument});
        QCOMPARE(request.action, CommandLineRequest::Action::Print);
        QCOMPARE(request.exitCode, 0);
        QVERIFY2(QRegularExpression("^[0-9]+\\.[0-9]+\\.[0-9]+$").match(QCoreApplication::applicationVersion()).hasMatch(),
                 qPrintable(QCoreApplication::applicationVersion()));
        QCOMPARE(request.text, "kestrix " + QCoreApplication::applicationVersion() + "\n");
    }

    void settingsLiveBesideThePortLinks()
    {
        // A settings file an earlier version left in "Kestrix".
        QVERIFY(QDir().mkpath(m_config.filePath("Kestrix")));
        QFile earlier(m_config.filePath("Kestrix/Kestrix.conf"));
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("[saveFolders]\nheatRunFile=/srv/heat-runs\n");
        earlier.close();

        setUpApplicationIdentity();
        QCOMPARE(QSettings().fileName(), m_config.filePath("kestrix/Kestrix.conf"));
        QCOMPARE(QSettings().value("saveFolders/heatRunFile").toString(), QString("/srv/heat-runs"));
        QVERIFY(earlier.exists()); // left where it was
    }

    // The desktop entry, the metainfo and the running program share one id.
    void identityIsTheDesktopEntrysId()
    {
        setUpApplicationIdentity();
        QCOMPARE(QGuiApplication::desktopFileName(), QString("io.kestrix.Kestrix"));
        QCOMPARE(QCoreApplication::applicationName(), QString("Kestrix"));
    }

    void windowIconIsTheLogo()
    {
        setUpApplicationIdentity();
        const QIcon icon = QApplication::windowIcon();
        QVERIFY(!icon.isNull());
        for (const int size : {16, 32, 48, 256})
            QVERIFY2(icon.availableSizes().contains(QSize(size, size)), qPrintable(QString::number(size)));
        // The dial's navy hub sits a little below the middle; the corners stay clear.
        const QImage image = icon.pixmap(QSize(100, 100)).toImage().scaled(100, 100);
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        QCOMPARE(image.pixelColor(50, 58).rgb(), QColor(0, 0, 128).rgb());
        QCOMPARE(image.pixelColor(50, 30).rgb(), QColor(235, 242, 250).rgb());
    }
};

QTEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
