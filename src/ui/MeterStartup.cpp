// SPDX-License-Identifier: MIT
#include "ui/MeterStartup.h"
#include "ui/MessageTexts.h"

#include "link/StopRequest.h"
#include "ui/UserDialogs.h"
#include "link/SerialLink.h"
#include "protocol/RecordCells.h"
#include "protocol/ReplyFields.h"
#include "ui/filelist/FileList.h"

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
        dialogs.critical(MessageTexts::fatalErrorTitle(), failure);
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

LoadEnd fetchEveryRecord(FileList &list, const std::function<void(const QString &)> &progress,
                         const StopRequest &stop, const std::function<LoadStep(int index)> &fetchRecord)
{
    const int fileCount = list.fileCount();
    for (int index = 0; index < fileCount; ++index) {
        showProgress(progress, index + 1, fileCount);
        if (stop.isRequested())
            return LoadEnd::Ended;
        if (fetchRecord(index) == LoadStep::Stop) {
            if (stop.isRequested())
                return LoadEnd::Ended;
            for (int unread = index + 1; unread < fileCount; ++unread)
                list.setCheckEnabled(unread, false);
            return LoadEnd::Stopped;
        }
    }
    return LoadEnd::Completed;
}

LoadStep applyRecord(FileList &list, int row, const RecordCells &record, UserDialogs &dialogs)
{
    if (record.status == RecordCells::Status::BadEndMark)
        return dialogs.loadFailure(MessageTexts::errorTitle(), MessageTexts::downloadFailed())
                       == UserDialogs::LoadChoice::Stop
                   ? LoadStep::Stop
                   : LoadStep::GoOn;
    for (const auto &[column, text] : record.cells)
        list.setCellText(row, column, text);
    if (record.status == RecordCells::Status::EmptySlot)
        list.setCheckEnabled(row, false);
    return LoadStep::GoOn;
}

RecordReply fetchRecordReply(Exchange &exchange, const QByteArray &request, const ReplyRule &rule,
                             UserDialogs &dialogs)
{
    QByteArray reply;
    const auto failed = [&dialogs](const QString &text) {
        const bool stop = dialogs.loadFailure(MessageTexts::errorTitle(), text) == UserDialogs::LoadChoice::Stop;
        return RecordReply{std::nullopt, stop ? LoadStep::Stop : LoadStep::GoOn};
    };
    switch (exchange.request(request, rule, WaitEvents::Ignored, &reply)) {
    case ExchangeOutcome::Reply:
        return RecordReply{reply, LoadStep::GoOn};
    case ExchangeOutcome::Garbled:
        return failed(MessageTexts::downloadFailed());
    case ExchangeOutcome::Lost:
        // Every later request would fail the same way: one box, not one per file.
        dialogs.critical(MessageTexts::errorTitle(), MessageTexts::meterLost());
        return RecordReply{std::nullopt, LoadStep::Stop};
    case ExchangeOutcome::TimedOut:
    case ExchangeOutcome::Ended:
        break;
    }
    return failed(MessageTexts::communicationError());
}

} // namespace MeterStartup
