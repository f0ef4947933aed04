// SPDX-License-Identifier: MIT
#pragma once

#include <QAccessibleWidget>

class ClickLabel;

// Presents a ClickLabel to assistive tools as a link named by its text, with
// a press action.
class ClickLabelAccessible : public QAccessibleWidget
{
public:
    explicit ClickLabelAccessible(ClickLabel *label);

    QString text(QAccessible::Text t) const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;

    // Registers the interface with Qt's accessibility; safe to call repeatedly.
    static void install();

private:
    ClickLabel *label() const;
};
