// SPDX-License-Identifier: MIT
#include "link/InterruptSignals.h"

#include "link/StopRequest.h"

#include <QMetaObject>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

StopRequest *stopToRequest = nullptr;

#ifdef Q_OS_WIN

BOOL WINAPI onConsoleControl(DWORD)
{
    // Runs on a thread of its own: a queued call reaches the stop request on
    // the program's thread.
    QMetaObject::invokeMethod(stopToRequest, &StopRequest::request, Qt::QueuedConnection);
    return TRUE;
}

#else

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    // Only async-signal-safe calls here: the event loop reads the byte.
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

#endif

} // namespace

void stopOnInterrupt(StopRequest &stop)
{
    stopToRequest = &stop;
#ifdef Q_OS_WIN
    SetConsoleCtrlHandler(onConsoleControl, TRUE);
#else
    if (::pipe(signalPipe) != 0)
        return;
    for (const int fd : signalPipe)
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    ::fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &stop);
    QObject::connect(notifier, &QSocketNotifier::activated, &stop, [&stop] {
        char byte = 0;
        [[maybe_unused]] const ssize_t got = ::read(signalPipe[0], &byte, 1);
        stop.request();
    });
    struct sigaction action
    {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
#endif
}
