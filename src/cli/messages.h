// German texts for point statuses, as the calculator words its warnings.
#pragma once
#include <cstdint>

namespace orv::cli {

// The calculator's message for status 1 to 4, "nicht unterhalb der Bresche"
// for 5, "" for 0; without the leading blanks of the calculator's block.
const char* status_message(int32_t st);

} // namespace orv::cli
