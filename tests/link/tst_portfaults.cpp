// SPDX-License-Identifier: MIT
// Faults of the serial port itself, on real pseudo-terminals: a port that
// another program holds, a device node this user may not open, and an adapter
// pulled out and plugged back in.
#include "TemporaryConfigHome.h"
#include "ActingAsNobody.h"
#include "PtyMeter.h"
#include "link/Exchange.h"
#include "link/StopRequest.h"
#include "link/PortMap.h"
#include "link/QtSerialLink.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>
#include <unistd.h>

namespace {

constexpr int comNumber = 1;

// The reason a port on COM 1 gives when it cannot be opened; empty if it opens.
QString openFailure(QtSerialLink &port)
{
    port.setPortNumber(comNumber);
    return port.open() ? QString() : port.errorString();
}

} // namespace

class TestPortFaults : public QObject
{
    Q_OBJECT
private:
    TemporaryConfigHome m_config;

private slots:
    void initTestCase()
    {
        // The port map is read as the user the test acts as, who must find COM 1.
        QVERIFY(QFile::setPermissions(m_config.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                           | QFile::ReadGroup | QFile::ExeGroup
                                                           | QFile::ReadOther | QFile::ExeOther));
    }

    void portHeldElsewhereIsInUse()
    {
        // A second program (or a second copy of this one) holds the port:
        // it keeps the port's lock file and its exclusive mode.
        PtyMeter meter;
        QVERIFY(!meter.device().isEmpty());
        QVERIFY(publishPort(PortMap::linkFolder(), comNumber, meter.device()));
        QtSerialLink holder(SerialLink::probeBufferSize);
        QCOMPARE(openFailure(holder), QString());

        QtSerialLink probe(SerialLink::probeBufferSize);
        const QString reason = openFailure(probe);
        QVERIFY(!probe.isOpen());
        QVERIFY2(reason.startsWith(meter.device() + ": "), qPrintable(reason));
        QVERIFY2(reason.contains("in use"), qPrintable(reason));
        QVERIFY2(!reason.contains("ermission") && !reason.contains("dialout"), qPrintable(reason));

        // Once the other side lets go, the same port opens.
        holder.close();
        QCOMPARE(openFailure(probe), QString());
    }

    void deviceNotForThisUserIsPermissionDenied()
    {
        PtyMeter meter;
        QVERIFY(!meter.device().isEmpty());
        QVERIFY(publishPort(PortMap::linkFolder(), comNumber, meter.device()));
        QtSerialLink port(SerialLink::probeBufferSize);
        QString reason;
        if (geteuid() == 0) {
            // Root may open anything; an unprivileged user may not open a
            // device node that is only its owner's.
            QVERIFY(QFile::setPermissions(meter.device(), QFile::ReadOwner | QFile::WriteOwner));
            const ActingAsNobody nobody;
            reason = openFailure(port);
        } else {
            QVERIFY(QFile::setPermissions(meter.device(), QFile::Permissions()));
            reason = openFailure(port);
        }
        QVERIFY(!port.isOpen());
        QVERIFY2(reason.startsWith(meter.device() + ": permission denied"), qPrintable(reason));
        QVERIFY2(reason.contains("dialout"), qPrintable(reason));
        QVERIFY2(!reason.contains("in use"), qPrintable(reason));
    }

    void aLostDeviceIsOpenedAgainOnlyWhereItWas()
    {
        // COM 1 leads to the adapter's device node, which is itself a link
        // (as /dev/serial/by-id names are): it goes and comes back with the adapter.
        QTemporaryDir nodes;
        const QString adapterNode = nodes.filePath(QStringLiteral("ttyAdapter"));
        auto meter = std::make_unique<PtyMeter>();
        PtyMeter other; // made now, so that it cannot take the adapter's pty number
        QVERIFY(!meter->device().isEmpty() && !other.device().isEmpty());
        QVERIFY(QFile::link(meter->device(), adapterNode));
        QVERIFY(publishPort(PortMap::linkFolder(), comNumber, adapterNode));
        QtSerialLink port(SerialLink::meterBufferSize);
        QCOMPARE(openFailure(port), QString());

        // The adapter is pulled while the window idles in its event loop.
        meter.reset();
        QTRY_VERIFY_WITH_TIMEOUT(port.deviceLost(), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!port.isOpen(), 10000);

        // COM 1 now leads to another device: nothing is ever written to it.
        QVERIFY(publishPort(PortMap::linkFolder(), comNumber, other.device()));
        port.write("{1001}");
        QVERIFY(!port.isOpen());
        QVERIFY(port.deviceLost());
        QVERIFY(!port.errorString().isEmpty());
        QCOMPARE(other.receive(1, 100), QByteArray());

        // The adapter's node comes back: the next request reaches the meter there.
        PtyMeter back;
        QVERIFY(QFile::remove(adapterNode) && QFile::link(back.device(), adapterNode));
        QByteArray requests;
        QSocketNotifier meterSide(qintptr(back.masterFd()), QSocketNotifier::Read);
        connect(&meterSide, &QSocketNotifier::activated, this, [&] {
            requests += back.receive(1, 0);
            if (requests == "{1001}")
                back.send("[0,1.25\r\n]");
        });
        StopRequest stop;
        Exchange exchange(port, stop);
        QByteArray reply;
        QCOMPARE(exchange.requestWithFixedWait("{1001}", 1000, &reply), ExchangeOutcome::Reply);
        QCOMPARE(requests, QByteArray("{1001}"));
        QCOMPARE(reply, QByteArray("[0,1.25\r\n]"));
        QVERIFY(port.isOpen());
        QVERIFY(!port.deviceLost());
    }

    void userMayOpenFollowsTheNodesPermissions()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                      | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
                                                      | QFile::ExeOther));
        const auto node = [&](const QString &name, QFile::Permissions permissions) {
            QFile file(dir.filePath(name));
            if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(permissions))
                return QString();
            return file.fileName();
        };
        const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner;
        const QString owners = node("ttyOwners", ownerOnly);
        const QString everybodys = node("ttyEverybodys", ownerOnly | QFile::ReadGroup | QFile::WriteGroup
                                                             | QFile::ReadOther | QFile::WriteOther);
        const QString readOnly = node("ttyReadOnly", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
        QVERIFY(!owners.isEmpty() && !everybodys.isEmpty() && !readOnly.isEmpty());
        QVERIFY(PortMap::userMayOpen(owners));
        QVERIFY(!PortMap::userMayOpen(dir.filePath("missing")));

        // Root may open anything: look as an unprivileged user would.
        std::optional<ActingAsNobody> nobody;
        if (geteuid() == 0)
            nobody.emplace();
        QCOMPARE(PortMap::userMayOpen(owners), !nobody.has_value());
        QVERIFY(PortMap::userMayOpen(everybodys));
        QVERIFY(!PortMap::userMayOpen(readOnly));
    }
};

QTEST_GUILESS_MAIN(TestPortFaults)
#include "tst_portfaults.moc"
