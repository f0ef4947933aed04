// SPDX-License-Identifier: MIT
#pragma once

namespace sim {

// Turns SIGINT, SIGTERM and SIGHUP into a readable file descriptor (a
// self-pipe), so the poll loop can end cleanly and remove the COM link.
// SIGPIPE is ignored. Returns -1 when the pipe cannot be made.
int installStopSignals();

} // namespace sim
