// Checking the slope of a map or profile against the tables.
#include "cli/grid_options.h"

#include "base/number_text.h"
#include "model/slope.h"
#include "model/status_text.h"

namespace orv::cli {

// A slope outside the classes gives status 3 or 4 at any distance.
maybe_problem check_slope(params& p, bool correct, std::string& note) {
    const std::optional<slope_fault> f = slope_outside(p);
    if (!f) return std::nullopt;
    const std::string fixed = "korrigierter Wert: S = " + write_real(f->corrected) + " %";
    if (!correct) {
        return problem{exit_bad_value, std::string(status_text(f->st)) +
                                           ": S = " + write_real(p.slp) + " % (" + fixed +
                                           "; mit --correct wird damit gerechnet)"};
    }
    note = std::string(status_text(f->st)) + ", " + fixed;
    p.slp = f->corrected;
    return std::nullopt;
}

} // namespace orv::cli
