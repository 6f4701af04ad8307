// Where a console statement stands, for the runtime error report.
#pragma once

namespace orv {

// Name of the main program's source, shown in every Locus line.
inline constexpr const char* source_name = "orvalis2d.cpp";

struct locus {
    int line;
    int unit; // 5 standard input, 6 standard output, 0 text in memory
};

} // namespace orv
