// SPDX-License-Identifier: MIT
// Bytes on the line that belong to no request: a meter or adapter that sends
// CR LF after every record, answers every request twice, sends a burst of
// junk between two records, or chatters without end. Each row must then be
// either exactly the meter's record or failed with the window's message,
// never filled with shifted fields. The simulator's meter answers in memory;
// one row runs against the simulator on a pseudo-terminal, sending at 19200
// baud as a meter does, so the stray bytes arrive while the program is at work.
#include "FaultFamilies.h"
#include "MeterEmulator.h"
#include "SimOptions.h"
#include "TemporaryConfigHome.h"
#include "protocol/CableRecord.h"
#include "protocol/ContactRecord.h"
#include "protocol/WindingRecord.h"

#include <QTest>

using faults::Family;
using faults::MeterRun;

Q_DECLARE_METATYPE(Family)

namespace {

constexpr int fileCount = 12;

// What a clean meter with these simulator arguments holds in `slot`, decoded
// as the window decodes it.
RecordCells expectedRecord(const Family &family, const QStringList &simArguments, int slot)
{
    const sim::ParsedOptions parsed = sim::parseSimOptions(QStringList{"sim"} + simArguments);
    sim::MeterContent content;
    QString error;
    if (!parsed.error.isEmpty() || !sim::buildContent(parsed.options, content, &error))
        qFatal("simulator arguments: %s %s", qPrintable(parsed.error), qPrintable(error));
    const sim::MeterEmulator meter(content);
    const QLocale locale;
    switch (family.kind) {
    case MeterFamily::Contact:
    case MeterFamily::Ratio:
        return decodeContactRecord(meter.recordBytes(slot));
    case MeterFamily::Cable:
        return decodeCableRecord(meter.recordBytes(slot), separatorsOf(locale), locale);
    case MeterFamily::Winding:
        break;
    }
    return decodeWindingRecord(meter.recordBytes(slot), false, locale);
}

// True when the row shows exactly what the record holds.
bool rowShows(MeterRun &run, int row, const RecordCells &record)
{
    for (const auto &[column, text] : record.cells) {
        if (run.list().cellText(row, column) != text)
            return false;
    }
    return run.list().isCheckEnabled(row) == (record.status != RecordCells::Status::EmptySlot);
}

} // namespace

class TestStrayBytes : public QObject
{
    Q_OBJECT
private:
    TemporaryConfigHome m_config;

private slots:
    void everyRowIsRightOrFailed_data()
    {
        QTest::addColumn<Family>("family");
        QTest::addColumn<QStringList>("faultArguments");
        QTest::addColumn<int>("files");

        for (const Family &family : faults::families()) {
            const QString burstAfter = family.recordPrefix + QStringLiteral("0003}");
            const auto row = [&family](const char *fault) -> QTestData & {
                return QTest::newRow(qPrintable(family.model + QStringLiteral(": ") + QLatin1String(fault)));
            };
            row("CR LF after every record")
                << family << QStringList{"--extra", "\\r\\n", "--fault-only", family.recordPrefix} << fileCount;
            row("every reply sent twice") << family << QStringList{"--repeat", "2"} << fileCount;
            row("a burst of junk between two records")
                << family << QStringList{"--extra", "JUNK]\\r\\n[0042] - - -\\xff]", "--fault-only", burstAfter}
                << fileCount;
            // A line that never falls quiet: few files, each takes the quiet-line limit.
            // The junk starts behind the first record.
            row("continuous junk after the first record")
                << family << QStringList{"--noise", "]\\x5d#", "--noise-every-ms", "1", "--fault-only",
                                         family.recordPrefix + QStringLiteral("0000}")}
                << 3;
        }
    }

    void everyRowIsRightOrFailed()
    {
        QFETCH(Family, family);
        QFETCH(QStringList, faultArguments);
        QFETCH(int, files);

        const QStringList content{"--files", QString::number(files), "--empty", "5"};
        const bool realTime = QLatin1String(QTest::currentDataTag()) == QLatin1String("[KX-C1]: CR LF after every record");
        MeterRun run(family, content + faultArguments, realTime ? Line::Pty : Line::InMemory);
        QVERIFY(run.load());
        QVERIFY2(run.list().fileCount() == files,
                 qPrintable(run.requests().join(QLatin1Char(' ')) + QStringLiteral(" / boxes: %1").arg(run.dialogs.boxes.size())));

        int failedRows = 0;
        for (int row = 0; row < files; ++row) {
            const RecordCells record = expectedRecord(family, QStringList{"--model", family.model} + content, row);
            if (rowShows(run, row, record))
                continue;
            // Not the meter's record: then nothing of it may be shown.
            QVERIFY2(run.rowUntouched(row), qPrintable(QStringLiteral("row %1 shows a wrong value").arg(row)));
            ++failedRows;
        }
        // Each failed row said why, with the download or communication message.
        QCOMPARE(run.dialogs.boxes.size(), failedRows);
        for (const ScriptedDialogs::Box &box : std::as_const(run.dialogs.boxes))
            QVERIFY(box == faults::downloadError || box == faults::communicationError);
        // A line that never falls quiet cannot carry a trusted reply: the
        // first record may still come through before the junk starts.
        if (faultArguments.contains("--noise"))
            QVERIFY(failedRows >= files - 1);
    }
};

QTEST_MAIN(TestStrayBytes)
#include "tst_faults_strays.moc"
