// SPDX-License-Identifier: MIT
#pragma once

// Fixed measures of the two-column file list, in twips. Every meter window
// uses the same rows and scroll rules; only the cells of a row differ.
namespace FileListLayout {

constexpr int firstRowTop = 240;         // Top of the first line in the panel
constexpr int rowPitch = 300;            // a row lies this far below the row two indices before it
constexpr int cellHeight = 255;
constexpr int scrollBarWidth = 285;
constexpr int scrollBarDrop = 120;       // the scroll bar starts this far below the viewport's top
constexpr int filesWithoutScrollBar = 40; // twenty lines of two files fit the viewport
constexpr int designRowCount = 2;        // rows 0 and 1 exist before any row is created
constexpr int maxFileCount = 32767;      // the meters report the count as a 16-bit signed number

// Top of row `row` in the panel: even rows form the left column, odd rows the right.
constexpr int rowTop(int row)
{
    return firstRowTop + rowPitch * (row / 2);
}

} // namespace FileListLayout
