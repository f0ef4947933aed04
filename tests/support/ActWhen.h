// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

// The program's waits run inside the event loop, so a test acts the way a
// user does: from an event, once the window shows what it waits for.
class ActWhen : public QObject
{
public:
    ActWhen(std::function<bool()> condition, std::function<void()> action)
        : m_condition(std::move(condition)), m_action(std::move(action))
    {
        m_timer.callOnTimeout(this, [this] {
            if (!m_condition())
                return;
            m_timer.stop();
            acted = true;
            m_action();
        });
        m_timer.start(20);
    }

    bool acted = false;

private:
    std::function<bool()> m_condition;
    std::function<void()> m_action;
    QTimer m_timer;
};
