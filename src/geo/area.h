// A coordinate system's area of use, and whether a point or a layer's extent lies in it.
#pragma once
#include <memory>
#include <optional>
#include <string>

class OGRSpatialReference;

namespace orv::geo {

// The box in degrees (longitude west and east, latitude south and north)
// in which a system is meant to be used, as PROJ's database records it.
struct area_of_use {
    double west, south, east, north;
    std::string name;
};

// Degrees allowed beyond each side of the box.
inline constexpr double area_margin = 1.0;

// The area of use of srs; nothing when the system records none.
std::optional<area_of_use> area_of(const OGRSpatialReference& srs);

// A system's name for messages: its authority code, else its name.
std::string crs_label(const OGRSpatialReference& srs);

// Whether the point (e, n) of srs lies in srs's area of use widened by
// area_margin; true when srs records no area. Otherwise why says (ASCII,
// German) which system, which area and where the point lies.
bool point_in_area(const OGRSpatialReference& srs, double e, double n, std::string& why);

// point_in_area for many points of one system, its transformation made once.
class area_check {
  public:
    explicit area_check(const OGRSpatialReference& srs);
    ~area_check();
    area_check(const area_check&) = delete;
    area_check& operator=(const area_check&) = delete;
    bool contains(double e, double n, std::string& why) const;

  private:
    struct state;
    std::unique_ptr<state> st_;
};

// Whether the box [e0, e1] x [n0, n1] in system from lies, taken to
// degrees, in site's area of use widened by area_margin; true when site
// records no area. Otherwise why says which area and where the box lies.
bool box_in_area(const OGRSpatialReference& from, double e0, double n0, double e1, double n1,
                 const OGRSpatialReference& site, std::string& why);

} // namespace orv::geo
