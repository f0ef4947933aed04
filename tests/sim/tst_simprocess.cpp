// SPDX-License-Identifier: MIT
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A bound on waiting for a misbehaving simulator, not a check of its speed.
constexpr int patienceMs = 10000;

// Reads until `size` bytes have come or nothing more comes within the patience.
QByteArray readBytes(int fd, int size)
{
    QByteArray bytes;
    while (bytes.size() < size) {
        pollfd waiting{fd, POLLIN, 0};
        if (poll(&waiting, 1, patienceMs) <= 0)
            break;
        char buffer[256];
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count <= 0 && errno != EAGAIN)
            break;
        if (count > 0)
            bytes.append(buffer, count);
    }
    return bytes;
}

QByteArray readLine(QProcess &process)
{
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(patienceMs))
            return QByteArray();
    }
    return process.readLine().trimmed();
}

} // namespace

class TestSimProcess : public QObject
{
    Q_OBJECT

private slots:
    void answersOnItsPublishedPort()
    {
        QTemporaryDir config;
        QVERIFY(config.isValid());
        const QString folder = config.filePath(QStringLiteral("kestrix/ports"));
        QVERIFY(QDir().mkpath(folder));
        const QString linkPath = folder + QStringLiteral("/COM7");
        // A link left by a run that was killed must be replaced.
        QVERIFY(QFile::link(QStringLiteral("/dev/pts/999999"), linkPath));

        QProcess sim;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        sim.setProcessEnvironment(environment);
        sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        sim.start(QStringLiteral(KESTRIX_SIM_PATH),
                  {"--model", "[KX-C1]", "--files", "12", "--com", "7", "--unpaced"});
        sim.closeWriteChannel();   // end of input is no reason to stop
        QVERIFY(sim.waitForStarted(patienceMs));
        const QByteArray device = readLine(sim);
        QVERIFY2(device.startsWith("/dev/"), device.constData());
        QCOMPARE(readLine(sim), QByteArray("COM7"));
        QCOMPARE(QFileInfo(linkPath).symLinkTarget(), QString::fromLocal8Bit(device));

        const int fd = ::open(device.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(fd >= 0);
        termios settings{};
        tcgetattr(fd, &settings);
        cfmakeraw(&settings);
        tcsetattr(fd, TCSANOW, &settings);
        QCOMPARE(write(fd, "{00}", 4), ssize_t(4));
        QCOMPARE(readBytes(fd, 7), QByteArray("[KX-C1]"));
        QCOMPARE(write(fd, "xx{03}", 6), ssize_t(6));
        QCOMPARE(readBytes(fd, 6), QByteArray("[0012]"));
        ::close(fd);

        sim.terminate();
        QVERIFY(sim.waitForFinished(patienceMs));
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), 0);
        QVERIFY(!QFileInfo::exists(linkPath) && !QFileInfo(linkPath).isSymLink());
    }

    void aLinkOfTheUsersIsLeftAlone()
    {
        QTemporaryDir config;
        const QString folder = config.filePath(QStringLiteral("kestrix/ports"));
        QVERIFY(QDir().mkpath(folder));
        const QString linkPath = folder + QStringLiteral("/COM1");
        QVERIFY(QFile::link(QStringLiteral("/dev/ttyUSB7"), linkPath)); // an adapter pinned to COM 1

        QProcess sim;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        sim.setProcessEnvironment(environment);
        sim.start(QStringLiteral(KESTRIX_SIM_PATH), {"--com", "1"});
        QVERIFY(sim.waitForFinished(patienceMs));
        QVERIFY(sim.exitCode() != 0);
        const QByteArray said = sim.readAllStandardError();
        QVERIFY2(said.contains(QFile::encodeName(linkPath)) && said.contains("/dev/ttyUSB7"), said.constData());
        QCOMPARE(QFileInfo(linkPath).symLinkTarget(), QStringLiteral("/dev/ttyUSB7"));
    }

    void badCommandLineIsReported()
    {
        QProcess sim;
        sim.start(QStringLiteral(KESTRIX_SIM_PATH), {"--com", "40"});
        QVERIFY(sim.waitForFinished(patienceMs));
        QCOMPARE(sim.exitCode(), 2);
        QVERIFY(sim.readAllStandardError().contains("--com expects a number from 1 to 32"));
        QVERIFY(sim.readAllStandardOutput().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSimProcess)
#include "tst_simprocess.moc"
