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

    // Creates `folder` if needed and replaces any earlier link of that name.
    bool publish(const QString &folder, int number, const QString &device, QString *error);
    void withdraw();

    QString path() const { return m_path; }

private:
    QString m_path;
    QString m_target;
};

} // namespace sim
