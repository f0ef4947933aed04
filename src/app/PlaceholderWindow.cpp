#include "app/PlaceholderWindow.h"

namespace {

const char *windowNameFor(MeterKind kind)
{
    switch (kind) {
    case MeterKind::Winding: return "frmWRM_Temperature";
    case MeterKind::Contact: return "frmCRM";
    case MeterKind::Ratio: return "frmTRM";
    case MeterKind::Cable: return "frmCABLE_RM";
    }
    return "frmWRM_Temperature";
}

} // namespace

PlaceholderWindow::PlaceholderWindow(const MeterWindowContext &context)
    : m_kind(context.state.MeterFamily)
    , m_title(context.state.windowTitle())
{
    setObjectName(QString::fromLatin1(windowNameFor(m_kind)));
}

void PlaceholderWindow::Form_Load()
{
    setWindowTitle(m_title);
    resize(400, 200);
}
