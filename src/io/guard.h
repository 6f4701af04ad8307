// The process around a run: its standard descriptors, the signals that end
// it, and the temporary files and folders those signals must not leave.
#pragma once
#include <string>

namespace orv::io {

// Sets up the process; call first in main, before any other file is opened
// and before any thread starts:
// - opens /dev/null on any of descriptors 0, 1 and 2 that is closed, so no
//   file opened later takes their place;
// - ignores SIGXFSZ, so a file size limit fails the write with EFBIG;
// - blocks the terminating signals that were not ignored at start and starts
//   the thread that waits for them: it removes the run's temporary files and
//   ends the process by the same signal (a signal ignored at start stays so);
// - reads the test hooks ORV_TEST_HOLD (see hold) and ORV_TEST_NO_MEMORY=N
//   (the worker pool's task after N others fails as if memory ran out).
void guard_process();

// True when descriptor 1 was closed when the process started.
bool stdout_was_closed();

// With ORV_TEST_HOLD=STAGE or STAGE:MARKFILE in the environment at start,
// the first call with that stage creates MARKFILE (if named) and waits
// until a signal ends the process; otherwise returns at once.
void hold(const char* stage);

// Creates a fresh temporary file from the template name (six X followed by
// suffix_len bytes), tracked for removal; its descriptor, or -1 with errno.
int make_temp_file(std::string& name, int suffix_len);

// Creates a fresh temporary directory from the template name (ending in six
// X), tracked for removal with everything in it; false with errno.
bool make_temp_dir(std::string& name);

// Renames a temporary file to its final name and stops tracking it; 0 or
// the errno of the failure.
int rename_temp(const std::string& from, const std::string& to);

// Removes a temporary file or directory (with its contents) and stops
// tracking it.
void remove_temp(const std::string& name);

} // namespace orv::io
