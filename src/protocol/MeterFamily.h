// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

// The meter family, as the identification reply tells it.
enum class MeterFamily : qint16 {
    Winding = 0,
    Contact = 1,
    Ratio = 2, // shown and read like the contact meter
    Cable = 3,
};
