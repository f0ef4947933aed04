// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"
#include "app/Program.h"
#include "app/QtTranslations.h"

#include <QApplication>
#include <QLocale>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Read before QApplication exists, so that --help and --version need no display.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLineRequest request = readCommandLine(arguments);
    if (request.action != CommandLineRequest::Action::Run) {
        std::FILE *stream = request.action == CommandLineRequest::Action::Print ? stdout : stderr;
        std::fputs(request.text.toLocal8Bit().constData(), stream);
        return request.exitCode;
    }

    QApplication app(argc, argv);
    setUpApplicationIdentity();
    installQtTranslations(QLocale());
    return runProgram();
}
