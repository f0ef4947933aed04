// SPDX-License-Identifier: MIT
#pragma once

#include "MeterContent.h"

#include <QString>

namespace sim {

// A data file fixes a simulated meter's memory exactly. Format, one setting
// per line (lines may end in LF or CR LF):
//
//   # comment                     lines starting with '#' and blank lines are skipped
//   family winding|contact|ratio|cable
//   model TEXT                    identification reply, e.g. [KX-C1]
//   files N                       count reported for measurement files
//   heat-run N                    count reported for heat-run-test files (winding)
//   record I BYTES                exact reply for measurement slot I (0-based);
//                                 winding: the long form, also giving the short form
//                                 (its first 26 bytes and "]")
//   short-record I BYTES          winding: exact short reply for slot I
//   heat-run-name S NAME          heat-run slot S (0-based, downloaded as {10 S+1}),
//                                 a 12-byte name
//   heat-run-file S TEXT          the content of heat-run slot S, \r\n between lines
//
// TEXT, NAME and BYTES are everything after the single blank that follows the
// keyword or index, with the escapes \\ \r \n \t \xHH (leading blanks count;
// write a trailing blank as \x20). A measurement slot without a record line, and
// a heat-run slot without a name line, answer as empty slots.
struct DataFileContent
{
    MeterContent content;
    bool hasFamily = false;
    bool hasModel = false;
    bool hasFiles = false;
    bool hasHeatRun = false;
};

// Parses `text` on top of `base` (which supplies what the file leaves out).
// On a malformed line returns false and sets *error to "line N: reason".
bool parseDataFile(const QByteArray &text, DataFileContent &result, QString *error);
bool loadDataFile(const QString &path, DataFileContent &result, QString *error);

// The data file that parses back to `content`.
QByteArray writeDataFile(const MeterContent &content);

} // namespace sim
