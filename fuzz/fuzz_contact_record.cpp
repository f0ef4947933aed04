// SPDX-License-Identifier: MIT
// Contact and ratio meter record replies (both families share the decoder).
// Input: the reply as it came off the line.
#include "FuzzSupport.h"
#include "protocol/ContactRecord.h"
#include "protocol/RecordFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray reply = fuzz::bytes(data, size);
    const RecordFormat format = contactRecordFormat();
    const RecordCells record = format.decode(reply, QLocale::c());

    // The scale code decoding alone, on a field of any length: the fourth
    // character picks the suffix after the first three, or keeps the field.
    const QByteArray field = reply.left(8);
    const QString shown = contactResistanceText(field);
    const QString digits = QString::fromLatin1(field.left(3));
    const char code = field.size() >= 4 ? field.at(3) : '\0';
    FUZZ_CHECK(shown == (code == ':'   ? digits + "E-3"
                         : code == '<' ? digits + "E-6"
                         : code == ';' ? digits
                                       : QString::fromLatin1(field)));

    if (reply.size() < format.rule.awaited || !reply.endsWith(']')) {
        FUZZ_CHECK(record.status == RecordCells::Status::BadEndMark && record.cells.isEmpty());
        return 0;
    }
    if (fuzz::chars(reply, 2, 20) == "32/45/32 - 45:32:45") {
        FUZZ_CHECK(record.status == RecordCells::Status::EmptySlot && record.cells.isEmpty());
        return 0;
    }
    FUZZ_CHECK(record.status == RecordCells::Status::Filled);
    FUZZ_CHECK(record.cells.size() == 3);
    FUZZ_CHECK(record.cells[0] == qMakePair(int(ContactColumn::DateTime), QString::fromLatin1(fuzz::chars(reply, 2, 20))));
    FUZZ_CHECK(record.cells[1].first == ContactColumn::Resistance && record.cells[2].first == ContactColumn::Current);

    const char status = reply.at(21);
    if (status == '1' || status == '2') {
        FUZZ_CHECK(record.cells[1].second == (status == '1' ? "-Over-" : "-Under-"));
        FUZZ_CHECK(record.cells[2].second.isEmpty());
    } else {
        FUZZ_CHECK(record.cells[1].second == contactResistanceText(fuzz::chars(reply, 24, 31)));
        FUZZ_CHECK(record.cells[2].second == QString::fromLatin1(fuzz::chars(reply, 33, 37)));
    }
    return 0;
}
