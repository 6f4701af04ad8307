// Vector sources through OGR's C++ interface.
#include "assess/source.h"

#include <charconv>
#include <cmath>

#include <gdal_priv.h>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include "assess/given.h"
#include "assess/quiet.h"
#include "base/number_text.h"
#include "geo/area.h"
#include "geo/crs.h"
#include "geo/handles.h"
#include "io/os_error.h"

namespace orv::assess {

namespace {

// Spacings along one side of a feature's extent beyond which it is refused
// (10000 km at 1 m), and lattice points of a polygon's extent (10^4 km2 at 1 m).
constexpr double max_span = 1e7;
constexpr double max_lattice = 1e10;

// Projected with the metre as unit, else why says what it is.
// A verdict needs the breach's place checked against the system's area of
// use: numbers of another system would else put it where no object lies and
// answer "no". A system PROJ knows no area for is therefore refused.
bool checkable(const OGRSpatialReference& srs, bool given, std::string& why) {
    if (geo::area_of(srs)) return true;
    why = std::string(given ? "Option --crs" : "Koordinatensystem der ersten Ebene") +
          ": System \"" + geo::crs_label(srs) +
          "\" hat keinen Anwendungsbereich, die Lage der Bresche ist so nicht pruefbar; "
          "einen EPSG-Code angeben oder WKT mit USAGE[...BBOX[...]]";
    return false;
}

bool metric(const OGRSpatialReference& srs, std::string& why) {
    if (!srs.IsProjected()) {
        why = "Koordinatensystem " + geo::crs_label(srs) + " ist nicht projiziert (Einheit " +
              (srs.IsGeographic() ? "Grad" : "unbekannt") + "); ein projiziertes in Metern angeben";
        return false;
    }
    const char* unit = nullptr;
    const double f = srs.GetLinearUnits(&unit);
    if (f != 1.0) {
        why = "Koordinatensystem " + geo::crs_label(srs) + " hat die Einheit " +
              (unit ? unit : "unbekannt") + "; ein projiziertes in Metern angeben";
        return false;
    }
    return true;
}

// The system of layer l; null when it has none, or only a placeholder
// such as a GeoPackage's undefined systems.
const OGRSpatialReference* system_of(OGRLayer& l) {
    const OGRSpatialReference* s = l.GetSpatialRef();
    if (!s) return nullptr;
    const char* name = s->GetName();
    if (!s->GetAuthorityName(nullptr) && name && std::string(name).starts_with("Undefined "))
        return nullptr;
    return s;
}

bool finite(const xy& p) {
    return std::isfinite(p.e) && std::isfinite(p.n);
}

// Points of a simple curve, easting and northing only.
std::vector<xy> points_of(const OGRSimpleCurve& c) {
    std::vector<xy> v(static_cast<std::size_t>(c.getNumPoints()));
    for (int i = 0; i < c.getNumPoints(); ++i)
        v[static_cast<std::size_t>(i)] = {c.getX(i), c.getY(i)};
    return v;
}

// Appends the parts of g in order; false with a reason.
bool flatten(const OGRGeometry& g, std::vector<part>& out, std::string& why) {
    if (g.IsEmpty()) return true;
    switch (wkbFlatten(g.getGeometryType())) {
    case wkbPoint: {
        const auto& p = *g.toPoint();
        out.push_back({part::point, {{{p.getX(), p.getY()}}}});
        return true;
    }
    case wkbLineString:
    case wkbLinearRing: out.push_back({part::line, {points_of(*g.toSimpleCurve())}}); return true;
    case wkbPolygon:
    case wkbTriangle: {
        const auto& poly = *g.toPolygon();
        part p{part::polygon, {}};
        for (const OGRLinearRing* r : poly) {
            std::vector<xy> v = points_of(*r);
            if (v.empty()) continue;
            if (v.front().e != v.back().e || v.front().n != v.back().n) v.push_back(v.front());
            p.rings.push_back(std::move(v));
        }
        if (!p.rings.empty()) out.push_back(std::move(p));
        return true;
    }
    case wkbMultiPoint:
    case wkbMultiLineString:
    case wkbMultiPolygon:
    case wkbGeometryCollection:
        for (const OGRGeometry* sub : *g.toGeometryCollection()) {
            if (!flatten(*sub, out, why)) return false;
        }
        return true;
    case wkbPolyhedralSurface:
    case wkbTIN:
        for (const OGRPolygon* sub : *g.toPolyhedralSurface()) {
            if (!flatten(*sub, out, why)) return false;
        }
        return true;
    default:
        why = std::string("Geometrietyp ") + OGRGeometryTypeToName(g.getGeometryType()) +
              " nicht unterstuetzt";
        return false;
    }
}

// Every layer's extent, taken from its own system (the site's when it has
// none), must lie in the site's area of use: numbers of another system are
// refused before a single object is judged.
bool extents_in_area(const std::vector<layer_in>& layers, const OGRSpatialReference& site,
                     std::string& why) {
    for (const layer_in& l : layers) {
        OGREnvelope env;
        if (l.layer->GetExtent(&env, TRUE) != OGRERR_NONE) continue; // nothing to place
        const OGRSpatialReference* from = system_of(*l.layer);
        std::string where;
        if (!geo::box_in_area(from ? *from : site, env.MinX, env.MinY, env.MaxX, env.MaxY, site,
                              where)) {
            why = l.path + ", Ebene " + l.name + ": " + where +
                  "; Koordinatensystem der Ebene und --crs pruefen";
            return false;
        }
    }
    return true;
}

} // namespace

struct sources::state {
    std::vector<geo::dataset_handle> sets;
    std::vector<geo::transform_handle> cts;
    OGRSpatialReference site;
    bool has_site = false;
};

sources::sources() : st_(std::make_unique<state>()) {}
sources::~sources() = default;

const OGRSpatialReference* sources::site_crs() const {
    return st_->has_site ? &st_->site : nullptr;
}

namespace {

// Opens the vector dataset at path: CSV with the coordinate columns of r,
// GeoJSON keeping each feature's text, so that a geometry it could not read
// is told from a null one.
GDALDataset* open_vector(const std::string& path, const source_request& r) {
    CPLStringList oo;
    if (!r.coord_e.empty()) {
        oo.SetNameValue("X_POSSIBLE_NAMES", r.coord_e.c_str());
        oo.SetNameValue("Y_POSSIBLE_NAMES", r.coord_n.c_str());
    }
    GDALDriverH id = GDALIdentifyDriverEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr);
    const std::string format = id ? GDALGetDriverShortName(id) : "";
    if (format == "GeoJSON" || format == "GeoJSONSeq") oo.SetNameValue("NATIVE_DATA", "YES");
    return GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, oo.List(),
                             nullptr);
}

// Adds the layers of ds (from path) that hold geometry to layers: all, or
// those r names, each one met marked in found.
void add_layers(GDALDataset& ds, const std::string& path, const source_request& r,
                std::vector<bool>& found, std::vector<layer_in>& layers) {
    for (OGRLayer* l : ds.GetLayers()) {
        const std::string name = l->GetName();
        if (!r.layers.empty()) {
            bool wanted = false;
            for (std::size_t k = 0; k < r.layers.size(); ++k) {
                if (r.layers[k] == name) wanted = found[k] = true;
            }
            if (!wanted) continue;
        }
        // Tables without geometry (a GIS's style table, for one) are not objects.
        if (l->GetLayerDefn()->GetGeomFieldCount() == 0) continue;
        layer_in in;
        in.path = path;
        in.name = name;
        in.layer = l;
        in.driver = ds.GetDriver() ? ds.GetDriver()->GetDescription() : "";
        if (in.driver == "CSV") in.coord_e = r.coord_e, in.coord_n = r.coord_n;
        layers.push_back(std::move(in));
    }
}

// Gives each layer in a system other than the site's (site, when known)
// its transformation into it, kept in cts; false with why.
bool add_transforms(std::vector<layer_in>& layers, const OGRSpatialReference* site,
                    std::vector<geo::transform_handle>& cts, std::string& why) {
    for (layer_in& l : layers) {
        const OGRSpatialReference* from = system_of(*l.layer);
        if (!from) continue; // taken to be in the site's system
        l.has_crs = true;
        if (!site) {
            why = l.path + ", Ebene " + l.name +
                  ": Koordinatensystem des Standortes unbekannt; --crs angeben";
            return false;
        }
        OGRSpatialReference src(*from);
        src.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        if (src.IsSame(site)) continue;
        OGRCoordinateTransformation* ct = OGRCreateCoordinateTransformation(&src, site);
        if (!ct) {
            why = l.path + ", Ebene " + l.name + ": keine Umrechnung von " + geo::crs_label(src) +
                  " nach " + geo::crs_label(*site);
            return false;
        }
        cts.emplace_back(ct);
        l.ct = ct;
    }
    return true;
}

} // namespace

bool sources::open(const source_request& r, std::string& why) {
    register_drivers();
    quiet_gdal q;
    if (!r.crs.empty()) {
        if (!geo::read_crs(r.crs, st_->site, why)) return false;
        st_->has_site = true;
    }
    std::vector<bool> found(r.layers.size(), false);
    for (const std::string& path : r.paths) {
        GDALDataset* ds = open_vector(path, r);
        if (!ds) {
            // The system's reason first: a missing file or one without read
            // rights is not a question of its format.
            const std::string os = path.rfind("/vsi", 0) == 0 ? "" : io::read_problem(path);
            why = path + (os.empty() ? ": nicht lesbar als Vektordaten" : ": nicht lesbar: " + os);
            return false;
        }
        st_->sets.emplace_back(ds);
        add_layers(*ds, path, r, found, layers_);
    }
    if (!r.given.empty()) {
        GDALDataset* ds = given_dataset(r, why);
        if (!ds) return false;
        st_->sets.emplace_back(ds);
        add_layers(*ds, r.given_source, r, found, layers_);
    }
    for (std::size_t k = 0; k < r.layers.size(); ++k) {
        if (!found[k]) {
            why = "Ebene " + r.layers[k] + " in keiner Quelle gefunden";
            return false;
        }
    }
    if (layers_.empty()) {
        why = std::string("keine Ebene mit Geometrie in den Quellen (CSV: eine Spalte WKT") +
              (r.coords_option ? " oder --coords E,N)" : ")");
        return false;
    }
    if (!st_->has_site) {
        if (const OGRSpatialReference* s = system_of(*layers_.front().layer)) {
            st_->site = *s;
            st_->has_site = true;
        }
    }
    if (st_->has_site) {
        if (!metric(st_->site, why) || !checkable(st_->site, !r.crs.empty(), why)) return false;
        st_->site.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    }
    if (!add_transforms(layers_, st_->has_site ? &st_->site : nullptr, st_->cts, why)) return false;
    return !st_->has_site || extents_in_area(layers_, st_->site, why);
}

namespace {

// Whether part p can be sampled at spacing: every vertex finite and on the
// lattice, and the part's own extent within max_span spacings a side (and
// a polygon's within max_lattice points). Each part of a multipart object
// is sampled on its own, so parts far apart are no reason to refuse it.
bool part_in_reach(const part& p, double spacing, std::string& why) {
    double e0 = INFINITY, e1 = -INFINITY, n0 = INFINITY, n1 = -INFINITY;
    for (const auto& ring : p.rings) {
        for (const xy& v : ring) {
            if (!finite(v)) {
                why = "Koordinate ist keine endliche Zahl";
                return false;
            }
            if (!in_lattice(v.e, spacing) || !in_lattice(v.n, spacing)) {
                why = "Koordinate zu gross fuer den Abstand der Stichproben (" + shortest(v.e) +
                      ", " + shortest(v.n) + ")";
                return false;
            }
            e0 = std::min(e0, v.e), e1 = std::max(e1, v.e);
            n0 = std::min(n0, v.n), n1 = std::max(n1, v.n);
        }
    }
    const double we = (e1 - e0) / spacing, wn = (n1 - n0) / spacing;
    const bool area = p.k == part::polygon;
    if (we > max_span || wn > max_span || (area && we * wn > max_lattice)) {
        why = "Ausdehnung zu gross fuer den Abstand der Stichproben";
        return false;
    }
    return true;
}

} // namespace

bool read_parts(const OGRFeature& f, OGRCoordinateTransformation* ct, double spacing,
                std::vector<part>& out, std::string& why) {
    out.clear();
    const OGRGeometry* g = f.GetGeometryRef();
    if (!g || g->IsEmpty()) return true;
    std::unique_ptr<OGRGeometry> own;
    if (g->hasCurveGeometry()) {
        own.reset(g->getLinearGeometry());
        g = own.get();
    }
    if (ct) {
        if (!own) {
            own.reset(g->clone());
            g = own.get();
        }
        quiet_gdal q;
        if (own->transform(ct) != OGRERR_NONE) {
            why = "Geometrie nicht ins Koordinatensystem des Standortes umrechenbar";
            return false;
        }
    }
    if (!flatten(*g, out, why)) return false;
    // A geometry that is not empty yet gives no part (a curve polygon whose
    // ring is not closed linearises to nothing) is unreadable, not "empty".
    if (out.empty()) {
        why = "Geometrie nicht lesbar: ohne Punkte nach dem Umwandeln in Strecken (Ring einer "
              "Kurve nicht geschlossen?)";
        return false;
    }
    for (const part& p : out)
        if (!part_in_reach(p, spacing, why)) return false;
    return true;
}

void sample_parts(const std::vector<part>& parts, sampler& s) {
    for (const part& p : parts) {
        if (p.k == part::point)
            s.point(p.rings[0][0]);
        else if (p.k == part::line)
            s.line(p.rings[0].data(), p.rings[0].size());
        else
            s.polygon(p.rings);
    }
    s.flush();
}

} // namespace orv::assess
