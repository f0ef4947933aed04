// SPDX-License-Identifier: MIT
#pragma once

#include "link/Exchange.h"

#include <QByteArray>
#include <functional>
#include <optional>

class SerialLink;
class FileList;
class StopRequest;
class UserDialogs;
struct RecordCells;

// Pieces every meter window's start-up and record fetch share.
namespace MeterStartup {

// Opens the window's port on the COM number the detection window found.
void openPort(SerialLink &port, int number);

struct Count
{
    ExchangeOutcome outcome = ExchangeOutcome::TimedOut;
    int value = 0;
    bool ok() const { return outcome == ExchangeOutcome::Reply; }
};

// A count request ("{01}", "{03}"): awaited at 4 bytes and read once the
// closing "]" is in (or at the time-out); the count is the decimal number in
// bytes firstDigit to lastDigit. A count field that is not a number is handled
// like no answer at all: the outcome is TimedOut.
Count requestCount(Exchange &exchange, const QByteArray &request, int firstDigit, int lastDigit);

// A count request of a window's start-up. Without a usable count the start-up
// cannot go on: the "Fatal Error" box says `failure` (nothing is said when the
// user ended the program during the wait) and the result is empty.
std::optional<int> requestStartupCount(Exchange &exchange, const QByteArray &request, int firstDigit, int lastDigit,
                                       UserDialogs &dialogs, const QString &failure);

// "7 / 100" in the detection window's progress label, repainted at once.
void showProgress(const std::function<void(const QString &)> &progress, int fileNumber, int fileCount);

// How a record fetch during the load ended for the load as a whole.
enum class LoadStep { GoOn, Stop };

enum class LoadEnd {
    Completed, // every slot was fetched (some may have failed)
    Stopped,   // the user stopped the load, or the meter was lost
    Ended,     // the user ended the program
};

// Fetches every slot in order, "1 / n" to "n / n" in the progress label
// before each, until a fetch says Stop. The rows not fetched then can no
// longer be ticked: nothing was read for them.
LoadEnd fetchEveryRecord(FileList &list, const std::function<void(const QString &)> &progress,
                         const StopRequest &stop, const std::function<LoadStep(int index)> &fetchRecord);

// Writes a decoded record into its row, or says why it could not.
LoadStep applyRecord(FileList &list, int row, const RecordCells &record, UserDialogs &dialogs);

// The standard record exchange: no events are handled while it waits. A reply
// that did not come in time gives "Communication Error", one that came but
// cannot be trusted "Error downloading the file"; either box lets the user
// stop the load. A lost meter gives one box and stops it.
struct RecordReply
{
    std::optional<QByteArray> reply;
    LoadStep step = LoadStep::GoOn;
};
RecordReply fetchRecordReply(Exchange &exchange, const QByteArray &request, const ReplyRule &rule,
                             UserDialogs &dialogs);

} // namespace MeterStartup
