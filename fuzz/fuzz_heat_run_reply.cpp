// SPDX-License-Identifier: MIT
// The winding meter's heat-run-test replies: the "{02}" slot names and the
// framed file of a "{10nn}" download.
// Input: one byte of count (signed, so counts beyond 0..8 come too), then
// the reply.
#include "FuzzSupport.h"
#include "protocol/HeatRunReply.h"

#include <optional>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int count = int(static_cast<int8_t>(data[0]));
    const QByteArray reply = fuzz::bytes(data + 1, size - 1);

    // Download framing: "[" content "]", nothing checked inside.
    const std::optional<QByteArray> content = heatRunContent(reply);
    const bool framed = reply.size() >= 2 && reply.startsWith('[') && reply.endsWith(']');
    FUZZ_CHECK(content.has_value() == framed);
    if (content)
        FUZZ_CHECK('[' + *content + ']' == reply);

    // Slot names: eight entries; a name only for a used slot whose twelve
    // characters all arrived and are not the empty mark.
    const int used = heatRunSlotsUsed(count);
    FUZZ_CHECK(used >= 0 && used <= heatRunSlotCount);
    const QList<std::optional<QString>> names = heatRunNames(reply, count);
    FUZZ_CHECK(names.size() == heatRunSlotCount);
    for (int slot = 0; slot < heatRunSlotCount; ++slot) {
        const QByteArray field = fuzz::chars(reply, 18 * slot + 3, 18 * slot + 14);
        const bool expected = slot < used && field.size() == 12 && field != "------------";
        FUZZ_CHECK(names[slot].has_value() == expected);
        if (names[slot])
            FUZZ_CHECK(*names[slot] == QString::fromLatin1(field));
    }

    const int slot = (count & 0x7f) % heatRunSlotCount;
    FUZZ_CHECK(heatRunRequest(slot) == "{10" + QByteArray::number(slot + 1).rightJustified(2, '0') + "}");
    return 0;
}
