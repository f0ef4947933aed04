// SPDX-License-Identifier: MIT
#include "app/MeterWindow.h"

#include "link/QtSerialLink.h"
#include "windows/cable/frmCABLE_RM.h"
#include "windows/contact/frmCRM.h"
#include "windows/winding/frmWRM_Temperature.h"

std::unique_ptr<MeterWindow> createFamilyWindow(const MeterWindowContext &context)
{
    switch (context.state.MeterFamily) {
    case MeterKind::Contact:
        return create_frmCRM(context);
    case MeterKind::Ratio:
        return create_frmTRM(context);
    case MeterKind::Cable:
        return create_frmCABLE_RM(context);
    case MeterKind::Winding:
        break;
    }
    return std::make_unique<frmWRM_Temperature>(context);
}

std::unique_ptr<SerialLink> createSerialPort(qint64 readBufferSize)
{
    return std::make_unique<QtSerialLink>(readBufferSize);
}
