// SPDX-License-Identifier: MIT
#include "ui/FamilyWindows.h"
#include "ListMeasures.h"

#include "ScriptedDialogs.h"
#include "BenchReport.h"
#include "FamilyControls.h"
#include "MeterEmulator.h"
#include "MonotonicClock.h"

#include "protocol/RecordCells.h"
#include "protocol/FamilyProtocol.h"
#include "protocol/RecordFormat.h"
#include "ui/FileRows.h"
#include "protocol/MessageTexts.h"
#include "protocol/MeterFiles.h"
#include "ui/MeterStartup.h"
#include "ui/UserDialogs.h"
#include "ui/filelist/FileList.h"

#include <QFileInfo>
#include <QLocale>
#include <QScrollBar>
#include <QWidget>

namespace ListMeasures {

namespace {

double msSince(qint64 startNs)
{
    return double(sim::monotonicNs() - startNs) / 1e6;
}

// What the window's load decodes from the reply of one slot.
RecordCells decodedRecord(const sim::MeterEmulator &meter, MeterFamily family, int slot, const QLocale &locale)
{
    const RecordFormat format = familyProtocol(family).recordFormat(meter.fileCount());
    const bool shortRecords = family == MeterFamily::Winding && windingUsesShortRecords(meter.fileCount());
    return format.decode(shortRecords ? meter.shortRecordBytes(slot) : meter.recordBytes(slot), locale);
}

int countDifferingRows(const FileList &built, const FileList &loaded)
{
    int differing = 0;
    for (int row = 0; row < loaded.fileCount(); ++row) {
        bool same = built.isCheckEnabled(row) == loaded.isCheckEnabled(row)
                    && built.checkCaption(row) == loaded.checkCaption(row);
        for (int column = 0; same && column < loaded.columnCount(); ++column)
            same = built.cellText(row, column) == loaded.cellText(row, column);
        if (!same)
            ++differing;
    }
    return differing + (built.fileCount() == loaded.fileCount() ? 0 : 1);
}

} // namespace

double timeListBuild(const MeterWindowContext &context, const sim::MeterEmulator &meter, const FileList &loaded,
                     int repeats, int *differingRows)
{
    QList<double> times;
    *differingRows = 0;
    const QLocale locale;
    for (int repeat = 0; repeat < repeats; ++repeat) {
        const std::unique_ptr<MeterWindow> window = createFamilyWindow(context);
        FileList *list = controlsOf(window.get()).list;
        if (!list)
            return -1;
        const qint64 start = sim::monotonicNs();
        // As the window's load makes them.
        MeterFiles files(familyProtocol(context.state.family).columns(), meter.fileCount(), locale);
        FileRows::createForCount(*list, meter.fileCount());
        for (int slot = 0; slot < meter.fileCount(); ++slot) {
            files.setRecord(slot, decodedRecord(meter, context.state.family, slot, locale));
            MeterStartup::showRecord(*list, files, slot, context.dialogs);
        }
        list->setupScroll();
        times << msSince(start);
        *differingRows = std::max(*differingRows, countDifferingRows(*list, loaded));
    }
    return bench::median(times);
}

double timeExportAll(const FamilyControls &window, ScriptedDialogs &dialogs, int repeats)
{
    window.selectAll();
    QList<double> times;
    for (int repeat = 0; repeat < repeats; ++repeat) {
        dialogs.boxes.clear();
        const qint64 start = sim::monotonicNs();
        window.exportTicked();
        times << msSince(start);
        if (dialogs.boxTexts() != QStringList{programTitle() + QStringLiteral(": ") + MessageTexts::filesDownloaded()}
            || !QFileInfo(dialogs.everyLaterSave).isFile())
            return -1;
    }
    return bench::median(times);
}

double timeScrollStep(FileList &list, int samples)
{
    QScrollBar *bar = list.scrollBar();
    QWidget *viewport = list.viewport();
    if (!list.isScrollBarShown() || !viewport->isVisible() || bar->maximum() < 1 || samples < 1)
        return -1;
    QList<double> times;
    for (int sample = 0; sample < samples; ++sample) {
        const int from = int(qint64(bar->maximum() - 1) * sample / samples);
        bar->setValue(from);
        viewport->repaint();
        const qint64 start = sim::monotonicNs();
        bar->setValue(from + 1);
        viewport->repaint();
        times << msSince(start);
    }
    bar->setValue(0);
    return bench::median(times);
}

} // namespace ListMeasures
