// The worst sample of each object with a result as a point layer
// "schlimmste_punkte": where on a map each object is hit worst.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class GDALDataset;
class OGRSpatialReference;

namespace orv::assess {

// The layer's name; a format of one layer per file gets it in a file of
// its own beside the output, its stem ending in "_" and the name.
inline constexpr const char* worst_layer = "schlimmste_punkte";

// That file beside path: <stem>_schlimmste_punkte<extension>.
std::string worst_points_path(const std::string& path);

// One object's worst point in the site's system.
struct worst_point {
    double e = 0, n = 0;
    int level = 0;
    std::int64_t fid = 0;  // the feature's id in its source
    std::string label;     // its --label value, else its id
    std::size_t layer = 0; // index into the layer names
};

// The worst points of a run, gathered in input order and written at its end.
class worst_points {
  public:
    // The output layer (its name as written) that the points from now on belong to.
    void begin_layer(std::string name);
    void add(double e, double n, int level, std::int64_t fid, std::string label);
    std::size_t size() const { return points_.size(); }

    // Writes the layer into ds in the system srs (null for none), with
    // orv_level, orv_label, orv_fid and orv_layer; csv keeps the geometry
    // as a WKT column. False with a German reason.
    bool write(GDALDataset& ds, const OGRSpatialReference* srs, bool csv, std::string& why) const;

  private:
    std::vector<std::string> layers_;
    std::vector<worst_point> points_;
};

} // namespace orv::assess
