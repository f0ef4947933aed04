// SPDX-License-Identifier: MIT
// Output files that cannot be written: the measurement export (shared by
// every list window) and the heat-run-test download, to a path that is a
// folder, into a folder the user may not write, and onto a disk that takes no
// more bytes. Each gets the error box naming the file, leaves whatever stood
// at that path exactly as it was (no half-written file, no temporary left
// behind) and leaves the window usable.
//
// The tests also hold when run as root, who may write anywhere: the folder
// case then acts under an unprivileged file-system identity, and the full disk
// is a file-size limit, which fails the write the way a full disk does.
#include "FaultFamilies.h"
#include "TemporaryConfigHome.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <csignal>
#include <sys/fsuid.h>
#include <sys/resource.h>

using faults::MeterRun;

namespace {

enum class Obstacle {
    None,          // the control case: the file is replaced
    Folder,        // the chosen path is a folder
    NoPermission,  // the folder may not be written
    DiskFull,      // the disk refuses the bytes
};

const QByteArray previousContent = "the previous file\r\n";
constexpr uid_t nobody = 65534;

// File access of this thread as an unprivileged user; root's right to write
// anywhere is set aside too. Without root the folder's own mode does it.
class ActingAsNobody
{
public:
    ActingAsNobody() : m_previous(uid_t(setfsuid(nobody))) {}
    ~ActingAsNobody() { setfsuid(m_previous); }
    ActingAsNobody(const ActingAsNobody &) = delete;
    ActingAsNobody &operator=(const ActingAsNobody &) = delete;

private:
    uid_t m_previous;
};

// Files may not grow beyond `bytes`: writes past that fail as on a full disk
// (the signal the system sends with it is ignored, as the program would
// ignore it).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What is on disk under a folder: every path with its content (folders
// marked), so a changed, added or removed file shows.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> entries;
    const QDir root(folder);
    const QFileInfoList infos = root.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &info : infos) {
        if (info.isDir()) {
            entries.insert(info.fileName() + QStringLiteral("/"), QByteArray());
            const QMap<QString, QByteArray> inner = snapshot(info.filePath());
            for (auto it = inner.begin(); it != inner.end(); ++it)
                entries.insert(info.fileName() + QStringLiteral("/") + it.key(), it.value());
        } else {
            entries.insert(info.fileName(), contentOf(info.filePath()));
        }
    }
    return entries;
}

// Puts the obstacle in place in `outputs` and returns the path the user
// chooses in the save dialog.
QString prepare(const QString &outputs, Obstacle obstacle, const QString &fileName)
{
    const QString target = outputs + QStringLiteral("/") + fileName;
    if (obstacle == Obstacle::Folder) {
        QDir().mkpath(target);
        writeFile(target + QStringLiteral("/kept.txt"), previousContent);
        return target;
    }
    writeFile(target, previousContent);
    if (obstacle == Obstacle::NoPermission)
        QFile::setPermissions(outputs, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                           | QFile::ReadOther | QFile::ExeOther);
    return target;
}

// Runs `write` with the obstacle in force.
void withObstacle(Obstacle obstacle, const std::function<void()> &write)
{
    if (obstacle == Obstacle::NoPermission) {
        const ActingAsNobody nobodyWrites;
        write();
    } else if (obstacle == Obstacle::DiskFull) {
        const FileSizeLimit fourBytes(4);
        write();
    } else {
        write();
    }
}

// True when the obstacle really stops a write into `outputs` right now.
bool obstacleHolds(const QString &outputs, Obstacle obstacle)
{
    bool refused = false;
    withObstacle(obstacle, [&] {
        QFile probe(outputs + QStringLiteral("/probe.tmp"));
        refused = !probe.open(QIODevice::WriteOnly) || probe.write("0123456789") != 10 || !probe.flush();
        probe.close();
        probe.remove();
    });
    return refused;
}

} // namespace

Q_DECLARE_METATYPE(Obstacle)

namespace {

void addObstacles()
{
    QTest::addColumn<Obstacle>("obstacle");
    QTest::newRow("writable (control)") << Obstacle::None;
    QTest::newRow("path is a folder") << Obstacle::Folder;
    QTest::newRow("no permission") << Obstacle::NoPermission;
    QTest::newRow("disk full") << Obstacle::DiskFull;
}

} // namespace

class TestFileFaults : public QObject
{
    Q_OBJECT
private:
    TemporaryConfigHome m_config;

    // A folder for the output that others may enter, so that only its own
    // mode decides whether a file can be made in it.
    static QString outputFolder(MeterRun &run)
    {
        QFile::setPermissions(run.files.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                    | QFile::ExeGroup | QFile::ExeOther);
        const QString folder = run.files.filePath(QStringLiteral("outputs"));
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                          | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        return folder;
    }

    // Checks what every failed write must leave behind; the control case
    // must have replaced the file, with nothing else left in the folder.
    static void checkOutcome(MeterRun &run, Obstacle obstacle, const QString &outputs, const QString &target,
                             const QMap<QString, QByteArray> &before)
    {
        if (obstacle == Obstacle::None) {
            QVERIFY(contentOf(target) != previousContent);
            QCOMPARE(snapshot(outputs).keys(), QStringList{QFileInfo(target).fileName()});
            return;
        }
        QCOMPARE(run.dialogs.boxes.size(), 1);
        const ScriptedDialogs::Box box = run.dialogs.boxes.first();
        QVERIFY(box.critical);
        QCOMPARE(box.title, QString("Error"));
        QVERIFY2(box.text.contains(QFileInfo(target).fileName()), qPrintable(box.text));
        QCOMPARE(snapshot(outputs), before);
    }

private slots:
    void exportThatCannotBeWritten_data() { addObstacles(); }
    void exportThatCannotBeWritten()
    {
        QFETCH(Obstacle, obstacle);
        MeterRun run(faults::families().at(1), {"--unpaced", "--files", "2"});
        QVERIFY(run.load());
        auto *listFrame = run.window->findChild<QGroupBox *>("Frame2");
        QVERIFY(listFrame);
        run.list().setTicked(0, true);

        const QString outputs = outputFolder(run);
        const QString target = prepare(outputs, obstacle, QStringLiteral("export.html"));
        if (obstacle != Obstacle::None && obstacle != Obstacle::Folder)
            QVERIFY(obstacleHolds(outputs, obstacle));
        const QMap<QString, QByteArray> before = snapshot(outputs);
        run.dialogs.saveAnswers << target;

        withObstacle(obstacle, [&run] { QVERIFY(run.click("cmdRMDownload")); });

        QFile::setPermissions(outputs, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        checkOutcome(run, obstacle, outputs, target, before);
        if (obstacle == Obstacle::None) {
            QVERIFY(contentOf(target).contains("<td>1</td>"));
            QCOMPARE(run.dialogs.boxes,
                     (QList<ScriptedDialogs::Box>{{false, "Kestrix", "File(s) downloaded successfully"}}));
        }
        QVERIFY(listFrame->isEnabled());
        QVERIFY(run.list().isTicked(0));
    }

    void heatRunFileThatCannotBeWritten_data() { addObstacles(); }
    void heatRunFileThatCannotBeWritten()
    {
        QFETCH(Obstacle, obstacle);
        MeterRun run(faults::families().first(), {"--unpaced", "--files", "1", "--heat-run", "1"});
        QVERIFY(run.load());
        auto *download = run.window->findChild<QPushButton *>("cmdDownload_0");
        auto *heatRunFrame = run.window->findChild<QGroupBox *>("Frame1");
        auto *fileName = run.window->findChild<QLabel *>("lblFile_0");
        QVERIFY(download && heatRunFrame && fileName);
        QVERIFY(download->isEnabled());
        QVERIFY(run.click("cmdHRT"));

        const QString outputs = outputFolder(run);
        const QString target = prepare(outputs, obstacle, QStringLiteral("heat-run.csv"));
        if (obstacle != Obstacle::None && obstacle != Obstacle::Folder)
            QVERIFY(obstacleHolds(outputs, obstacle));
        const QMap<QString, QByteArray> before = snapshot(outputs);
        run.dialogs.saveAnswers << target;

        withObstacle(obstacle, [&run] { QVERIFY(run.click("cmdDownload_0")); });

        QFile::setPermissions(outputs, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        checkOutcome(run, obstacle, outputs, target, before);
        if (obstacle == Obstacle::None) {
            QVERIFY(run.dialogs.boxes.isEmpty());
            QVERIFY(contentOf(target).endsWith("\r\n"));
            QVERIFY(contentOf(target) != previousContent);
        }
        // The label turns normal only once the file is really written.
        QCOMPARE(fileName->font().bold(), obstacle != Obstacle::None);
        QVERIFY(heatRunFrame->isEnabled());
        QVERIFY(download->isEnabled());
    }
};

QTEST_MAIN(TestFileFaults)
#include "tst_faults_files.moc"
