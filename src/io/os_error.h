// German words for the errors of the operating system that a user may meet.
#pragma once
#include <string>

namespace orv::io {

// A short German description of errno value e, the same for every tool and
// every output.
std::string os_error(int e);

} // namespace orv::io
