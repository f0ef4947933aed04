// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace sim {

// The meter families the simulator can play. They differ in which requests
// they answer and how their records are laid out.
enum class Family { Winding, Contact, Ratio, Cable };

// The family a real meter with this identification text belongs to; texts
// that name no known model are winding meters, as the program assumes too.
Family familyForModel(const QByteArray &model);

// "winding", "contact", "ratio", "cable".
QString familyName(Family family);
std::optional<Family> familyFromName(const QString &name);

} // namespace sim
