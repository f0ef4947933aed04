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

MeterLoad::Step showRecord(FileList &list, const MeterFiles &files, int row, UserDialogs &dialogs)
{
    if (files.state(row) == MeterFiles::State::Failed)
        return dialogs.loadFailure(MessageTexts::errorTitle(), files.failure(row)) == UserDialogs::LoadChoice::Stop
                   ? MeterLoad::Step::Stop
                   : MeterLoad::Step::GoOn;
    const QStringList labels = files.labels(row);
    for (int column = 0; column < labels.size(); ++column) {
        if (list.cellText(row, column) != labels[column])
            list.setCellText(row, column, labels[column]);
    }
    const bool empty = files.state(row) == MeterFiles::State::Empty;
    if (empty)
        list.setCheckEnabled(row, false);
    list.setFileState(row, empty ? FileListModel::FileState::Empty : FileListModel::FileState::Read);
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
    m_files.setReply(index, reply, m_format);
    return showRecord(m_list, m_files, index, m_dialogs);
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
