// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QLocale>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A property every input must keep. A broken one aborts, so libFuzzer stops,
// keeps the input as a crash file and prints the check that failed.
#define FUZZ_CHECK(condition)                                                                        \
    do {                                                                                             \
        if (!(condition)) {                                                                          \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                            \
        }                                                                                            \
    } while (0)

namespace fuzz {

// The fuzzer's bytes without a copy; valid for the call only.
inline QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
}

// Locales whose number and date formats differ: a point, a comma, and one with
// other date and time separators.
inline const QLocale &locale(uint8_t choice)
{
    static const QLocale locales[] = {QLocale::c(), QLocale(QLocale::German, QLocale::Germany),
                                      QLocale(QLocale::Finnish, QLocale::Finland),
                                      QLocale(QLocale::English, QLocale::UnitedStates)};
    return locales[choice % (sizeof locales / sizeof locales[0])];
}

// 1-based characters first..last of a reply, as the meter frames are described.
inline QByteArray chars(const QByteArray &reply, int first, int last)
{
    return reply.mid(first - 1, last - first + 1);
}

} // namespace fuzz
