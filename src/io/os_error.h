// German words for the errors of the operating system that a user may meet.
#pragma once
#include <string>

namespace orv::io {

// A short German description of errno value e, the same for every tool and
// every output.
std::string os_error(int e);

// Whether a file was being read or written when an error was met.
enum class use { read, write };

// The same, said for the way the file was used: EACCES and EPERM are
// "keine Leserechte" or "keine Schreibrechte"; ENOENT while writing names
// the missing folder, never the file that is yet to be made.
std::string os_error(int e, use a);

} // namespace orv::io

namespace orv::io {

// Why path cannot be opened for reading, as os_error(e, use::read) says
// it ("keine Leserechte"); empty when it can. Opens without blocking, so a
// pipe is not waited on, and closes at once.
std::string read_problem(const std::string& path);

} // namespace orv::io
