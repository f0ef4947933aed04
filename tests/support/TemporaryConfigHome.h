// SPDX-License-Identifier: MIT
#pragma once

#include <QTemporaryDir>
#include <QTest>

// A settings folder of the test's own (XDG_CONFIG_HOME), so that no test reads
// or writes the user's settings or COMn links. Held as a member of the test
// object, it is in place before the first test function runs.
class TemporaryConfigHome
{
public:
    TemporaryConfigHome()
    {
        if (!m_dir.isValid())
            qFatal("no temporary settings folder: %s", qPrintable(m_dir.errorString()));
        qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
    }

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};
