// SPDX-License-Identifier: MIT
// An identification that names /dev/zero as a picture, under a cap on the
// address space. Had the detection window read the reply as markup, Qt would
// read /dev/zero into memory until the cap stops it and the program aborts;
// shown as plain text, the window takes no more memory than for any model.
// A program of its own, since the cap holds for the rest of the process.
#include "ChildNamed.h"
#include "FakeDetection.h"
#include "ui/MeterWindow.h"

#include <QFile>
#include <QLabel>
#include <QTest>

#if defined(Q_OS_LINUX)
#include <sys/resource.h>
#include <unistd.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define KESTRIX_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KESTRIX_ADDRESS_SANITIZER 1
#endif
#endif

namespace {

constexpr qint64 mebibyte = 1024 * 1024;
// Room for the windows, fonts and glyph caches of a normal run.
constexpr qint64 headroom = 256 * mebibyte;

#if defined(Q_OS_LINUX) && !defined(KESTRIX_ADDRESS_SANITIZER)
// The process's current address-space size, from /proc/self/statm.
qint64 addressSpaceBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.isEmpty() ? -1 : fields.first().toLongLong() * sysconf(_SC_PAGESIZE);
}

// The largest resident size so far.
qint64 peakResidentBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}
#endif

} // namespace

class TestIdentificationMemory : public QObject
{
    Q_OBJECT

private slots:
    void devZeroPictureIsNeverRead()
    {
#if !defined(Q_OS_LINUX)
        QSKIP("the address-space cap is set the Linux way");
#elif defined(KESTRIX_ADDRESS_SANITIZER)
        QSKIP("AddressSanitizer reserves more address space than any cap allows");
#else
        // Warm up first, so that the cap is measured from a process that has
        // shown a detection window with its fonts loaded.
        {
            FakeDetection warmUp("[KX-W1]");
            QVERIFY(warmUp.waitUntilClosed());
            warmUp.splash->grab();
        }

        const qint64 before = addressSpaceBytes();
        QVERIFY(before > 0);
        rlimit cap{};
        QCOMPARE(getrlimit(RLIMIT_AS, &cap), 0);
        const rlim_t limit = rlim_t(before + headroom);
        if (cap.rlim_max != RLIM_INFINITY && cap.rlim_max < limit)
            QSKIP("the hard limit on the address space is already lower");
        cap.rlim_cur = limit;
        QCOMPARE(setrlimit(RLIMIT_AS, &cap), 0);
        const qint64 residentBefore = peakResidentBytes();

        FakeDetection detection("<img src=/dev/zero>");
        QVERIFY(detection.waitUntilClosed());
        QLabel *label = childNamed<QLabel>(detection.splash, "lblModel");
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QCOMPARE(label->text(), QStringLiteral("PC successfully connected to <img src=/dev/zero>"));
        // Lay out and paint the line, as the screen would.
        QVERIFY(label->sizeHint().height() < 2 * label->fontMetrics().lineSpacing());
        QVERIFY(!detection.splash->grab().isNull());
        const std::unique_ptr<MeterWindow> loaded = detection.splash->takeLoadedWindow();
        QVERIFY(loaded);
        QCOMPARE(loaded->windowTitle(), QStringLiteral("<img src=/dev/zero> Meter Communication Software"));

        const qint64 grown = addressSpaceBytes() - before;
        const qint64 residentGrown = peakResidentBytes() - residentBefore;
        qInfo("address space grew by %lld KiB, peak resident size by %lld KiB (cap: %lld MiB above the start)",
              grown / 1024, residentGrown / 1024, headroom / mebibyte);
        QVERIFY(residentGrown < 64 * mebibyte);
#endif
    }
};

QTEST_MAIN(TestIdentificationMemory)
#include "tst_identificationMemory.moc"
