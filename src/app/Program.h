// SPDX-License-Identifier: MIT
#pragma once

// The program's entry routine: detection window first, then the family window.
int runProgram();
