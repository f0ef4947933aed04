// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

#include "app/BuildInfo.h"
#include "ui/LogoWidget.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace {

const char usageLine[] = "Usage: " KESTRIX_EXECUTABLE_NAME " [--help | --version]\n";

QString helpText()
{
    return QString::fromLatin1(usageLine)
           + QStringLiteral("Downloads the stored measurements of winding, contact, ratio and cable resistance\n"
                            "meters over a serial line. Started without arguments, it opens the meter\n"
                            "detection window.\n"
                            "\n"
                            "  -h, --help     Show this help and exit.\n"
                            "  -v, --version  Show the version and exit.\n");
}

} // namespace

CommandLineRequest readCommandLine(const QStringList &arguments)
{
    if (arguments.isEmpty())
        return {};
    if (arguments.size() == 1) {
        const QString &argument = arguments.front();
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h"))
            return {CommandLineRequest::Action::Print, helpText(), 0};
        if (argument == QLatin1String("--version") || argument == QLatin1String("-v"))
            return {CommandLineRequest::Action::Print,
                    QStringLiteral(KESTRIX_EXECUTABLE_NAME " " KESTRIX_VERSION "\n"), 0};
    }
    const QString problem = arguments.size() == 1
                                ? QStringLiteral("unexpected argument \"%1\"").arg(arguments.front())
                                : QStringLiteral("one argument at most");
    return {CommandLineRequest::Action::UsageError,
            QStringLiteral(KESTRIX_EXECUTABLE_NAME ": ") + problem + QLatin1Char('\n')
                + QString::fromLatin1(usageLine),
            2};
}

namespace {

// Earlier versions kept the settings file in a folder "Kestrix" beside the
// "kestrix" of the COMn links. The file is taken over once and left where it was.
void takeOverEarlierSettings()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    const QFileInfo now(QSettings().fileName());
    const QString before = QDir::cleanPath(now.absolutePath() + QStringLiteral("/../" KESTRIX_APP_NAME "/")
                                           + now.fileName());
    if (now.exists() || !QFileInfo::exists(before) || before == now.absoluteFilePath())
        return;
    QDir().mkpath(now.absolutePath());
    QFile::copy(before, now.absoluteFilePath());
#endif
}

} // namespace

void setUpApplicationIdentity()
{
    // The user's settings (the save dialogs' folders) are kept in the one
    // folder "kestrix", beside the COMn links.
    QCoreApplication::setOrganizationName(QStringLiteral(KESTRIX_EXECUTABLE_NAME));
    QCoreApplication::setApplicationName(QStringLiteral(KESTRIX_APP_NAME));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRIX_VERSION));
    // The desktop entry's name without ".desktop": Wayland's app id, and how
    // desktops find the entry's icon for the running program.
    QGuiApplication::setDesktopFileName(QStringLiteral(KESTRIX_APP_ID));
    QApplication::setWindowIcon(LogoWidget::icon());
    takeOverEarlierSettings();
}
