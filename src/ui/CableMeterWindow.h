// SPDX-License-Identifier: MIT
#pragma once

#include "ui/FileListWindow.h"

// The cable resistance meter's window.
FileListWindowDesign cableWindowDesign();
