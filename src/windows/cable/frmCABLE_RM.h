// SPDX-License-Identifier: MIT
#pragma once

#include "windows/ListMeterWindow.h"

// The cable resistance meter's window.
ListWindowDesign cableWindowDesign();

std::unique_ptr<ListMeterWindow> create_frmCABLE_RM(const MeterWindowContext &context);
