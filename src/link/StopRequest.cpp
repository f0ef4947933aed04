// SPDX-License-Identifier: MIT
#include "link/StopRequest.h"

StopRequest &StopRequest::instance()
{
    static StopRequest shutdown;
    return shutdown;
}

bool StopRequest::isRequested()
{
    return instance().m_requested;
}

void StopRequest::request()
{
    StopRequest &self = instance();
    if (self.m_requested)
        return;
    self.m_requested = true;
    emit self.requested();
}

void StopRequest::resetForTests()
{
    instance().m_requested = false;
}
