// SPDX-License-Identifier: MIT
#include "protocol/TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <clocale>
#include <cstring>

#ifdef Q_OS_WIN
#include <windows.h>
#endif
#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

QByteArray contents(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The system's text for an error number, in the C locale the test sets.
QString systemText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class TestTextFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void writesTextWithLineEnds();
    void replacesExistingFile();
    void usesSystemEncoding();
    void writesBytesUnchanged();
    void folderAsTargetFails();
    void aPipeIsWrittenAsAStream();
    void parentIsAFileFails();
    void failedWriteKeepsPreviousFile_data();
    void failedWriteKeepsPreviousFile();
    void fullDiskGivesTheSystemsReason();
    void writesEveryByteInPieces();
};

void TestTextFile::initTestCase()
{
    // The system's error texts in English, whatever the user's language.
    std::setlocale(LC_MESSAGES, "C");
}

void TestTextFile::writesTextWithLineEnds()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.html"));
    const WriteResult result = writeTextFile(path, QStringLiteral("<html>\r\n\r\n</html>\r\n"));
    QVERIFY2(result.ok, qPrintable(result.error));
    QVERIFY(result.error.isEmpty());
    QCOMPARE(contents(path), QByteArray("<html>\r\n\r\n</html>\r\n"));
}

void TestTextFile::replacesExistingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.html"));
    put(path, "a much longer previous content that must disappear\r\n");
    QVERIFY(writeTextFile(path, QStringLiteral("new\r\n")).ok);
    QCOMPARE(contents(path), QByteArray("new\r\n"));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("out.html")});
}

void TestTextFile::usesSystemEncoding()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("micro.html"));
    const QString text = QStringLiteral("0.5678 \u00B5\r\n");
    QVERIFY(writeTextFile(path, text).ok);
#ifdef Q_OS_WIN
    if (GetACP() != 1252)
        QSKIP("the expected bytes are those of the Western ANSI code page");
    const QByteArray expected("0.5678 \xB5\r\n");
#else
    // Qt takes the system's encoding to be UTF-8 on every other system.
    const QByteArray expected("0.5678 \xC2\xB5\r\n");
#endif
    QCOMPARE(contents(path), expected);
}

void TestTextFile::writesBytesUnchanged()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("heat.csv"));
    const QByteArray bytes("Time,R\xE6\xEA\r\n0,1.2\r\n\r\n", 20);
    QVERIFY(writeBytesFile(path, bytes).ok);
    QCOMPARE(contents(path), bytes);
}

void TestTextFile::folderAsTargetFails()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("folder.html"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.html")));
    put(path + QStringLiteral("/inside.txt"), "kept");

    const WriteResult result = writeTextFile(path, QStringLiteral("text\r\n"));
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(QDir::toNativeSeparators(path)), qPrintable(result.error));
    QVERIFY(result.error.size() > QDir::toNativeSeparators(path).size() + 2); // a reason follows
    QVERIFY(QFileInfo(path).isDir());
    QCOMPARE(contents(path + QStringLiteral("/inside.txt")), QByteArray("kept"));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("folder.html")});
}

void TestTextFile::aPipeIsWrittenAsAStream()
{
#ifdef Q_OS_UNIX
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fifo"));
    QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    // The reader is this process: open it first without blocking.
    const int reader = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
    QVERIFY(reader >= 0);
    QVERIFY(writeBytesFile(path, "a,b\r\n").ok);
    char got[16] = {};
    QCOMPARE(::read(reader, got, sizeof got), ssize_t(5));
    ::close(reader);
    QCOMPARE(QByteArray(got), QByteArray("a,b\r\n"));
    struct stat status;
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
    QVERIFY(S_ISFIFO(status.st_mode)); // still the pipe, not a file put in its place
#else
    QSKIP("no named pipes here");
#endif
}

void TestTextFile::parentIsAFileFails()
{
    QTemporaryDir dir;
    const QString parent = dir.filePath(QStringLiteral("plain"));
    put(parent, "previous");
    const WriteResult result = writeTextFile(parent + QStringLiteral("/out.html"), QStringLiteral("text\r\n"));
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QCOMPARE(contents(parent), QByteArray("previous"));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("plain")});
}

void TestTextFile::failedWriteKeepsPreviousFile_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("within one write buffer") << 8 * 1024;
    QTest::newRow("many buffers") << 256 * 1024;
}

void TestTextFile::failedWriteKeepsPreviousFile()
{
#ifdef Q_OS_UNIX
    // A file size limit makes the write fail part-way, as a full disk would;
    // it holds for root as well.
    QFETCH(int, size);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.html"));
    put(path, "previous\r\n");

    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = 4096;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const WriteResult result = writeTextFile(path, QString(size, QLatin1Char('x')));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    QVERIFY(!result.ok);
    // The system's reason follows the file's name.
    const QString expected = QDir::toNativeSeparators(path) + QStringLiteral(": ") + systemText(EFBIG);
    QCOMPARE(result.error, expected);
    QCOMPARE(contents(path), QByteArray("previous\r\n"));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("out.html")});
#else
    QSKIP("needs a file size limit");
#endif
}

void TestTextFile::fullDiskGivesTheSystemsReason()
{
#ifdef Q_OS_LINUX
    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        QSKIP("no /dev/full here");
    const QString reason = writeAllBytes(full, QByteArray(64 * 1024, 'x'));
    QCOMPARE(reason, systemText(ENOSPC));
#else
    QSKIP("needs /dev/full");
#endif
}

void TestTextFile::writesEveryByteInPieces()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("out.csv")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray bytes = QByteArray(100 * 1024, 'y') + "\r\n";
    QCOMPARE(writeAllBytes(file, bytes), QString());
    file.close();
    QCOMPARE(contents(file.fileName()), bytes);
}

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_TextFile.moc"
