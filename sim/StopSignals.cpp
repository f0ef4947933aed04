// SPDX-License-Identifier: MIT
#include "StopSignals.h"

#include <csignal>
#include <initializer_list>
#include <fcntl.h>
#include <unistd.h>

namespace sim {

namespace {

int writeEnd = -1;

extern "C" void onStopSignal(int)
{
    const char byte = 's';
    [[maybe_unused]] const ssize_t written = write(writeEnd, &byte, 1);
}

} // namespace

int installStopSignals()
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    for (int fd : fds) {
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    writeEnd = fds[1];
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return fds[0];
}

} // namespace sim
