#pragma once

#include "link/Exchange.h"

#include <QByteArray>
#include <functional>
#include <optional>

class SerialLink;
class FileList;
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

// Fetches every slot in order, "1 / n" to "n / n" in the progress label
// before each. Returns false when the user ended the program meanwhile.
bool fetchEveryRecord(int fileCount, const std::function<void(const QString &)> &progress,
                      const std::function<void(int index)> &fetchRecord);

// Writes a decoded record into its row, or says why it could not.
void applyRecord(FileList &list, int row, const RecordCells &record, UserDialogs &dialogs);

// The standard record exchange: no events are handled while it waits. Shows
// "Communication Error" when the meter does not answer in time.
std::optional<QByteArray> fetchRecordReply(Exchange &exchange, const QByteArray &request, const ReplyRule &rule,
                                           UserDialogs &dialogs);

} // namespace MeterStartup
