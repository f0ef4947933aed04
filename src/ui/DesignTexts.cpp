// SPDX-License-Identifier: MIT
#include "ui/DesignTexts.h"

#include "protocol/FamilyProtocol.h"
#include "protocol/MessageTexts.h"
#include "ui/FamilyWindows.h"

#include <QLocale>

namespace {

using Kind = TextRoom::Kind;

// The detection window, which opens before any family window.
void detectionWindow(QList<TextRoom> &rooms)
{
    rooms.append({QStringLiteral("Kestrix"), 4485, 555, 24, true, Kind::Label});
    rooms.append({MessageTexts::supportAddress(), 1680, 195, 8.25, false, Kind::Label});
    rooms.append({QStringLiteral("9999 / 9999"), 1680, 195, 8.25, false, Kind::Label});
    rooms.append({QStringLiteral("COM Port"), 735, 255, 8.25, false, Kind::Label});
    rooms.append({MessageTexts::meterNotCommunicating(), 4575, 795, 9.75, true, Kind::WrappedLabel});
    for (const FamilyProtocol &family : familyProtocols()) {
        for (const QByteArray &model : family.models)
            rooms.append({MessageTexts::connectedTo() + QString::fromLatin1(model), 4935, 435, 9.75, true, Kind::Label});
    }
    rooms.append({QStringLiteral("&Exit"), 975, 375, 8.25, false, Kind::Button});
}

} // namespace

QList<TextRoom> designTextRooms(const QLocale &locale)
{
    QList<TextRoom> rooms;
    detectionWindow(rooms);
    for (const FamilyWindow &window : familyWindows())
        rooms += window.textRooms(locale);
    return rooms;
}
