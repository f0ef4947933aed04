// SPDX-License-Identifier: MIT
#pragma once

#include "ui/FileListWindow.h"

// The contact resistance meter's window and the ratio meter's:
// one design, told apart only by the caption of the file frame.
FileListWindowDesign contactWindowDesign(MeterFamily kind);
std::unique_ptr<FileListWindow> createRatioMeterWindow(const MeterWindowContext &context);
