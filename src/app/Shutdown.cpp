// SPDX-License-Identifier: MIT
#include "app/Shutdown.h"

Shutdown &Shutdown::instance()
{
    static Shutdown shutdown;
    return shutdown;
}

bool Shutdown::isRequested()
{
    return instance().m_requested;
}

void Shutdown::request()
{
    Shutdown &self = instance();
    if (self.m_requested)
        return;
    self.m_requested = true;
    emit self.requested();
}

void Shutdown::resetForTests()
{
    instance().m_requested = false;
}
