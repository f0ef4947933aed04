// SPDX-License-Identifier: MIT
#include "MeterHarness.h"

#include "app/SerialPorts.h"
#include "ui/FamilyWindows.h"

#include "FastTiming.h"

#include "ui/FileListWindow.h"
#include "ui/WindingMeterWindow.h"
#include "ui/filelist/FileList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QWidget>

int MeterHarness::openHandlesTo(const QString &device)
{
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QFileInfo &fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
        const QString target = fd.symLinkTarget();
        if (target == device || target.startsWith(device + QStringLiteral(" (")))
            ++count;
    }
    return count;
}

MeterHarness::MeterHarness(const QString &model, MeterFamily family, QStringList simArguments, Line line)
    : line(line)
    , simArguments(std::move(simArguments))
    , timing(line == Line::InMemory ? fastTiming() : MeterTiming{})
{
    state.model = model;
    state.family = family;
    state.port = 1;
}

MeterHarness::MeterHarness(QStringList simArguments, Line line)
    : MeterHarness(QString(), MeterFamily::Winding, std::move(simArguments), line)
{
}

MeterHarness::~MeterHarness()
{
    closeWindow();
}

bool MeterHarness::startMeter()
{
    if (line == Line::InMemory) {
        memory = std::make_unique<MemoryMeter>(simArguments);
        return memory->error().isEmpty();
    }
    sim = std::make_unique<SimProcess>(simArguments);
    if (!sim->start())
        return false;
    device = sim->device();
    return true;
}

PortFactory MeterHarness::ports()
{
    if (!memory)
        return serialPorts(stop);
    return [meter = memory.get()](qint64) { return meter->makePort(); };
}

void MeterHarness::createWindow()
{
    const MeterWindowContext context{state,
                                     dialogs,
                                     stop,
                                     ports(),
                                     [this](const QString &text) {
                                         progress << text;
                                         if (onProgress)
                                             onProgress(text);
                                     },
                                     timing};
    window = createFamilyWindow(context);
}

bool MeterHarness::load()
{
    if (!startMeter())
        return false;
    createWindow();
    window->load();
    return true;
}

void MeterHarness::unplug()
{
    if (memory)
        memory->unplug();
    else
        sim->stop();
}

QStringList MeterHarness::requests() const
{
    return memory ? memory->requests : sim->requests();
}

int MeterHarness::openPorts() const
{
    return memory ? memory->openPorts : openHandlesTo(device);
}

QString MeterHarness::writeDataFile(const QByteArray &contents)
{
    const QString path = files.filePath(QStringLiteral("meter.data"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(contents);
    return path;
}

bool MeterHarness::click(const QString &objectName)
{
    QWidget *control = window ? window->findChild<QWidget *>(objectName) : nullptr;
    if (!control || !control->isEnabled())
        return false;
    QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
    return true;
}

FileList &MeterHarness::list()
{
    if (auto *winding = this->winding())
        return winding->list();
    return dynamic_cast<FileListWindow &>(*window).list();
}

WindingMeterWindow *MeterHarness::winding()
{
    return dynamic_cast<WindingMeterWindow *>(window.get());
}
