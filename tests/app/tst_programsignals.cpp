// SPDX-License-Identifier: MIT
// The program ended by a signal, as a session's end or a kill would: it
// quits as on Exit, closing its port, instead of dying with the port locked.
#include "SimProcess.h"
#include "TemporaryConfigHome.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

// A bound on a misbehaving program, not a check of its speed.
constexpr int patienceMs = 30000;

} // namespace

class TestProgramSignals : public QObject
{
    Q_OBJECT
private slots:
    void aSignalEndsTheProgramAsExitDoes_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void aSignalEndsTheProgramAsExitDoes()
    {
        QFETCH(int, signal);
        SimProcess sim({"--family", "contact", "--files", "3", "--unpaced"});
        QVERIFY(sim.start());
        QProcess program;
        program.start(QStringLiteral(KESTRIX_PROGRAM_PATH), {});
        QVERIFY(program.waitForStarted());
        // Once the meter's window has read its last file, it is on screen.
        QVERIFY(QTest::qWaitFor([&sim] { return sim.requests().contains("{110002}"); }, patienceMs));
        ::kill(pid_t(program.processId()), signal);
        QVERIFY(program.waitForFinished(patienceMs));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }

private:
    TemporaryConfigHome m_config;
};

QTEST_GUILESS_MAIN(TestProgramSignals)
#include "tst_programsignals.moc"
