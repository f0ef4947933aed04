// SPDX-License-Identifier: MIT
#include "protocol/ModelTable.h"

#include <array>
#include <utility>

std::optional<MeterKind> familyForModel(const QByteArray &reply)
{
    static const std::array<std::pair<const char *, MeterKind>, 7> table{{
        {"[KX-W1]", MeterKind::Winding},
        {"[KX-W2]", MeterKind::Winding},
        {"[KX-W3]", MeterKind::Winding},
        {"[KX-W4]", MeterKind::Winding},
        {"[KX-C1]", MeterKind::Contact},
        {"KXT1", MeterKind::Ratio},
        {"[KX-R1]", MeterKind::Cable},
    }};
    for (const auto &[model, kind] : table) {
        if (reply == model)
            return kind;
    }
    return std::nullopt;
}

MeterKind familyOrWinding(const QByteArray &reply)
{
    return familyForModel(reply).value_or(MeterKind::Winding);
}
