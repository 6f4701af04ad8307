// The Result report and the Warning block of a calculation.
#include <string>

#include "consoleio/write.h"
#include "dialogue/dialogue.h"
#include "model/status_text.h"

namespace orv {
namespace {

// The Result format exactly as stored; the blanks after each "/" lie
// between descriptors and change nothing.
constexpr const char* result_format =
    "(/                                                          ,' >spezifischer Abfluss "
    ":',f8.2,'m2/s',/                         ,' >Fliessgeschwindigkeit:',f8.2,'m/s',/      "
    "                    ,' >Abflusstiefe:         ',f8.2,'m',/                            ,' "
    ">Energiehoehe:         ',f8.2,'m')";

} // namespace

void print_report(params& p, const intensity_outcome& o) {
    if (o.st == 0) {
        const intensity& r = o.res;
        write_formatted({230, 6}, result_format, {r.q, r.v, r.h, r.he});
        return;
    }
    write_list({240, 6});
    write_list({241, 6}, {"------ Beginn Warnung -----------"});
    // The warning as a record with one leading blank.
    const std::string warning = std::string(" ") + status_text(o.st);
    write_list({242, 6}, {std::string_view(warning)});
    correct_params(p, o);
    write_list({244, 6}, {"------- Ende Warnung ------------"});
}

} // namespace orv
