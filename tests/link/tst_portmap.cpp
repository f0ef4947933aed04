// SPDX-License-Identifier: MIT
#include "link/PortMap.h"
#include "link/PortSearch.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

class TestPortMap : public QObject
{
    Q_OBJECT
private slots:
    void ordersDevicesUsbFirst()
    {
        const QStringList ordered = PortMap::orderDevices(
            {"/dev/ttyS1", "/dev/ttyUSB10", "/dev/ttyS0", "/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyS10", "/dev/ttyS2",
             "/dev/ttyUSB2"});
        QCOMPARE(ordered, (QStringList{"/dev/ttyACM0", "/dev/ttyUSB2", "/dev/ttyUSB10", "/dev/ttyS0", "/dev/ttyS1",
                                       "/dev/ttyS2", "/dev/ttyS10"}));
    }

    void ordersMacDevices_data()
    {
        QTest::addColumn<QStringList>("devices");
        QTest::addColumn<QStringList>("ordered");
        QTest::newRow("adapters first, call-out devices only")
            << QStringList{"/dev/tty.usbserial-A10", "/dev/cu.debug-console", "/dev/cu.usbserial-A10",
                           "/dev/tty.usbmodem14201", "/dev/cu.usbmodem14201", "/dev/tty.debug-console"}
            << QStringList{"/dev/cu.usbmodem14201", "/dev/cu.usbserial-A10", "/dev/cu.debug-console"};
        QTest::newRow("never Bluetooth")
            << QStringList{"/dev/cu.Bluetooth-Incoming-Port", "/dev/tty.Bluetooth-Incoming-Port",
                           "/dev/cu.usbserial-FT1", "/dev/cu.BLUETOOTH-Modem"}
            << QStringList{"/dev/cu.usbserial-FT1"};
        QTest::newRow("only Bluetooth") << QStringList{"/dev/cu.Bluetooth-Incoming-Port"} << QStringList{};
    }
    void ordersMacDevices()
    {
        QFETCH(QStringList, devices);
        QFETCH(QStringList, ordered);
        QCOMPARE(PortMap::orderDevices(devices), ordered);
    }

    void macAdapterIsComOne()
    {
        const PortMap map = PortMap::build(
            {}, {"/dev/cu.Bluetooth-Incoming-Port", "/dev/cu.debug-console", "/dev/cu.usbserial-1420"});
        QCOMPARE(map.deviceFor(1), QString("/dev/cu.usbserial-1420"));
        QCOMPARE(map.deviceFor(2), QString("/dev/cu.debug-console"));
        QVERIFY(map.deviceFor(3).isEmpty());
        QCOMPARE(map.entryFor(1), QString("1 (cu.usbserial-1420)"));
    }

    void oneUsbAdapterIsComOne()
    {
        const PortMap map = PortMap::build({}, {"/dev/ttyS0", "/dev/ttyUSB0"});
        QCOMPARE(map.deviceFor(1), QString("/dev/ttyUSB0"));
        QCOMPARE(map.deviceFor(2), QString("/dev/ttyS0"));
        QVERIFY(map.deviceFor(3).isEmpty());
    }

    void linksComeFirstAndEachDeviceOnce()
    {
        const QMap<int, QString> links{{1, "/dev/pts/7"}, {3, "/dev/ttyUSB0"}};
        const PortMap map = PortMap::build(links, {"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyS0"});
        QCOMPARE(map.deviceFor(1), QString("/dev/pts/7"));
        QCOMPARE(map.deviceFor(2), QString("/dev/ttyUSB1"));
        QCOMPARE(map.deviceFor(3), QString("/dev/ttyUSB0"));
        QCOMPARE(map.deviceFor(4), QString("/dev/ttyS0"));
        QVERIFY(map.deviceFor(5).isEmpty());
    }

    void entriesStartWithTheirNumber()
    {
        const PortMap map = PortMap::build({{2, "/dev/pts/3"}}, {"/dev/ttyUSB0"});
        QCOMPARE(map.entryFor(1), QString("1 (ttyUSB0)"));
        QCOMPARE(map.entryFor(2), QString("2 (pts/3)"));
        QCOMPARE(map.entryFor(3), QString("3"));
        for (int number = PortMap::firstPort; number <= PortMap::lastPort; ++number)
            QCOMPARE(portNumberIn(map.entryFor(number)), std::optional<int>(number));

        const PortMap windows = PortMap::comNamed();
        QCOMPARE(windows.entryFor(7), QString("7"));
        QCOMPARE(windows.deviceFor(7), QString("COM7"));
    }

    // The adapter's name beside its number, cut to fit the list; the whole
    // of what the system tells for the tool tip and screen readers.
    void entriesNameTheAdapter()
    {
        const QList<PortInfo> ports{
            {"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A10K3", true},
            {"/dev/ttyACM0", "", "Prolific Technology Inc.", "", true},
            {"/dev/ttyUSB1", "USB-Serial Controller with a very long name", "", "", true},
            {"/dev/ttyS0", "", "", "", false},
            {"/dev/ttyUSB2", QString::fromLatin1("Evil\x1B[31m\nAdapter"), "", "", true},
        };
        const PortMap map = PortMap::fromPorts({{7, "/dev/pts/4"}}, ports);
        QCOMPARE(map.entryFor(1), QString("1 (ttyACM0, Prolific Technology Inc.)"));
        QCOMPARE(map.entryFor(2), QString("2 (ttyUSB0, FT232R USB UART)"));
        QCOMPARE(map.fullEntryFor(2), QString("2 (ttyUSB0, FT232R USB UART, FTDI, serial number A10K3)"));
        QCOMPARE(map.entryFor(3), QString("3 (ttyUSB1, USB-Serial Controller w\u2026)"));
        QCOMPARE(map.fullEntryFor(3), QString("3 (ttyUSB1, USB-Serial Controller with a very long name)"));
        QCOMPARE(map.entryFor(4), QString("4 (ttyUSB2, Evil [31m Adapter)")); // one line, no escape sequence
        QCOMPARE(map.entryFor(5), QString("5 (ttyS0)"));
        QCOMPARE(map.entryFor(7), QString("7 (pts/4)"));
        for (int number = PortMap::firstPort; number <= PortMap::lastPort; ++number)
            QCOMPARE(portNumberIn(map.entryFor(number)), std::optional<int>(number));

        // Windows: the number is the port's own; the adapter where one stands behind it.
        const PortMap windows = PortMap::comNamed({{"COM5", "USB Serial Port", "FTDI", "", true}, {"COM1", "", "", "", false}});
        QCOMPARE(windows.entryFor(5), QString("5 (USB Serial Port)"));
        QCOMPARE(windows.entryFor(1), QString("1"));
        QCOMPARE(windows.deviceFor(5), QString("COM5"));
    }

    // A search asks USB adapters and the user's links, nothing else.
    void searchAsksAdaptersAndLinksOnly()
    {
        const QList<PortInfo> ports{{"/dev/ttyS0", "", "", "", false},
                                    {"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "", true},
                                    {"/dev/ttyS1", "", "", "", false}};
        QCOMPARE(PortMap::fromPorts({{9, "/dev/pts/2"}}, ports).searchable(), (QList<int>{1, 9}));
        QCOMPARE(PortMap::fromPorts({}, {{"/dev/ttyS0", "", "", "", false}}).searchable(), QList<int>{});
        QCOMPARE(PortMap::comNamed({{"COM4", "USB Serial Port", "", "", true}, {"COM1", "Communications Port", "", "", false}})
                     .searchable(),
                 QList<int>{4});
    }

    // Each port is looked at again just before it is asked.
    void searchPassesOverPortsThatChangedOrAreInUse()
    {
        QList<PortInfo> present{{"/dev/ttyUSB0", "", "", "", true},
                                {"/dev/ttyUSB1", "", "", "", true},
                                {"/dev/ttyUSB2", "", "", "", true}};
        PortSearch search([&present] { return present; },
                          [](const QString &device) { return device == "/dev/ttyUSB1"; });
        QVERIFY(search.start());
        QCOMPARE(search.next(), std::optional<int>(1));
        // ttyUSB0 is unplugged: COM 1 and COM 2 now lead to other devices.
        present.removeFirst();
        QCOMPARE(search.next(), std::optional<int>()); // COM 2 is ttyUSB2 now, COM 3 is gone
        QVERIFY(!search.hasNext());
        QCOMPARE(search.asked(), QStringList{"COM 1"});
        QVERIFY(search.start());
        QCOMPARE(search.next(), std::optional<int>(2)); // ttyUSB1 (COM 1) is held by another program
        QCOMPARE(search.asked(), (QStringList{"COM 1", "COM 2"}));

        PortSearch nothing([] { return QList<PortInfo>{{"/dev/ttyS0", "", "", "", false}}; });
        QVERIFY(!nothing.start());
        QCOMPARE(nothing.next(), std::optional<int>());
    }

    void readsThePortNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value"); // 0: no number
        QTest::newRow("plain") << "3" << 3;
        QTest::newRow("with device") << "3 (ttyUSB0)" << 3;
        QTest::newRow("two digits with device") << "12 (ttyUSB0)" << 12;
        QTest::newRow("typed with blanks") << " 7 " << 7;
        QTest::newRow("port name") << "COM3" << 3;
        QTest::newRow("port name, lower case") << "com3" << 3;
        QTest::newRow("lower case and a blank") << "com 3" << 3;
        QTest::newRow("upper case and a blank") << "COM 3" << 3;
        QTest::newRow("port name with blanks around") << " COM12 " << 12;
        QTest::newRow("mixed case, several blanks") << "Com   5" << 5;
        QTest::newRow("port name and device") << "COM3 (ttyUSB0)" << 3;
        QTest::newRow("not a number") << "abc" << 0;
        QTest::newRow("port name alone") << "COM" << 0;
        QTest::newRow("port name and a blank") << "COM " << 0;
        QTest::newRow("sign is no number") << "COM-3" << 0;
        QTest::newRow("other name") << "ttyUSB0" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("out of range stays as typed") << "33" << 33;
        QTest::newRow("far out of range, as typed") << "COM40" << 40;
    }
    void readsThePortNumber()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        const std::optional<int> read = portNumberIn(text);
        QCOMPARE(read.has_value(), value != 0);
        if (read)
            QCOMPARE(*read, value);
    }

#ifdef Q_OS_UNIX
    // COMn links are how POSIX systems number their ports.
    void readsOnlyComLinks()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QFile::link("/dev/null", dir.filePath("COM1")));
        QVERIFY(QFile::link("/dev/zero", dir.filePath("COM32")));
        QVERIFY(QFile::link("/dev/null", dir.filePath("COM33")));
        QVERIFY(QFile::link("/dev/null", dir.filePath("COM0")));
        QVERIFY(QFile::link("/dev/null", dir.filePath("com2")));
        QFile plain(dir.filePath("COM4"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();

        const QMap<int, QString> links = PortMap::readLinks(dir.path());
        QCOMPARE(links.keys(), (QList<int>{1, 32}));
        QCOMPARE(links.value(1), QString("/dev/null"));
        QCOMPARE(links.value(32), QString("/dev/zero"));
    }
#endif

    void linkFolderFollowsXdgConfigHome()
    {
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", "/somewhere/config");
        QCOMPARE(PortMap::linkFolder(), QString("/somewhere/config/kestrix/ports"));
        qputenv("XDG_CONFIG_HOME", "relative/is/ignored");
        QVERIFY(PortMap::linkFolder().endsWith("/.config/kestrix/ports"));
        qputenv("XDG_CONFIG_HOME", saved);
    }

    void openFailureNamesTheReason_data()
    {
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("systemText");
        QTest::addColumn<bool>("userMayOpen");
        QTest::addColumn<QString>("says");
        QTest::addColumn<QString>("doesNotSay");
        // The port's lock file, or a device held in exclusive mode (EBUSY),
        // come as permission errors on a device this user may open.
        QTest::newRow("locked by another program")
            << int(QSerialPort::PermissionError) << "Permission error while locking the device" << true
            << "in use by another program" << "ermission";
        QTest::newRow("busy device") << int(QSerialPort::PermissionError) << "Device or resource busy" << true
                                     << "in use by another program" << "dialout";
        QTest::newRow("device node not for this user")
            << int(QSerialPort::PermissionError) << "Permission denied" << false
            << "permission denied (Permission denied)" << "in use";
        QTest::newRow("already open") << int(QSerialPort::OpenError) << "Device is already open" << true
                                      << "already in use (Device is already open)" << "dialout";
        QTest::newRow("gone") << int(QSerialPort::DeviceNotFoundError) << "No such file or directory" << true
                              << "no such device (No such file or directory)" << "in use";
        QTest::newRow("anything else") << int(QSerialPort::ResourceError) << "Input/output error" << true
                                       << ": Input/output error" << "in use";
    }
    void openFailureNamesTheReason()
    {
        QFETCH(int, error);
        QFETCH(QString, systemText);
        QFETCH(bool, userMayOpen);
        QFETCH(QString, says);
        QFETCH(QString, doesNotSay);
        const QString text = PortMap::describeOpenFailure(
            "/dev/ttyUSB0", QSerialPort::SerialPortError(error), systemText, userMayOpen);
        QVERIFY2(text.startsWith("/dev/ttyUSB0: "), qPrintable(text));
        QVERIFY2(text.contains(says), qPrintable(text));
        QVERIFY2(!text.contains(doesNotSay), qPrintable(text));
    }

    void permissionDeniedGivesTheGroupHint()
    {
        const QString text = PortMap::describeOpenFailure("/dev/ttyUSB0", QSerialPort::PermissionError,
                                                          "Permission denied", false);
        QVERIFY2(text.contains("dialout"), qPrintable(text));
    }
};

QTEST_GUILESS_MAIN(TestPortMap)
#include "tst_portmap.moc"
