// SPDX-License-Identifier: MIT
#pragma once

#include "ActWhen.h"

// What the fault tests share: the meter families, the boxes a fault ends
// with, and a window run with the checks of its rows.

#include "MeterHarness.h"
#include "ScriptedDialogs.h"
#include "ui/FileListWindow.h"
#include "ui/WindingMeterWindow.h"
#include "ui/filelist/FileList.h"

#include <QTimer>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace faults {

// One meter family as the fault tests drive it.
struct Family
{
    QString model;                 // the identification text the detection window stored
    MeterFamily kind;
    QString countRequest;          // the start-up request that gives the file count
    QString recordPrefix;          // how every record request begins
    QString countFailure;          // the "Fatal Error" text of the start-up
    int labelColumns;              // label cells per row
};

inline const QList<Family> &families()
{
    static const QList<Family> all{
        {"[KX-W1]", MeterFamily::Winding, "{03}", "{11", "Error Communication with Winding Resistance Meter", 7},
        {"[KX-C1]", MeterFamily::Contact, "{03}", "{11", "Error Communication with Winding Resistance Meter", 3},
        {"KXT1", MeterFamily::Ratio, "{03}", "{11", "Error Communication with Winding Resistance Meter", 3},
        {"[KX-R1]", MeterFamily::Cable, "{01}", "{10", "Error Communication with Cable Resistance Meter", 6},
    };
    return all;
}

using knownBoxes::communicationError;
using knownBoxes::downloadError;
using knownBoxes::meterLost;

// Blocks until the simulator's unsolicited start-up text is waiting on the
// line (or `msecs` pass), without reading it: the window must drop it itself.
inline bool waitUntilInputPending(const QString &device, int msecs)
{
    const int fd = ::open(device.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    pollfd watch{fd, POLLIN, 0};
    const bool pending = ::poll(&watch, 1, msecs) == 1 && (watch.revents & POLLIN);
    ::close(fd);
    return pending;
}

// A meter window of one family loaded against the simulator (in memory
// unless the line says otherwise), with the row checks every fault ends with.
class MeterRun : public MeterHarness
{
public:
    // The simulator plays the family's model unless the arguments say otherwise.
    MeterRun(const Family &family, const QStringList &simArguments, Line line = Line::InMemory)
        : MeterHarness(family.model, family.kind, QStringList{"--model", family.model} + simArguments, line)
        , family(family)
    {
    }

    // The window's own Exit button.
    bool pressExit() { return click(QStringLiteral("cmdExit")); }

    // True when no fetch has written the row: every label keeps its design
    // text and the file can still be ticked.
    bool rowUntouched(int row) { return rowTextsUntouched(row) && list().isCheckEnabled(row); }

    // True when every label of the row keeps its design text.
    bool rowTextsUntouched(int row)
    {
        for (int column = 0; column < family.labelColumns; ++column) {
            // The winding design leaves the first row's right-hand name blank.
            const bool blankInDesign = family.kind == MeterFamily::Winding && row == 1 && column == 0;
            if (list().cellText(row, column) != (blankInDesign ? QString() : QStringLiteral("  ---")))
                return false;
        }
        return true;
    }

    // True when a fetch filled the row from the meter's record.
    bool rowFilled(int row) { return list().cellText(row, 0) != QStringLiteral("  ---") && !rowUntouched(row); }

    Family family;
};

} // namespace faults
