#pragma once

#include "app/MeterWindow.h"

// Stands in for a family window that is not built yet: it carries the
// family's window name and the title every meter window has.
class PlaceholderWindow : public MeterWindow
{
    Q_OBJECT
public:
    explicit PlaceholderWindow(const MeterWindowContext &context);
    MeterKind kind() const override { return m_kind; }
    void Form_Load() override;

private:
    MeterKind m_kind;
    QString m_title;
};
