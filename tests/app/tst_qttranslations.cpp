// SPDX-License-Identifier: MIT
// Qt's own dialogs speak the user's language; the program's texts do not change.
#include "app/QtTranslations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLibraryInfo>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

class TestQtTranslations : public QObject
{
    Q_OBJECT
private slots:
    void aLanguageWithoutTranslationsChangesNothing()
    {
        QVERIFY(!installQtTranslations(QLocale(QLocale::C)));
    }

    void standardButtonsFollowTheLocale()
    {
        const QString german = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_de.qm");
        if (!QFileInfo::exists(german))
            QSKIP("Qt's German translations are not installed (qt6-translations-l10n)");
        QDialogButtonBox english(QDialogButtonBox::Cancel);
        QCOMPARE(english.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancel"));

        QVERIFY(installQtTranslations(QLocale(QLocale::German, QLocale::Germany)));
        QDialogButtonBox translated(QDialogButtonBox::Cancel | QDialogButtonBox::Save);
        QCOMPARE(translated.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
        QCOMPARE(translated.button(QDialogButtonBox::Save)->text(), QStringLiteral("Speichern"));
    }
};

QTEST_MAIN(TestQtTranslations)
#include "tst_qttranslations.moc"
