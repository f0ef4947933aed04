#include "windows/MeterStartup.h"

#include "app/Shutdown.h"
#include "app/UserDialogs.h"
#include "link/SerialLink.h"
#include "windows/RecordCells.h"
#include "windows/ReplyFields.h"
#include "windows/filelist/FileList.h"

#include <QCoreApplication>

namespace MeterStartup {

void openPort(SerialLink &port, int number)
{
    port.setPortNumber(number);
    if (!port.isOpen())
        port.open(); // a port that failed to open shows up as a silent meter
}

Count requestCount(Exchange &exchange, const QByteArray &request, int firstDigit, int lastDigit)
{
    QByteArray reply;
    Count count;
    // The reply is "[", the digits and "]". Reading on to that "]" keeps it
    // out of the next reply: a byte still on the line when the first record
    // request is sent would miss the flush and shift every field of that record.
    count.outcome = exchange.request(request, ReplyRule{4, lastDigit, true}, WaitEvents::Handled, &reply);
    if (count.outcome != ExchangeOutcome::Reply)
        return count;
    const std::optional<int> value = ReplyFields::decimal(reply, firstDigit, lastDigit);
    if (!value) {
        count.outcome = ExchangeOutcome::TimedOut;
        return count;
    }
    count.value = *value;
    return count;
}

std::optional<int> requestStartupCount(Exchange &exchange, const QByteArray &request, int firstDigit, int lastDigit,
                                       UserDialogs &dialogs, const QString &failure)
{
    const Count count = requestCount(exchange, request, firstDigit, lastDigit);
    if (count.outcome == ExchangeOutcome::Ended)
        return std::nullopt;
    if (!count.ok()) {
        dialogs.critical(QStringLiteral("Fatal Error"), failure);
        return std::nullopt;
    }
    return count.value;
}

void showProgress(const std::function<void(const QString &)> &progress, int fileNumber, int fileCount)
{
    if (progress)
        progress(QStringLiteral("%1 / %2").arg(fileNumber).arg(fileCount));
    QCoreApplication::processEvents();
}

bool fetchEveryRecord(int fileCount, const std::function<void(const QString &)> &progress,
                      const std::function<void(int index)> &fetchRecord)
{
    for (int index = 0; index < fileCount; ++index) {
        showProgress(progress, index + 1, fileCount);
        if (Shutdown::isRequested())
            return false;
        fetchRecord(index);
    }
    return true;
}

void applyRecord(FileList &list, int row, const RecordCells &record, UserDialogs &dialogs)
{
    if (record.status == RecordCells::Status::BadEndMark) {
        dialogs.critical(QStringLiteral("Error"), QStringLiteral("Error downloading the file"));
        return;
    }
    for (const auto &[column, text] : record.cells)
        list.setCellText(row, column, text);
    if (record.status == RecordCells::Status::EmptySlot)
        list.setCheckEnabled(row, false);
}

std::optional<QByteArray> fetchRecordReply(Exchange &exchange, const QByteArray &request, const ReplyRule &rule,
                                           UserDialogs &dialogs)
{
    QByteArray reply;
    if (exchange.request(request, rule, WaitEvents::Ignored, &reply) != ExchangeOutcome::Reply) {
        dialogs.critical(QStringLiteral("Error"), QStringLiteral("Communication Error"));
        return std::nullopt;
    }
    return reply;
}

} // namespace MeterStartup
