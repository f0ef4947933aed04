// SPDX-License-Identifier: MIT
#include "Family.h"

namespace sim {

Family familyForModel(const QByteArray &model)
{
    // Whole-text, case-sensitive comparison: "[kx-c1]" is not a contact meter.
    if (model == "[KX-C1]")
        return Family::Contact;
    if (model == "KXT1")
        return Family::Ratio;
    if (model == "[KX-R1]")
        return Family::Cable;
    return Family::Winding;
}

QString familyName(Family family)
{
    switch (family) {
    case Family::Winding: return QStringLiteral("winding");
    case Family::Contact: return QStringLiteral("contact");
    case Family::Ratio: return QStringLiteral("ratio");
    case Family::Cable: return QStringLiteral("cable");
    }
    return QString();
}

std::optional<Family> familyFromName(const QString &name)
{
    for (Family family : {Family::Winding, Family::Contact, Family::Ratio, Family::Cable}) {
        if (familyName(family) == name)
            return family;
    }
    return std::nullopt;
}

} // namespace sim
