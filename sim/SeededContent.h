// SPDX-License-Identifier: MIT
#pragma once

#include "MeterContent.h"

#include <QList>

namespace sim {

// Plausible meter memory, the same for the same seed: varied names, values
// and range states, every measurement slot and every heat-run slot filled.
MeterContent seededContent(Family family, const QByteArray &model, int fileCount, int heatRunCount,
                           quint32 seed);

// Empties the given measurement slots and heat-run slots (0-based).
void markEmpty(MeterContent &content, const QList<int> &measurementSlots, const QList<int> &heatRunSlots);

} // namespace sim
