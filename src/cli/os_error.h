// German words for the errors of the operating system that a user may meet.
#pragma once
#include <string>

namespace orv::cli {

// A short German description of errno value e.
std::string os_error(int e);

} // namespace orv::cli
