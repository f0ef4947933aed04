// SPDX-License-Identifier: MIT
// The count replies: "{01}" (heat-run count in characters 2-3, or the cable
// meter's file count in 2-5) and "{03}" (file count in 2-5), and the field
// reader under them with any range the fuzzer picks.
// Input: two bytes of range (first, length, signed), then the reply.
#include "FuzzSupport.h"
#include "protocol/Request.h"
#include "protocol/ReplyFields.h"

#include <optional>

namespace {

// The property of every decimal field: a value only for an all-digit field
// (blanks around it allowed) that lies wholly inside the reply.
void checkDecimal(const QByteArray &reply, int first, int last)
{
    const std::optional<int> value = ReplyFields::decimal(reply, first, last);
    const bool inside = first >= 1 && last >= first && last <= reply.size();
    if (!inside) {
        FUZZ_CHECK(!value);
        return;
    }
    const QByteArray field = fuzz::chars(reply, first, last).trimmed();
    bool allDigits = !field.isEmpty() && field.size() <= 9;
    for (const char c : field)
        allDigits = allDigits && c >= '0' && c <= '9';
    FUZZ_CHECK(value.has_value() == allDigits);
    if (value)
        FUZZ_CHECK(*value >= 0 && *value == field.toInt());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const int first = int(static_cast<int8_t>(data[0]));
    const int last = first + int(static_cast<int8_t>(data[1]));
    const QByteArray reply = fuzz::bytes(data + 2, size - 2);

    checkDecimal(reply, 2, 3);
    checkDecimal(reply, 2, 5);
    checkDecimal(reply, first, last);

    // The counts the windows take: two digits at most 99, four at most 9999.
    if (const std::optional<int> heatRuns = ReplyFields::decimal(reply, 2, 3))
        FUZZ_CHECK(*heatRuns <= 99);
    if (const std::optional<int> files = ReplyFields::decimal(reply, 2, 5))
        FUZZ_CHECK(*files <= 9999);

    const QByteArray piece = ReplyFields::slice(reply, first, last);
    FUZZ_CHECK(piece.size() <= reply.size());
    if (!piece.isEmpty())
        FUZZ_CHECK(reply.mid(first - 1).startsWith(piece));
    const std::optional<int> byte = ReplyFields::byteAt(reply, first);
    FUZZ_CHECK(byte.has_value() == (first >= 1 && first <= reply.size()));
    FUZZ_CHECK(ReplyFields::endsWithCloseBracket(reply) == reply.endsWith(']'));

    // A request for any index the list could hold is framed and reads back.
    const int index = (first & 0xff) * 64 + (last & 0x3f);
    const QByteArray request = Request::withArgument("11", index, 4);
    FUZZ_CHECK(request.startsWith("{11") && request.endsWith('}'));
    FUZZ_CHECK(request.mid(3, request.size() - 4).toInt() == index);
    FUZZ_CHECK(request.size() == 4 + qMax(4, int(QByteArray::number(index).size())));
    return 0;
}
