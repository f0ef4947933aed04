// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/MeterKind.h"

#include <QByteArray>
#include <optional>

// The identification replies the program knows. The comparison is with the
// whole reply, byte for byte and case-sensitive: a known reply followed by a
// line end is not that model.
std::optional<MeterKind> familyForModel(const QByteArray &reply);

// What the detection window stores: the family of a known reply, otherwise
// the winding family (the initial value), whose window then carries the reply
// in its title.
MeterKind familyOrWinding(const QByteArray &reply);
