// SPDX-License-Identifier: MIT
#pragma once

#include "ui/Accessibility.h"

#include <QAccessible>
#include <QList>
#include <QPointer>
#include <QVariant>

// Records, for as long as it lives, the events the program itself sends to
// screen readers (Qt drops them on a platform without a reader).
class AccessibleEvents
{
public:
    struct Event
    {
        QPointer<QObject> object;
        QAccessible::Event type;
        QVariant value; // the new value of a ValueChanged event
    };

    AccessibleEvents()
    {
        s_current = this;
        m_previous = Accessibility::setListener(&record);
    }
    ~AccessibleEvents()
    {
        Accessibility::setListener(m_previous);
        s_current = nullptr;
    }
    AccessibleEvents(const AccessibleEvents &) = delete;
    AccessibleEvents &operator=(const AccessibleEvents &) = delete;

    QList<Event> events;

    QVariantList values(const QObject *object) const
    {
        QVariantList found;
        for (const Event &event : events) {
            if (event.object == object && event.type == QAccessible::ValueChanged)
                found << event.value;
        }
        return found;
    }

private:
    static void record(QAccessibleEvent *event)
    {
        if (!s_current)
            return;
        Event seen{event->object(), event->type(), {}};
        if (event->type() == QAccessible::ValueChanged)
            seen.value = static_cast<QAccessibleValueChangeEvent *>(event)->value();
        s_current->events << seen;
    }

    static inline AccessibleEvents *s_current = nullptr;
    Accessibility::Listener m_previous = nullptr;
};
