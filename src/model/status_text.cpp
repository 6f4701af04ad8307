// Status texts.
#include "model/status_text.h"

namespace orv {

const char* status_text(int32_t st) {
    switch (st) {
    case 1: return "Distanz von der Bresche zu klein";
    case 2: return "Distanz von der Bresche zu gross";
    case 3: return "Gefaelle zu klein";
    case 4: return "Gefaelle zu gross";
    case 5: return "nicht unterhalb der Bresche";
    default: return "";
    }
}

} // namespace orv
