// Storage of the Parameter set.
#include "model/params.h"

namespace orv {

namespace {
params stored; // initial values come from the member initialisers
} // namespace

// Returns the process-wide Parameter set.
params& stored_params() {
    return stored;
}

} // namespace orv
