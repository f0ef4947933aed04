// SPDX-License-Identifier: MIT
#include "ui/Accessibility.h"

#include "ui/MeterWindow.h"
#include "ui/PlainText.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QRegularExpression>

namespace {

// Orca and other readers report a progress bar's value as it changes.
class ProgressLabelAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit ProgressLabelAccessible(ProgressLabel *label)
        : QAccessibleWidget(label, QAccessible::ProgressBar)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return label()->text();
        return QAccessibleWidget::text(t);
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override { return label()->value(); }
    void setCurrentValue(const QVariant &) override {} // shown, not set by the user
    QVariant maximumValue() const override { return label()->maximum(); }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    ProgressLabel *label() const { return static_cast<ProgressLabel *>(widget()); }
};

// Readers speak a notification when it is shown; a label's own role is read
// only when the user walks to it.
class AnnouncedLabelAccessible : public QAccessibleWidget
{
public:
    explicit AnnouncedLabelAccessible(AnnouncedLabel *label)
        : QAccessibleWidget(label, QAccessible::Notification)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<QLabel *>(widget())->text().simplified();
        return QAccessibleWidget::text(t);
    }
};

Accessibility::Listener listener = nullptr;

QAccessibleInterface *programFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    if (className == QLatin1String("ProgressLabel"))
        return new ProgressLabelAccessible(static_cast<ProgressLabel *>(object));
    if (className == QLatin1String("AnnouncedLabel"))
        return new AnnouncedLabelAccessible(static_cast<AnnouncedLabel *>(object));
    // A plain QWidget is a "client" (AT-SPI "filler"); a meter window is the
    // application's window and is named by its title.
    if (className == QLatin1String("MeterWindow") && static_cast<QWidget *>(object)->isWindow())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    return nullptr;
}

} // namespace

namespace Accessibility {

void installFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(programFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void tell(QAccessibleEvent &event)
{
    if (listener)
        listener(&event);
    QAccessible::updateAccessibility(&event);
}

Listener setListener(Listener replacement)
{
    const Listener previous = listener;
    listener = replacement;
    return previous;
}

} // namespace Accessibility

ProgressLabel::ProgressLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    Accessibility::installFactory();
    setTextFormat(Qt::PlainText);
    setAccessibleName(QStringLiteral("Files read"));
}

void ProgressLabel::setProgressText(const QString &text)
{
    PlainText::setLabelText(this, text);
    static const QRegularExpression count(QStringLiteral("^(\\d+) / (\\d+)$"));
    const QRegularExpressionMatch match = count.match(text);
    if (!match.hasMatch())
        return;
    m_value = match.captured(1).toInt();
    m_maximum = match.captured(2).toInt();
    QAccessibleValueChangeEvent event(this, m_value);
    Accessibility::tell(event);
}

AnnouncedLabel::AnnouncedLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    Accessibility::installFactory();
}
