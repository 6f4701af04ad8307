// The judged objects as a map draws them and a report lists them,
// gathered from the assessment feature by feature.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "assess/run.h"
#include "draw/objects.h"

namespace orv::report {

// One row of a report's object table.
struct object_row {
    std::size_t layer = 0; // index into the assessment's layers
    std::string label;
    int level = -1;
    std::string crit; // "h", "q", "hq" or empty
    real h = 0, q = 0, v = 0, x = 0;
    double east = 0, north = 0; // the worst point in the site's system
    std::string state;          // full, part, none
    std::string why;            // without geometry or unreadable: why; else empty
    std::uint32_t statuses = 0; // bit k set when some sample has status k
    int start = -1, end = -1;   // highest level at the near and far end of the tables
    bool failed = false;        // the geometry could not be read
    std::size_t order = 0;
};

// What the objects come to.
struct object_list {
    std::vector<draw::map_object> drawn; // every object but upstream and empty ones
    std::vector<object_row> endangered;  // level >= 1, by level descending, then x
    std::vector<object_row> unassessed;  // without a result (state none or skipped)
};

// Gathers the objects of an assessment; label_field names the attribute a
// label shows (empty: the feature id).
class object_collector {
  public:
    explicit object_collector(std::string label_field);
    // The hook for the assessment's request.
    void take(std::size_t layer, const OGRFeature& f, const std::vector<assess::part>& parts,
              const assess::verdict& v, const levels& lv);
    // The same for a feature already named by label. An object not drawn
    // (it lies far off the picture) is still listed.
    void take(std::size_t layer, std::string label, const std::vector<assess::part>& parts,
              const assess::verdict& v, const levels& lv, bool drawn = true);
    // The list, its tables sorted.
    object_list finish();

  private:
    // Adds the object of row to the drawn ones.
    void draw(const object_row& row, const std::vector<assess::part>& parts,
              const assess::verdict& v);

    std::string label_field_;
    object_list list_;
    std::size_t order_ = 0;
};

// Runs the assessment r (without its output file), gathering its objects
// into list; label_field as for object_collector.
assess::outcome gather(assess::request r, object_list& list);

// The statuses in bits (bit k for status k) as German words, "; " between.
std::string statuses_text(std::uint32_t bits);

} // namespace orv::report
