// The given objects' texts read with OGR into a layer of GDAL's memory driver.
#include "assess/given.h"

#include <ogr_geometry.h>
#include <ogrsf_frmts.h>

#include "assess/quiet.h"
#include "geo/handles.h"
#include "geo/memory.h"

namespace orv::assess {

namespace {

// True when text holds only blanks.
bool blank(const char* text) {
    for (; *text; ++text) {
        if (*text != ' ' && *text != '\t' && *text != '\r' && *text != '\n') return false;
    }
    return true;
}

// The geometry of g's text; null for an empty text, and null with why set
// when the text is not a whole geometry (nothing may follow a WKT).
std::unique_ptr<OGRGeometry> parse(const given_geometry& g, std::string& why) {
    if (blank(g.text.c_str())) return nullptr;
    quiet_gdal q;
    OGRGeometry* out = nullptr;
    if (g.json) {
        out = OGRGeometryFactory::createFromGeoJson(g.text.c_str());
    } else {
        const char* rest = g.text.c_str();
        if (OGRGeometryFactory::createFromWkt(&rest, nullptr, &out) != OGRERR_NONE || !blank(rest)) {
            delete out;
            out = nullptr;
        }
    }
    if (!out) why = std::string("Geometrie nicht lesbar (") + (g.json ? "GeoJSON" : "WKT") + ")" +
                    q.detail();
    return std::unique_ptr<OGRGeometry>(out);
}

} // namespace

GDALDataset* given_dataset(const source_request& r, std::string& why) {
    geo::dataset_handle ds(geo::memory_vector());
    OGRLayer* l = ds ? ds->CreateLayer(r.given_layer.c_str(), nullptr, wkbUnknown, nullptr)
                     : nullptr;
    if (!l) {
        why = r.given_source + ": keine Ebene im Speicher anlegbar";
        return nullptr;
    }
    for (std::size_t k = 0; k < r.given.size(); ++k) {
        std::string bad;
        std::unique_ptr<OGRGeometry> g = parse(r.given[k], bad);
        const std::string where = r.given_source + "[" + std::to_string(k) + "]";
        if (!bad.empty()) {
            why = where + ": " + bad;
            return nullptr;
        }
        geo::feature_handle f(OGRFeature::CreateFeature(l->GetLayerDefn()));
        f->SetFID(static_cast<GIntBig>(k));
        if (g) f->SetGeometryDirectly(g.release());
        if (l->CreateFeature(f.get()) != OGRERR_NONE) {
            why = where + ": nicht in die Ebene im Speicher aufnehmbar";
            return nullptr;
        }
    }
    return ds.release();
}

} // namespace orv::assess
