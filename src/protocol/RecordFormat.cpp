// SPDX-License-Identifier: MIT
#include "protocol/RecordFormat.h"

#include "protocol/CableRecord.h"
#include "protocol/ContactRecord.h"
#include "protocol/WindingRecord.h"

RecordFormat contactRecordFormat()
{
    return {contactRecordRequest,
            ReplyRule{contactRecordAwaited, contactRecordAwaited + 1, true, contactRecordAwaited + 1},
            [](const QByteArray &reply, const QLocale &) { return decodeContactRecord(reply); }};
}

RecordFormat cableRecordFormat()
{
    return {cableRecordRequest, ReplyRule{cableRecordAwaited, cableRecordAwaited, true, cableRecordAwaited + 1},
            [](const QByteArray &reply, const QLocale &locale) {
                return decodeCableRecord(reply, separatorsOf(locale), locale);
            }};
}

RecordFormat windingRecordFormat(bool shortRecords)
{
    const int awaited = windingRecordAwaited(shortRecords);
    const int end = shortRecords ? 27 : awaited + 1;
    return {[shortRecords](int index) { return windingRecordRequest(index, shortRecords); },
            ReplyRule{awaited, end, true, end},
            [shortRecords](const QByteArray &reply, const QLocale &locale) {
                return decodeWindingRecord(reply, shortRecords, locale);
            }};
}

bool windingUsesShortRecords(int fileCount)
{
    return fileCount == 30;
}
