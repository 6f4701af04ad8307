// The German words for a point's status, as the calculator warns of it.
#pragma once
#include <cstdint>

namespace orv {

// The calculator's warning for status 1 to 4, "nicht unterhalb der Bresche"
// for 5, "" for 0 and any other status; without leading blanks.
const char* status_text(int32_t st);

} // namespace orv
