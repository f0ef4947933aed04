// SPDX-License-Identifier: MIT
#include "ui/FamilyWindows.h"

#include "ui/CableMeterWindow.h"
#include "ui/ContactMeterWindow.h"
#include "ui/WindingMeterWindow.h"

const QList<FamilyWindow> &familyWindows()
{
    static const QList<FamilyWindow> windows{
        {MeterFamily::Winding,
         [](const MeterWindowContext &context) -> std::unique_ptr<MeterWindow> {
             return std::make_unique<WindingMeterWindow>(context);
         },
         WindingMeterWindow::textRooms},
        {MeterFamily::Contact,
         [](const MeterWindowContext &context) -> std::unique_ptr<MeterWindow> {
             return std::make_unique<FileListWindow>(context, contactWindowDesign(MeterFamily::Contact));
         },
         [](const QLocale &locale) { return FileListWindow::textRooms(contactWindowDesign(MeterFamily::Contact), locale); }},
        {MeterFamily::Ratio,
         [](const MeterWindowContext &context) -> std::unique_ptr<MeterWindow> {
             return std::make_unique<FileListWindow>(context, contactWindowDesign(MeterFamily::Ratio));
         },
         [](const QLocale &locale) { return FileListWindow::textRooms(contactWindowDesign(MeterFamily::Ratio), locale); }},
        {MeterFamily::Cable,
         [](const MeterWindowContext &context) -> std::unique_ptr<MeterWindow> {
             return std::make_unique<FileListWindow>(context, cableWindowDesign());
         },
         [](const QLocale &locale) { return FileListWindow::textRooms(cableWindowDesign(), locale); }},
    };
    return windows;
}

std::unique_ptr<MeterWindow> createFamilyWindow(const MeterWindowContext &context)
{
    for (const FamilyWindow &window : familyWindows()) {
        if (window.family == context.state.family)
            return window.create(context);
    }
    return familyWindows().constFirst().create(context);
}
