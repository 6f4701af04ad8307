// The objects of the --objects sources, read once and held in an R-tree of
// their bounding boxes, judged for one dam at a time.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "assess/judge.h"
#include "assess/sample.h"
#include "assess/source.h"
#include "inventory/dam.h"

namespace orv::inventory {

// What a dam's objects add up to.
struct object_counts {
    std::uint64_t level[4] = {}; // objects whose worst point is at exactly level k
    std::uint64_t open = 0;      // objects that would make the answer open
    std::uint64_t judged = 0;    // objects sampled for this dam
};

// What one dam made of one object: its level and worst point's h and q
// and place (e, n in the site's system), its state, and whether it leaves
// the dam's answer open (then why).
struct object_hit {
    std::uint32_t obj;
    int level;
    real h, q;
    double east, north;
    assess::state st = assess::state::none;
    bool open = false;
    std::string why; // for an open object
    real x = 0;      // the worst point's distance along the jet
};

// Scratch space of one thread, reused from dam to dam.
struct object_scratch {
    std::vector<std::uint32_t> seen; // per object: the last dam that judged it, plus one
    std::uint32_t stamp = 0;
    std::vector<std::uint32_t> hits;
    std::vector<assess::xy> buf; // samples on their way to the judge
};

// The text that names feature f, as a report does: its field (when set and
// not null) or else its feature id.
std::string label_of(const OGRFeature& f, int field);

class object_index {
  public:
    static constexpr std::int64_t unreadable = -2;

    object_index();
    ~object_index();
    object_index(const object_index&) = delete;
    object_index& operator=(const object_index&) = delete;

    // Reads every feature of the sources' chosen layers in the site's
    // system, each named by its field label (its feature id where the field
    // is empty or the layer lacks it; a label no layer has is refused); a
    // feature whose geometry cannot be read stops the run, or, with
    // keep_going, is told to warn and makes every dam's answer open.
    // False with a German message.
    bool load(const assess::source_request& r, const std::string& label, double spacing,
              bool keep_going, const std::function<void(const std::string&)>& warn,
              std::string& why);
    // The site's system of the sources (null when none).
    const OGRSpatialReference* site_crs() const;
    // Objects held, and those skipped as unreadable (their features have
    // the number unreadable in order()).
    std::size_t size() const { return objs_.size(); }
    std::uint64_t skipped() const { return skipped_; }

    // The counts of dam d (computed map m) judged with frame f: every object
    // inside the map's extent or in the strip beyond the tables as wide as
    // the zones is sampled; the others lie beside every zone, so their level
    // is 0 when a sample falls where the tables give results, else none.
    // With hits, every object with a level of at least hits_from or open is
    // added to it.
    object_counts count(const assess::frame& f, const dam_result& m, int from,
                        object_scratch& scratch, std::vector<object_hit>* hits = nullptr,
                        int hits_from = 0) const;

    // Whether some object lies within distance d of (e, n), measured to its
    // geometry as the assessment measures the nearest object.
    bool any_within(double e, double n, double d) const;

    // Every feature of the sources' layers in reading order with its
    // judgement for the dam (computed map m, frame f), as the assessment of
    // that dam alone judges it: each told with its layer, label, parts
    // (null for a feature without one) and verdict, and whether it lies in
    // the box near (min e, min n, max e, max n). The objects count() finds
    // beside every zone get its level 0 without sampling.
    using judged_fn = std::function<void(std::size_t layer, const std::string& label,
                                         const std::vector<assess::part>* parts,
                                         const assess::verdict& v, bool in_near)>;
    void judge_each(const assess::frame& f, const dam_result& m, const double near[4],
                    const judged_fn& each) const;
    // The distance from (e, n) to the nearest object, infinity for none.
    double nearest(double e, double n) const;

    // The same by sampling every object: the reference the index must equal.
    object_counts count_all(const assess::frame& f, int from,
                            std::vector<object_hit>* hits = nullptr) const;

    // The sources' layers, and per feature of each in reading order its
    // object's number, or -1 for a feature without a geometry, unreadable
    // for one skipped as unreadable.
    const std::vector<assess::layer_in>& layers() const { return src_->layers(); }
    const std::vector<std::vector<std::int64_t>>& order() const { return order_; }
    // The name of object k, and the --label field of each layer (-1 for none).
    const std::string& label(std::uint32_t k) const { return objs_[k].label; }
    // The bounding box of object k: min e, min n, max e, max n.
    const double* bounds(std::uint32_t k) const { return objs_[k].box; }
    const std::vector<int>& label_fields() const { return label_fields_; }

  private:
    struct object {
        std::vector<assess::part> parts;
        double box[4]; // min e, min n, max e, max n
        std::string label;
    };
    struct tree;
    struct regions;
    regions regions_of(const assess::frame& f, const dam_result& m) const;
    bool beside(const object& o, const assess::frame& f, const regions& z) const;

    std::unique_ptr<assess::sources> src_;
    std::vector<object> objs_;
    std::vector<std::vector<std::int64_t>> order_;
    // Per layer, in reading order, the labels of its features that are no
    // object (without a geometry, or unreadable).
    std::vector<std::vector<std::string>> other_labels_;
    std::vector<int> label_fields_;
    std::unique_ptr<tree> tree_;
    double spacing_ = 1;
    double bounds_[4] = {0, 0, 0, 0};
    std::uint64_t skipped_ = 0;
};

} // namespace orv::inventory
