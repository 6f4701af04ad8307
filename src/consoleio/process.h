// Process start, screen clearing and the normal stop.
#pragma once

namespace orv {

// Connects the standard streams, masks the floating-point exceptions and
// installs the Fatal-signal handler.
void start_process();

// Writes out pending output, then runs cmd through the command processor.
void clear_screen(const char* cmd);

// Ends the process with status 0; pending output is written at exit.
[[noreturn]] void stop();

// Installs the Fatal-signal handler for the ten fatal signals.
void install_fatal_signals();

} // namespace orv
