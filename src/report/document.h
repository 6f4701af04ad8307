// A report's content and its two forms: an A4 PDF laid out with cairo and
// one self-contained HTML file.
#pragma once
#include <cstdio>
#include <ctime>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "draw/profile_picture.h"
#include "map/summary.h"
#include "report/objects.h"
#include "report/world_picture.h"

namespace orv::report {

// Everything a report says.
struct content {
    std::string title, author, version;
    std::time_t date = 0;    // the report's date (UTC)
    map::summary_input site; // parameters, thresholds, grid, slope
    map::figures zones;      // reach, half-width and area per level
    map::georef g;
    std::string crs_name;
    double spacing = 1;
    int from = 1;
    double near_x = 0, far_x = 0; // where the tables begin and end along the jet
    bool has_tables = false;      // false for a site whose distances miss the tables
    std::string verdict;             // yes, no or open
    std::string warning;             // said beside the verdict; empty for none
    std::size_t objects = 0;         // objects judged
    std::size_t at_from = 0;         // objects at level >= from
    std::size_t open = 0;            // objects that leave the verdict open
    std::vector<std::string> layers; // names, by index of object_row::layer
    object_list list;
    world_request map;          // the map; drawn in the report's own size
    std::optional<double> tables_end; // x where the tables end, for the overview
    draw::profile_view profile; // along the centre line
    std::string command;        // the full command line
    std::vector<std::pair<std::string, std::string>> hashes; // path, SHA-256, sorted by path
};

// A4 portrait in points.
inline constexpr double page_width = 595.2756;
inline constexpr double page_height = 841.8898;

// Writes the report as PDF to out; false with a German reason in why, and
// in err the errno of a failed write (0 when something else failed).
bool write_pdf(const content& c, std::FILE* out, std::string& why, int& err);

// Writes the report as HTML to out; false as for write_pdf.
bool write_html(const content& c, std::FILE* out, std::string& why, int& err);

// The date as YYYY-MM-DD (UTC).
std::string date_text(std::time_t t);

// The last second SOURCE_DATE_EPOCH may name: 9999-12-31 23:59:59 UTC, so
// that every date has four digits of year.
inline constexpr long long max_epoch = 253402300799;

// What SOURCE_DATE_EPOCH must hold, for the message that refuses it.
inline constexpr const char* epoch_expected =
    "SOURCE_DATE_EPOCH: ganze Sekunden von 0 bis 253402300799 erwartet (Jahre 1970 bis 9999)";

// The date of a report: SOURCE_DATE_EPOCH when set to a whole number of
// seconds from 0 to max_epoch, else the start of today (UTC); false when it
// is set to anything else (a sign, blanks, other characters, a year beyond).
bool report_date(std::time_t& t);

} // namespace orv::report
