// SPDX-License-Identifier: MIT
#pragma once

#include <sys/fsuid.h>
#include <sys/types.h>

// File access of this thread as an unprivileged user and group, for tests
// that run as root: root's right to open anything is set aside too. Only the
// file-system identity changes, so nothing else about the test process does.
class ActingAsNobody
{
public:
    static constexpr uid_t nobody = 65534;
    static constexpr gid_t nogroup = 65534;

    ActingAsNobody()
        : m_previousGroup(gid_t(setfsgid(nogroup)))
        , m_previousUser(uid_t(setfsuid(nobody)))
    {
    }
    ~ActingAsNobody()
    {
        setfsuid(m_previousUser);
        setfsgid(m_previousGroup);
    }
    ActingAsNobody(const ActingAsNobody &) = delete;
    ActingAsNobody &operator=(const ActingAsNobody &) = delete;

private:
    gid_t m_previousGroup;
    uid_t m_previousUser;
};
