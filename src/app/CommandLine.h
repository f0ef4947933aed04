// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

// The program reads no command line beyond --help and --version, which print
// and end it before any window exists. Any other argument is a mistake: the
// usage goes to standard error and the exit status is 2.
struct CommandLineRequest
{
    enum class Action {
        Run,        // no arguments: the detection window
        Print,      // `text` to standard output, then exit with `exitCode` (0)
        UsageError, // `text` to standard error, then exit with `exitCode` (2)
    };
    Action action = Action::Run;
    QString text;
    int exitCode = 0;
};

// `arguments` as the system passed them, without the program's own name.
CommandLineRequest readCommandLine(const QStringList &arguments);

// Name, version and desktop file name of the running program, for the
// desktop (window grouping, the taskbar's icon) and the About texts.
void setUpApplicationIdentity();
