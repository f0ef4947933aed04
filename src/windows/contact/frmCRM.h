// SPDX-License-Identifier: MIT
#pragma once

#include "windows/ListMeterWindow.h"

// The contact resistance meter's window (frmCRM) and the ratio meter's
// (frmTRM): one design, told apart only by the caption of the file frame.
ListWindowDesign contactWindowDesign(MeterKind kind);

std::unique_ptr<ListMeterWindow> create_frmCRM(const MeterWindowContext &context);
std::unique_ptr<ListMeterWindow> create_frmTRM(const MeterWindowContext &context);
