// SPDX-License-Identifier: MIT
// The link changes the benchmark led to: a record wait that sleeps while the
// rest of a reply is on the wire, and a COM number with a link answered from
// the link alone.
#include "TemporaryConfigHome.h"
#include "PtyMeter.h"
#include "SimProcess.h"
#include "link/PortSearch.h"
#include "link/Exchange.h"
#include "link/PortMap.h"
#include "link/QtSerialLink.h"

#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(ReplyRule)

class TestLinkWaits : public QObject
{
    Q_OBJECT
private:
    TemporaryConfigHome m_config;

private slots:
    void missingBytes_data()
    {
        QTest::addColumn<ReplyRule>("rule");
        QTest::addColumn<QByteArray>("received");
        QTest::addColumn<qint64>("missing");
        const ReplyRule record{33, 34, true};
        QTest::newRow("nothing yet") << record << QByteArray() << qint64(34);
        QTest::newRow("part of it") << record << QByteArray(20, 'x') << qint64(14);
        QTest::newRow("long enough, no end mark") << record << QByteArray(34, 'x') << qint64(1);
        QTest::newRow("awaited beyond needed") << ReplyRule{18, 0, false} << QByteArray(10, 'x') << qint64(8);
        QTest::newRow("count without its bracket") << ReplyRule{4, 5, true} << QByteArray("[0100") << qint64(1);
        QTest::newRow("no rule at all") << ReplyRule{0, 0, false} << QByteArray() << qint64(1);
    }
    void missingBytes()
    {
        QFETCH(ReplyRule, rule);
        QFETCH(QByteArray, received);
        QFETCH(qint64, missing);
        QCOMPARE(rule.missingBytes(received), missing);
    }

    // Answered from the link alone, it is the device the whole map gives too.
    void linkedNumberMatchesTheWholeMap()
    {
        const QString target = m_config.filePath(QStringLiteral("ttyMeter"));
        QVERIFY(publishPort(PortMap::linkFolder(), 3, target));
        QCOMPARE(PortMap::currentDeviceFor(3), target);
        QCOMPARE(PortMap::current().deviceFor(3), target);
    }

    void restOfAReplyIsCollected_data()
    {
        QTest::addColumn<QByteArray>("sent");
        QTest::addColumn<qint64>("missing");
        QTest::addColumn<bool>("more");
        QTest::newRow("all there") << QByteArray("]0042]") << qint64(6) << true;
        QTest::newRow("one of several") << QByteArray("]") << qint64(4) << true;
        QTest::newRow("last byte") << QByteArray("]") << qint64(1) << true;
        QTest::newRow("silent line") << QByteArray() << qint64(3) << false;
    }
    void restOfAReplyIsCollected()
    {
        QFETCH(QByteArray, sent);
        QFETCH(qint64, missing);
        QFETCH(bool, more);
        PtyMeter meter;
        QVERIFY(!meter.device().isEmpty());
        QVERIFY(publishPort(PortMap::linkFolder(), 1, meter.device()));
        QtSerialLink port(SerialLink::meterBufferSize);
        port.setPortNumber(1);
        QVERIFY2(port.open(), qPrintable(port.errorString()));
        if (!sent.isEmpty())
            QVERIFY(meter.send(sent));
        QCOMPARE(port.waitForMissingBytes(missing, 200, false), more);
        QCOMPARE(port.readAll(), sent);
    }

    // The low-latency flag is asked for on a USB adapter only; a driver's
    // refusal (a pseudo-terminal's) leaves the port open and usable.
    void lowLatencyIsSetForAdaptersOnly()
    {
        PtyMeter meter;
        QVERIFY(publishPort(PortMap::linkFolder(), 1, meter.device()));
        QList<int> asked;
        const auto recordCall = [&asked](int handle) {
            asked << handle;
            return setLowLatency(handle);
        };

        QtSerialLink pty(SerialLink::meterBufferSize);
        pty.setLowLatencyCalls({isUsbSerialDevice, recordCall});
        pty.setPortNumber(1);
        QVERIFY2(pty.open(), qPrintable(pty.errorString()));
        QVERIFY(asked.isEmpty());
        pty.close();

        QtSerialLink adapter(SerialLink::meterBufferSize);
        adapter.setLowLatencyCalls({[](const QString &) { return true; }, recordCall});
        adapter.setPortNumber(1);
        QVERIFY2(adapter.open(), qPrintable(adapter.errorString()));
        QCOMPARE(asked.size(), 1);
        QVERIFY(asked[0] >= 0);
        QVERIFY(!setLowLatency(asked[0])); // refused by the pseudo-terminal...
        adapter.write("{00}");
        QCOMPARE(meter.receive(4, 1000), QByteArray("{00}")); // ...which works all the same
    }

    // The simulator holds its pseudo-terminal's line open, as another
    // program would hold an adapter; this process's own hold does not count.
    void aPortHeldByAnotherProgramIsSeen()
    {
        SimProcess sim({"--silent", "--no-link"});
        QVERIFY(sim.start());
        QVERIFY(openedByAnotherProcess(sim.device()));
        PtyMeter own;
        QVERIFY(!openedByAnotherProcess(own.device()));
        QVERIFY(!openedByAnotherProcess("/dev/null-nothing-here"));
    }

    void usbAdaptersAreKnownByName_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<bool>("adapter");
        QTest::newRow("FTDI and the like") << "/dev/ttyUSB0" << true;
        QTest::newRow("CDC ACM") << "/dev/ttyACM3" << true;
        QTest::newRow("built-in port") << "/dev/ttyS0" << false;
        QTest::newRow("pseudo-terminal") << "/dev/pts/4" << false;
    }
    void usbAdaptersAreKnownByName()
    {
        QFETCH(QString, device);
        QTEST(isUsbSerialDevice(device), "adapter");
    }

    void closedPortWaitsForNothing()
    {
        QtSerialLink port(SerialLink::meterBufferSize);
        QVERIFY(!port.waitForMissingBytes(5, 50, false));
        QCOMPARE(port.bytesWaiting(), qint64(0));
    }
};

QTEST_GUILESS_MAIN(TestLinkWaits)
#include "tst_linkwaits.moc"
