// SPDX-License-Identifier: MIT
#include "ui/filelist/ClickLabelAccessible.h"

#include "ui/filelist/ClickLabel.h"

namespace {

QAccessibleInterface *createForClickLabel(const QString &className, QObject *object)
{
    if (className != QLatin1String(ClickLabel::staticMetaObject.className()))
        return nullptr;
    auto *label = qobject_cast<ClickLabel *>(object);
    return label ? new ClickLabelAccessible(label) : nullptr;
}

} // namespace

ClickLabelAccessible::ClickLabelAccessible(ClickLabel *label)
    : QAccessibleWidget(label, QAccessible::Link)
{
}

QString ClickLabelAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name && label()->accessibleName().isEmpty())
        return label()->text();
    return QAccessibleWidget::text(t);
}

QStringList ClickLabelAccessible::actionNames() const
{
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
}

void ClickLabelAccessible::doAction(const QString &actionName)
{
    if (actionName == pressAction())
        label()->click();
    else
        QAccessibleWidget::doAction(actionName);
}

void ClickLabelAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(createForClickLabel);
        return true;
    }();
    Q_UNUSED(installed);
}

ClickLabel *ClickLabelAccessible::label() const
{
    return static_cast<ClickLabel *>(widget());
}
