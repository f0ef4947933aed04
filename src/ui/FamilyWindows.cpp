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
         }},
        {MeterFamily::Contact,
         [](const MeterWindowContext &context) -> std::unique_ptr<MeterWindow> {
             return std::make_unique<FileListWindow>(context, contactWindowDesign(MeterFamily::Contact));
         }},
        {MeterFamily::Ratio,
         [](const MeterWindowContext &context) -> std::unique_ptr<MeterWindow> {
             return std::make_unique<FileListWindow>(context, contactWindowDesign(MeterFamily::Ratio));
         }},
        {MeterFamily::Cable,
         [](const MeterWindowContext &context) -> std::unique_ptr<MeterWindow> {
             return std::make_unique<FileListWindow>(context, cableWindowDesign());
         }},
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
