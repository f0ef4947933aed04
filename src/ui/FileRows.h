// SPDX-License-Identifier: MIT
#pragma once

class FileList;

// Which rows of a meter window's list hold a file, and so can be ticked.
namespace FileRows {

// The design's two rows stand in the list before the meter has told its
// count, and stay after a start-up that failed: none of them is a file yet.
void holdDesignRows(FileList &list);

// Creates the rows for the meter's count; the rows of its files can be
// ticked, a design row beyond the count cannot.
void createForCount(FileList &list, int fileCount);

} // namespace FileRows
