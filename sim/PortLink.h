// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace sim {

// The symbolic link COM<n> -> device that makes the program find the
// simulator under a COM number. Removed again on destruction, but only while
// it still points to our device (another simulator may have taken the name).
class PortLink
{
public:
    PortLink() = default;
    PortLink(const PortLink &) = delete;
    PortLink &operator=(const PortLink &) = delete;
    ~PortLink();

    // Creates `folder` if needed and the link COM<number> in it. An earlier
    // link of that name is replaced only when it is a simulator's leftover (a
    // pseudo-terminal that is gone); anything else there is refused.
    bool publish(const QString &folder, int number, const QString &device, QString *error);
    // Why the link at `path` must not be replaced; empty when it may.
    static QString whyNotReplaceable(const QString &path);
    void withdraw();

    QString path() const { return m_path; }

private:
    QString m_path;
    QString m_target;
};

} // namespace sim
