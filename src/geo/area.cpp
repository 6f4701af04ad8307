// Areas of use from PROJ's database, and points and boxes taken to degrees to test against them.
#include "geo/area.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <memory>

#include <ogr_spatialref.h>

#include "geo/context.h"
#include "geo/crs.h"

namespace orv::geo {

namespace {

struct transform_free {
    void operator()(OGRCoordinateTransformation* t) const {
        OGRCoordinateTransformation::DestroyCT(t);
    }
};
using transform_ptr = std::unique_ptr<OGRCoordinateTransformation, transform_free>;

// A transformation from srs to longitude and latitude in degrees; null when
// PROJ has none.
transform_ptr to_degrees(const OGRSpatialReference& srs) {
    OGRSpatialReference from(srs), wgs;
    from.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    wgs.SetWellKnownGeogCS("WGS84");
    wgs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    return transform_ptr(OGRCreateCoordinateTransformation(&from, &wgs));
}

bool lon_inside(double lon, const area_of_use& a) {
    const double w = a.west - area_margin, e = a.east + area_margin;
    // A box across the antimeridian has its west edge east of its east edge.
    return a.west <= a.east ? lon >= w && lon <= e : lon >= w || lon <= e;
}

bool inside(double lon, double lat, const area_of_use& a) {
    return std::isfinite(lon) && std::isfinite(lat) && lat >= a.south - area_margin &&
           lat <= a.north + area_margin && lon_inside(lon, a);
}

// PROJ's names in ASCII for terminals: the degree sign spelt out, other
// characters beyond ASCII as '?'.
std::string ascii_name(const std::string& s) {
    std::string t;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            t += s[i];
        } else if (c == 0xc2 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0xb0) {
            t += " Grad";
            ++i;
            if (i + 1 < s.size() && std::isalnum(static_cast<unsigned char>(s[i + 1]))) t += ' ';
        } else if ((c & 0xc0) != 0x80) {
            t += '?';
        }
    }
    return t;
}

std::string degrees(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.2f", v);
    return b;
}

// "EPSG:2056 (name: Laenge W bis E, Breite S bis N Grad)".
std::string describe(const OGRSpatialReference& srs, const area_of_use& a) {
    return crs_label(srs) + " (Gebiet " + (a.name.empty() ? "ohne Namen" : a.name) + ": Laenge " +
           degrees(a.west) + " bis " + degrees(a.east) + ", Breite " + degrees(a.south) + " bis " +
           degrees(a.north) + " Grad)";
}

std::string where_deg(double lon, double lat) {
    if (!std::isfinite(lon) || !std::isfinite(lat)) return "nicht in Grad umrechenbar";
    return "bei Laenge " + degrees(lon) + ", Breite " + degrees(lat) + " Grad";
}

} // namespace

std::optional<area_of_use> area_of(const OGRSpatialReference& srs) {
    double w = 0, s = 0, e = 0, n = 0;
    const char* name = nullptr;
    messages quiet;
    if (!srs.GetAreaOfUse(&w, &s, &e, &n, &name)) return std::nullopt;
    if (!std::isfinite(w) || !std::isfinite(s) || !std::isfinite(e) || !std::isfinite(n))
        return std::nullopt;
    std::string label = ascii_name(name ? name : "");
    // PROJ ends some names with a full stop; the message goes on after it.
    while (!label.empty() && label.back() == '.') label.pop_back();
    return area_of_use{w, s, e, n, label};
}

std::string crs_label(const OGRSpatialReference& srs) {
    const char* auth = srs.GetAuthorityName(nullptr);
    const char* code = srs.GetAuthorityCode(nullptr);
    if (auth && code) return std::string(auth) + ":" + code;
    const char* name = srs.GetName();
    return name ? name : "ohne Namen";
}

struct area_check::state {
    OGRSpatialReference srs;
    std::optional<area_of_use> area;
    transform_ptr t;
};

area_check::area_check(const OGRSpatialReference& srs) : st_(std::make_unique<state>()) {
    st_->srs = srs;
    st_->area = area_of(srs);
    messages quiet;
    if (st_->area) st_->t = to_degrees(srs);
}

area_check::~area_check() = default;

bool area_check::contains(double e, double n, std::string& why) const {
    if (!st_->area) return true;
    messages quiet;
    double lon = e, lat = n;
    if (!st_->t || !st_->t->Transform(1, &lon, &lat)) lon = lat = NAN;
    if (inside(lon, lat, *st_->area)) return true;
    char p[80];
    std::snprintf(p, sizeof p, "%.10g, %.10g", e, n);
    why = std::string("Punkt ") + p + " liegt ausserhalb des Gebiets von " +
          describe(st_->srs, *st_->area) + ", " + where_deg(lon, lat);
    return false;
}

bool point_in_area(const OGRSpatialReference& srs, double e, double n, std::string& why) {
    return area_check(srs).contains(e, n, why);
}

bool box_in_area(const OGRSpatialReference& from, double e0, double n0, double e1, double n1,
                 const OGRSpatialReference& site, std::string& why) {
    const auto a = area_of(site);
    if (!a) return true;
    messages quiet;
    double w = NAN, s = NAN, e = NAN, n = NAN;
    const transform_ptr t = to_degrees(from);
    // A box that cannot be taken to degrees is left to the features: each
    // one that cannot be transformed is an error of its own, named.
    if (!t || !t->TransformBounds(e0, n0, e1, n1, &w, &s, &e, &n, 21)) return true;
    if (!std::isfinite(w) || !std::isfinite(s) || !std::isfinite(e) || !std::isfinite(n) ||
        s < -90 || n > 90)
        return true;
    if (inside(w, s, *a) && inside(e, n, *a)) return true;
    why = "Ausdehnung liegt ausserhalb des Gebiets von " + describe(site, *a) + ", bei Laenge " +
          degrees(w) + " bis " + degrees(e) + ", Breite " + degrees(s) + " bis " + degrees(n) +
          " Grad";
    return false;
}

} // namespace orv::geo
