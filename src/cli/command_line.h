// The command line of this process as a shell reads it back, for the
// documents that say how they were made.
#pragma once
#include <string>

namespace orv::cli {

// The command line, the program named "orvalis", each word quoted for a
// POSIX shell when it holds anything but plain characters.
std::string command_line();

} // namespace orv::cli
