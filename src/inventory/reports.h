// One report per dam of a register: the document orvalis report writes for
// that dam alone, named by the dam's id.
#pragma once
#include <ctime>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "assess/source.h"
#include "inventory/objects.h"
#include "inventory/output.h"

namespace orv::inventory {

// What every dam's report shares.
struct report_setup {
    assess::source_request src; // the objects
    std::string label;          // the field that names them; empty for the feature id
    double spacing = 1;
    bool keep_going = false;
    std::string wkt; // the site's system
    bool html = false;
    std::string command, version;
    std::string title; // before "Anlage ID"; empty for "Gefahrenbeurteilung"
    std::string author;
    std::string background; // a raster under the zones; empty for none
    std::optional<double> opacity;
    std::time_t date = 0;
    std::vector<std::pair<std::string, std::string>>
        hashes; // of the objects' and background's files
};

// Writes the report of the computed dam d (rules r) to the file path, its
// objects judged from those objs holds. False with a German reason in why,
// and in err the errno of a failed write (0 when something else failed).
bool write_report(const dam_row& d, const dam_rules& r, const report_setup& s,
                  const object_index& objs, const std::string& path, std::string& why, int& err);

// The file names of the reports, handed out in the register's order: the
// id with '/', NUL and a leading '.' replaced by '_', at most 200 bytes; a
// name handed out before (another dam of the same id) gets "_2", "_3"...
class report_names {
  public:
    explicit report_names(std::string ext) : ext_(std::move(ext)) {}
    std::string next(const std::string& id);

  private:
    std::string ext_;
    std::unordered_set<std::string> used_;
};

} // namespace orv::inventory
