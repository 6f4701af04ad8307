// Checking the slope of a map or profile against the tables.
#include "cli/grid_options.h"

#include "base/number_text.h"
#include "model/intensity.h"
#include "model/point.h"
#include "model/status_text.h"

namespace orv::cli {

// A slope outside the classes gives status 3 or 4 at any distance.
maybe_problem check_slope(params& p, bool correct, std::string& note) {
    params at = p;
    at.x1 = 100;
    at.y1 = 0;
    const intensity_outcome o = compute_intensity(at);
    if (o.st != 3 && o.st != 4) return std::nullopt;
    params c = p;
    correct_params(c, o);
    const std::string fixed = "korrigierter Wert: S = " + write_real(c.slp) + " %";
    if (!correct) {
        return problem{exit_bad_value, std::string(status_text(o.st)) +
                                           ": S = " + write_real(p.slp) + " % (" + fixed +
                                           "; mit --correct wird damit gerechnet)"};
    }
    note = std::string(status_text(o.st)) + ", " + fixed;
    p.slp = c.slp;
    return std::nullopt;
}

} // namespace orv::cli
