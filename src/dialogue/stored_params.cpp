// The calculator's Parameter set, kept from one calculation to the next.
#include "dialogue/dialogue.h"

namespace orv {

namespace {
params stored; // initial values come from the member initialisers
} // namespace

params& stored_params() {
    return stored;
}

} // namespace orv
