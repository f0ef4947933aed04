// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QtGlobal>
#include <memory>

// A window's control, found the way assistive tools and independent checks
// find it: by its objectName(). A missing control ends the test with its name
// rather than with a null pointer somewhere later.
template <class T>
T *childNamed(const QObject *root, const QString &name)
{
    T *child = root ? root->findChild<T *>(name) : nullptr;
    if (!child) {
        const QByteArray rootName = root ? root->objectName().toUtf8() : QByteArray("(null)");
        qFatal("No %s named \"%s\" under \"%s\"", T::staticMetaObject.className(), qPrintable(name),
               rootName.constData());
    }
    return child;
}

template <class T>
T *childNamed(const QObject *root, const char *name)
{
    return childNamed<T>(root, QString::fromLatin1(name));
}

template <class T, class Root>
T *childNamed(const std::unique_ptr<Root> &root, const char *name)
{
    return childNamed<T>(root.get(), QString::fromLatin1(name));
}
