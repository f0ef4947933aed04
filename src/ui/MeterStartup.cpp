// SPDX-License-Identifier: MIT
#include "ui/MeterStartup.h"
#include "protocol/MessageTexts.h"

#include "link/SerialLink.h"
#include "protocol/MeterFiles.h"
#include "protocol/RecordCells.h"
#include "ui/FileRows.h"
#include "ui/UserDialogs.h"
#include "ui/filelist/FileList.h"

#include <QCoreApplication>
#include <QLocale>

namespace MeterStartup {

void openPort(SerialLink &port, int number)
{
    port.setPortNumber(number);
    if (!port.isOpen())
        port.open(); // a port that failed to open shows up as a silent meter
}

void showProgress(const std::function<void(const QString &)> &progress, int fileNumber, int fileCount)
{
    if (progress)
        progress(QStringLiteral("%1 / %2").arg(fileNumber).arg(fileCount));
    QCoreApplication::processEvents();
}

MeterLoad::Step applyRecord(FileList &list, int row, const RecordCells &record, UserDialogs &dialogs)
{
    if (record.status == RecordCells::Status::BadEndMark)
        return dialogs.loadFailure(MessageTexts::errorTitle(), MessageTexts::downloadFailed())
                       == UserDialogs::LoadChoice::Stop
                   ? MeterLoad::Step::Stop
                   : MeterLoad::Step::GoOn;
    for (const auto &[column, text] : record.cells)
        list.setCellText(row, column, text);
    if (record.status == RecordCells::Status::EmptySlot)
        list.setCheckEnabled(row, false);
    return MeterLoad::Step::GoOn;
}

MeterLoad::Step recordFailed(ExchangeOutcome outcome, UserDialogs &dialogs)
{
    if (outcome == ExchangeOutcome::Lost) {
        // Every later request would fail the same way: one box, not one per file.
        dialogs.critical(MessageTexts::errorTitle(), MeterLoad::failureText(outcome));
        return MeterLoad::Step::Stop;
    }
    return dialogs.loadFailure(MessageTexts::errorTitle(), MeterLoad::failureText(outcome))
                   == UserDialogs::LoadChoice::Stop
               ? MeterLoad::Step::Stop
               : MeterLoad::Step::GoOn;
}

ListLoad::ListLoad(FileList &list, MeterFiles &files, UserDialogs &dialogs,
                   std::function<void(const QString &)> progress)
    : m_list(list)
    , m_files(files)
    , m_dialogs(dialogs)
    , m_progress(std::move(progress))
    , m_format(contactRecordFormat())
{
}

void ListLoad::heatRunCountRead(int count)
{
    if (onHeatRunCount)
        onHeatRunCount(count);
}

void ListLoad::heatRunNamesRead(const QList<std::optional<QString>> &names)
{
    if (onHeatRunNames)
        onHeatRunNames(names);
}

void ListLoad::fileCountRead(int count, const RecordFormat &format)
{
    m_countRead = true;
    m_fileCount = count;
    m_format = format;
    m_files.reset(count);
    FileRows::createForCount(m_list, count);
}

bool ListLoad::beforeRecord(int index, int count)
{
    showProgress(m_progress, index + 1, count);
    return true;
}

MeterLoad::Step ListLoad::recordFetched(int index, ExchangeOutcome outcome, const QByteArray &reply)
{
    if (outcome != ExchangeOutcome::Reply) {
        m_files.setFailed(index, MeterLoad::failureText(outcome));
        return recordFailed(outcome, m_dialogs);
    }
    const RecordCells record = m_format.decode(reply, m_files.locale());
    m_files.setRecord(index, record);
    return applyRecord(m_list, index, record, m_dialogs);
}

MeterLoad::Result ListLoad::run(MeterFamily family, Exchange &exchange, const StopRequest &stop)
{
    const MeterLoad::Result result = MeterLoad::load(family, exchange, stop, *this);
    if (result.end == MeterLoad::End::Stopped) {
        for (int unread = result.stoppedAt + 1; unread < m_fileCount; ++unread)
            m_list.setCheckEnabled(unread, false);
    }
    return result;
}

} // namespace MeterStartup
