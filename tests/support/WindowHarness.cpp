// SPDX-License-Identifier: MIT
#include "WindowHarness.h"

#include <QFile>

WindowHarness::WindowHarness(const QString &model, MeterKind family, QStringList simArguments)
    : simArguments(std::move(simArguments))
{
    state.model = model;
    state.family = family;
    state.port = 1;
}

bool WindowHarness::load()
{
    sim = std::make_unique<SimProcess>(simArguments);
    if (!sim->start())
        return false;
    const MeterWindowContext context{state, dialogs, createSerialPort,
                                     [this](const QString &text) { progress << text; }};
    window = createFamilyWindow(context);
    window->load();
    return true;
}

QString WindowHarness::writeDataFile(const QByteArray &contents)
{
    const QString path = files.filePath(QStringLiteral("meter.data"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(contents);
    return path;
}
