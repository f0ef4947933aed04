// SPDX-License-Identifier: MIT
#include "link/StopRequest.h"

void StopRequest::request()
{
    if (m_requested)
        return;
    m_requested = true;
    emit requested();
}
