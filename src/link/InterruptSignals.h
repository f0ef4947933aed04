// SPDX-License-Identifier: MIT
#pragma once

class StopRequest;

// Ctrl-C (and, where the system has them, SIGTERM and SIGHUP) requests `stop`
// once the event loop runs, instead of killing the program in the middle of a
// file: waits that handle events end, and the program ends cleanly, closing
// its port (and so giving back the port's lock file).
// Call once, after the application object exists.
void stopOnInterrupt(StopRequest &stop);
