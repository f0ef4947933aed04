// SPDX-License-Identifier: MIT
// Where the save dialogs open, the name they propose and their file-type
// entry, down to the real QFileDialog.
#include "app/CommandLine.h"
#include "ui/SaveDialog.h"
#include "ui/SaveLocation.h"
#include "link/StopRequest.h"
#include "ui/UserDialogs.h"

#include "ScriptedDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestSaveDialog : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_config;
    QTemporaryDir m_home;
    QByteArray m_previousHome;

    QString homePath(const QString &relative = QString()) const
    {
        return relative.isEmpty() ? m_home.path() : m_home.filePath(relative);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid() && m_home.isValid());
        // The settings and the Documents folder of a user of our own making.
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
        m_previousHome = qgetenv("HOME");
        qputenv("HOME", m_home.path().toLocal8Bit());
        setUpApplicationIdentity();
    }

    void cleanupTestCase() { qputenv("HOME", m_previousHome); }

    void init()
    {
        QSettings().clear();
        QDir(homePath("Documents")).removeRecursively();
    }

    void nameFilterShowsThePatternOnce_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<QString>("shown");
        QTest::newRow("clean entry") << "HTML table (*.html)" << "HTML table (*.html)";
        QTest::newRow("old html form") << "(*.html) | *.html" << "(*.html)";
        QTest::newRow("old csv form") << "(*.csv) | *.csv" << "(*.csv)";
        QTest::newRow("description and pattern") << "CSV file | *.csv" << "CSV file (*.csv)";
        QTest::newRow("pattern alone") << " | *.csv" << "(*.csv)";
    }
    void nameFilterShowsThePatternOnce()
    {
        QFETCH(QString, given);
        QFETCH(QString, shown);
        QCOMPARE(QtUserDialogs::nameFilter(given), shown);
    }

    void fileNamePartKeepsWhatEverySystemAccepts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("part");
        QTest::newRow("bracketed model") << "[KX-W3]" << "KX-W3";
        QTest::newRow("plain model") << "KXT1" << "KXT1";
        QTest::newRow("characters Windows refuses") << "a<b>c:d\"e/f\\g|h?i*j" << "abcdefghij";
        QTest::newRow("other brackets") << "{A}(B)" << "AB";
        QTest::newRow("control characters") << QString("K\x01X\r\n-\tC") << "KX-C";
        QTest::newRow("blanks collapsed") << "  KX   C1  " << "KX C1";
        QTest::newRow("dots at the ends") << "..KX.." << "KX";
        QTest::newRow("nothing left") << "[]<>" << "";
        QTest::newRow("latin-1 letters kept") << QString::fromLatin1("M\xe9ter") << QString::fromLatin1("M\xe9ter");
        QTest::newRow("long text cut") << QString(100, QLatin1Char('A')) << QString(64, QLatin1Char('A'));
    }
    void fileNamePartKeepsWhatEverySystemAccepts()
    {
        QFETCH(QString, text);
        QFETCH(QString, part);
        QCOMPARE(SaveLocation::fileNamePart(text), part);
    }

    void proposedNameIsModelAndDay_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QString>("name");
        QTest::newRow("contact table") << "[KX-C1]" << "html" << "KX-C1 2026-12-09.html";
        QTest::newRow("heat-run file") << "[KX-W2]" << "csv" << "KX-W2 2026-12-09.csv";
        QTest::newRow("ratio meter") << "KXT1" << "html" << "KXT1 2026-12-09.html";
        QTest::newRow("model with nothing usable") << "[::]" << "html" << "2026-12-09.html";
        QTest::newRow("path in the model") << "../../etc/x" << "html" << "etcx 2026-12-09.html";
    }
    void proposedNameIsModelAndDay()
    {
        QFETCH(QString, model);
        QFETCH(QString, suffix);
        QFETCH(QString, name);
        QCOMPARE(SaveLocation::proposedFileName(model, QDate(2026, 12, 9), suffix), name);
    }

    void startsInDocumentsThenHome()
    {
        // No Documents folder: the home folder.
        QCOMPARE(SaveLocation::startFolder(SaveKind::MeasurementTable), homePath());
        QVERIFY(QDir().mkpath(homePath("Documents")));
        QCOMPARE(SaveLocation::startFolder(SaveKind::MeasurementTable), homePath("Documents"));
        QCOMPARE(SaveLocation::startFolder(SaveKind::HeatRunFile), homePath("Documents"));
    }

    void remembersTheFolderOfEachKind()
    {
        QVERIFY(QDir().mkpath(homePath("Documents")));
        QVERIFY(QDir().mkpath(homePath("tables")));
        QVERIFY(QDir().mkpath(homePath("heat")));
        SaveLocation::remember(SaveKind::MeasurementTable, homePath("tables/KX-C1 2026-12-09.html"));
        QCOMPARE(SaveLocation::startFolder(SaveKind::MeasurementTable), homePath("tables"));
        QCOMPARE(SaveLocation::startFolder(SaveKind::HeatRunFile), homePath("Documents"));
        SaveLocation::remember(SaveKind::HeatRunFile, homePath("heat/run.csv"));
        QCOMPARE(SaveLocation::startFolder(SaveKind::HeatRunFile), homePath("heat"));
        QCOMPARE(SaveLocation::startFolder(SaveKind::MeasurementTable), homePath("tables"));

        // Kept in the user's own settings file, for the next run.
        QSettings().sync();
        QVERIFY(QFile::exists(m_config.filePath("kestrix/Kestrix.conf")));
        const QSettings nextRun(m_config.filePath("kestrix/Kestrix.conf"), QSettings::IniFormat);
        QCOMPARE(nextRun.value(SaveLocation::settingsKey(SaveKind::HeatRunFile)).toString(), homePath("heat"));

        // A folder that has gone since: Documents again.
        QVERIFY(QDir(homePath("tables")).removeRecursively());
        QCOMPARE(SaveLocation::startFolder(SaveKind::MeasurementTable), homePath("Documents"));
    }

    void commonDialogProposesModelAndDayThenTheLastName()
    {
        QVERIFY(QDir().mkpath(homePath("Documents")));
        ScriptedDialogs dialogs;
        SaveDialog dialog;
        dialog.meterModel = QStringLiteral("[KX-W1]");
        dialog.today = [] { return QDate(2027, 1, 31); };

        const QString chosen = homePath("runs/first.csv");
        dialogs.saveAnswers << chosen << QString();
        QCOMPARE(dialog.showSave(dialogs, SaveFileType::csvFile()), chosen);
        QCOMPARE(dialogs.saveRequests.size(), 1);
        QCOMPARE(dialogs.saveRequests[0].filter, QString("CSV file (*.csv)"));
        QCOMPARE(dialogs.saveRequests[0].defaultSuffix, QString("csv"));
        QCOMPARE(dialogs.saveRequests[0].folder, homePath("Documents"));
        QCOMPARE(dialogs.saveRequests[0].proposedName, QString("KX-W1 2027-01-31.csv"));

        // The name chosen is proposed again, in its own folder; a cancel keeps it.
        QVERIFY(dialog.showSave(dialogs, SaveFileType::csvFile()).isEmpty());
        QCOMPARE(dialogs.saveRequests[1].folder, homePath("runs"));
        QCOMPARE(dialogs.saveRequests[1].proposedName, QString("first.csv"));
        QCOMPARE(dialog.fileName, chosen);
        // Choosing is not writing: the folder is remembered once the file is written.
        QCOMPARE(SaveLocation::startFolder(SaveKind::HeatRunFile), homePath("Documents"));
    }

    // With a second file type offered, a name typed without a suffix gets
    // the suffix of the type the user picked.
    void qtDialogGivesTheChosenTypesSuffix()
    {
        QVERIFY(QDir().mkpath(homePath("Documents")));
        QStringList filters;
        QTimer::singleShot(0, this, [&] {
            auto *shown = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!shown)
                return;
            filters = shown->nameFilters();
            // What a user's choice of the second type in the list sends; the
            // dialog is accepted either way, so a missing list fails below.
            if (auto *types = shown->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"))) {
                types->setCurrentIndex(1);
                emit types->activated(1);
                emit types->textActivated(types->itemText(1));
            }
            shown->selectFile(QStringLiteral("measurements"));
            QMetaObject::invokeMethod(shown, "accept");
        });
        StopRequest stop;
        QtUserDialogs dialogs(stop);
        const QString path = dialogs.saveFileName({QStringLiteral("HTML table (*.html)"),
                                                   QStringLiteral("KX-C1 2026-12-09.html"),
                                                   QStringLiteral("html"),
                                                   homePath("Documents"),
                                                   {{QStringLiteral("CSV (*.csv)"), QStringLiteral("csv")}}});
        QCOMPARE(filters, (QStringList{"HTML table (*.html)", "CSV (*.csv)"}));
        QCOMPARE(path, homePath("Documents/measurements.csv"));
    }

    void qtDialogOpensWhereAskedWithTheName()
    {
        QVERIFY(QDir().mkpath(homePath("Documents")));
        QFileDialog *shown = nullptr;
        QString directory;
        QStringList selected;
        QStringList filters;
        // Looks at the dialog once it is up, then takes its proposal.
        QTimer::singleShot(0, this, [&] {
            shown = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!shown)
                return;
            directory = shown->directory().absolutePath();
            selected = shown->selectedFiles();
            filters = shown->nameFilters();
            QMetaObject::invokeMethod(shown, "accept");
        });
        StopRequest stop;
        QtUserDialogs dialogs(stop);
        const QString path = dialogs.saveFileName(
            {QStringLiteral("HTML table (*.html)"), QStringLiteral("KX-C1 2026-12-09.html"), QStringLiteral("html"),
             homePath("Documents"), {}});
        QVERIFY(shown);
        QCOMPARE(directory, homePath("Documents"));
        QCOMPARE(selected, QStringList{homePath("Documents/KX-C1 2026-12-09.html")});
        QCOMPARE(filters, QStringList{"HTML table (*.html)"});
        QCOMPARE(path, homePath("Documents/KX-C1 2026-12-09.html"));
    }
};

QTEST_MAIN(TestSaveDialog)
#include "tst_savedialog.moc"
