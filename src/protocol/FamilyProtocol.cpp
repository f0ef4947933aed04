// SPDX-License-Identifier: MIT
#include "protocol/FamilyProtocol.h"

#include "protocol/CableRecord.h"
#include "protocol/ContactRecord.h"
#include "protocol/MessageTexts.h"
#include "protocol/WindingRecord.h"

const QList<FamilyProtocol> &familyProtocols()
{
    // Contact and ratio meters name the winding meter in their start-up
    // failure too: the meters' users know this text.
    static const QList<FamilyProtocol> families{
        {MeterFamily::Winding, {"[KX-W1]", "[KX-W2]", "[KX-W3]", "[KX-W4]"}, true, "03",
         [](int fileCount) { return windingRecordFormat(windingUsesShortRecords(fileCount)); }, windingColumns,
         MessageTexts::windingMeterNotAnswering, windingLongestTexts},
        {MeterFamily::Contact, {"[KX-C1]"}, false, "03", [](int) { return contactRecordFormat(); }, contactColumns,
         MessageTexts::windingMeterNotAnswering, [](const QLocale &) { return contactLongestTexts(); }},
        {MeterFamily::Ratio, {"KXT1"}, false, "03", [](int) { return contactRecordFormat(); }, contactColumns,
         MessageTexts::windingMeterNotAnswering, [](const QLocale &) { return contactLongestTexts(); }},
        {MeterFamily::Cable, {"[KX-R1]"}, false, "01", [](int) { return cableRecordFormat(); }, cableColumns,
         MessageTexts::cableMeterNotAnswering, cableLongestTexts},
    };
    return families;
}

const FamilyProtocol &familyProtocol(MeterFamily family)
{
    for (const FamilyProtocol &known : familyProtocols()) {
        if (known.family == family)
            return known;
    }
    return familyProtocols().constFirst();
}

std::optional<MeterFamily> familyForModel(const QByteArray &reply)
{
    for (const FamilyProtocol &known : familyProtocols()) {
        if (known.models.contains(reply))
            return known.family;
    }
    return std::nullopt;
}

MeterFamily familyOrWinding(const QByteArray &reply)
{
    return familyForModel(reply).value_or(MeterFamily::Winding);
}
