// SPDX-License-Identifier: MIT
#pragma once

#include "link/MeterLoad.h"

#include <QByteArray>
#include <functional>

class SerialLink;
class FileList;
class MeterFiles;
class UserDialogs;

// What every meter window does while its meter loads: the rows, the progress
// label, the records in their rows and the boxes for records that failed.
namespace MeterStartup {

// Opens the window's port on the COM number the detection window found.
void openPort(SerialLink &port, int number);

// "7 / 100" in the detection window's progress label, repainted at once.
void showProgress(const std::function<void(const QString &)> &progress, int fileNumber, int fileCount);

// Shows the slot's texts in its row, as `files` holds them after a record,
// or says why the record could not be read.
MeterLoad::Step showRecord(FileList &list, const MeterFiles &files, int row, UserDialogs &dialogs);

// A record exchange that did not give a reply: "Communication Error" when
// none came in time, "Error downloading the file" when one came but cannot be
// trusted; either box lets the user stop the load. A lost meter gives one
// box and stops it.
MeterLoad::Step recordFailed(ExchangeOutcome outcome, UserDialogs &dialogs);

// A window's part in the load: rows for the count, the progress before each
// record, every record decoded into the window's files and shown in its row. Hooks take the winding meter's
// heat-run stages.
class ListLoad : public MeterLoad::Listener
{
public:
    ListLoad(FileList &list, MeterFiles &files, UserDialogs &dialogs, std::function<void(const QString &)> progress);

    std::function<void(int count)> onHeatRunCount;
    std::function<void(const QList<std::optional<QString>> &names)> onHeatRunNames;

    void heatRunCountRead(int count) override;
    void heatRunNamesRead(const QList<std::optional<QString>> &names) override;
    void fileCountRead(int count, const RecordFormat &format) override;
    bool beforeRecord(int index, int count) override;
    MeterLoad::Step recordFetched(int index, ExchangeOutcome outcome, const QByteArray &reply) override;

    // Runs the family's load. When it was stopped, the rows not read can no
    // longer be ticked: nothing was read for them.
    MeterLoad::Result run(MeterFamily family, Exchange &exchange, const StopRequest &stop);

    bool countRead() const { return m_countRead; }
    int fileCount() const { return m_fileCount; }
    const RecordFormat &format() const { return m_format; }

private:
    FileList &m_list;
    MeterFiles &m_files;
    UserDialogs &m_dialogs;
    std::function<void(const QString &)> m_progress;
    bool m_countRead = false;
    int m_fileCount = 0;
    RecordFormat m_format;
};

} // namespace MeterStartup
