// SPDX-License-Identifier: MIT
#pragma once

#include "ChildNamed.h"
#include "MeterHarness.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QTest>

// Every measurement view shares the Download flow. After a Download that
// wrote `writtenPath`: a cancelled save dialog writes and says nothing, and a
// folder in the way of the file gets an "Error" box naming it and stays a
// folder; either way the view stays usable. Call it last: a failed check
// returns from here only.
inline void checkRefusedDownloads(MeterHarness &harness, const QString &writtenPath)
{
    const auto viewUsable = [&harness] { return childNamed<QGroupBox>(harness.window.get(), "Frame2")->isEnabled(); };

    harness.dialogs.boxes.clear();
    QVERIFY(QFile::remove(writtenPath));
    QVERIFY(harness.download(QString()));
    QVERIFY(!QFile::exists(writtenPath));
    QVERIFY(harness.dialogs.boxes.isEmpty());
    QVERIFY(viewUsable());

    const QString folder = harness.files.filePath("taken.html");
    QVERIFY(QDir().mkdir(folder));
    QVERIFY(harness.download(folder));
    QCOMPARE(harness.dialogs.boxes.size(), 1);
    QVERIFY(harness.dialogs.boxes[0].critical);
    QCOMPARE(harness.dialogs.boxes[0].title, QString("Error"));
    QVERIFY2(harness.dialogs.boxes[0].text.contains("taken.html"), qPrintable(harness.dialogs.boxes[0].text));
    QVERIFY(QFileInfo(folder).isDir());
    QVERIFY(viewUsable());
}
