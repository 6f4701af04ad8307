// A dam's objects for its report, judged from the objects the inventory
// holds in memory instead of reading and judging the sources again.
#pragma once
#include "assess/run.h"
#include "inventory/objects.h"
#include "map/extent.h"
#include "report/objects.h"

namespace orv::inventory {

// What the report of one dam judges its objects by.
struct report_judging {
    const object_index& objs;
    assess::frame f;
    const dam_result& m;
    int from = 1;
    std::string label; // the --label field, empty for none: then the map shows no labels
};

// The outcome and object list orvalis report makes of the same objects for
// the dam alone on the map grid g: every feature listed and counted, those
// far off the picture left undrawn.
assess::outcome judge_for_report(const report_judging& j, const map::map_grid& g,
                                 report::object_list& list);

} // namespace orv::inventory
