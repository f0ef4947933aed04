// SPDX-License-Identifier: MIT
#include "ui/FamilyWindows.h"
#include "FakeDetection.h"

#include "FastTiming.h"

namespace {

constexpr int detectionTimeoutMs = 20000;

} // namespace

FakeDetection::FakeDetection(const QByteArray &identification)
{
    const PortFactory makePort = [identification](qint64) {
        auto port = std::make_unique<FakeSerialLink>();
        port->responder = [identification](const QByteArray &request) {
            return request == "{00}" ? QList<QByteArray>{identification} : QList<QByteArray>{};
        };
        return std::unique_ptr<SerialLink>(std::move(port));
    };
    splash = std::make_unique<DetectionDialog>(state, dialogs, stop, makePort, createFamilyWindow, fastTiming());
    m_finished = std::make_unique<QSignalSpy>(splash.get(), &QDialog::finished);
    splash->show();
}

bool FakeDetection::waitUntilClosed()
{
    return m_finished->count() > 0 || m_finished->wait(detectionTimeoutMs);
}
