#include "windows/MeterStartup.h"

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
    count.outcome = exchange.request(request, ReplyRule{4, lastDigit, false}, WaitEvents::Handled, &reply);
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

void showProgress(const std::function<void(const QString &)> &progress, int fileNumber, int fileCount)
{
    if (progress)
        progress(QStringLiteral("%1 / %2").arg(fileNumber).arg(fileCount));
    QCoreApplication::processEvents();
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
