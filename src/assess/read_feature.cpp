// Features read with GDAL's messages collected and lost geometries found.
#include "assess/read_feature.h"

#include <cpl_json.h>
#include <ogrsf_frmts.h>

#include "assess/quiet.h"

namespace orv::assess {

namespace {

// True when field name of f holds text other than blanks.
bool filled(const OGRFeature& f, const char* name) {
    const int k = f.GetDefnRef()->GetFieldIndex(name);
    if (k < 0 || !f.IsFieldSetAndNotNull(k)) return false;
    for (const char* p = f.GetFieldAsString(k); *p; ++p) {
        if (*p != ' ' && *p != '\t' && *p != '\r' && *p != '\n') return true;
    }
    return false;
}

// True when the GeoJSON text of a feature holds a geometry that is neither
// null nor empty (no coordinates, no member geometries).
bool json_geometry(const char* text) {
    CPLJSONDocument doc;
    if (!text || !doc.LoadMemory(std::string(text))) return false;
    const CPLJSONObject g = doc.GetRoot().GetObj("geometry");
    if (!g.IsValid() || g.GetType() == CPLJSONObject::Type::Null) return false;
    if (g.GetType() != CPLJSONObject::Type::Object) return true;
    const CPLJSONObject c = g.GetObj("coordinates");
    if (c.IsValid() && c.GetType() == CPLJSONObject::Type::Array) return c.ToArray().Size() != 0;
    const CPLJSONObject m = g.GetObj("geometries");
    if (c.IsValid() || !m.IsValid() || m.GetType() != CPLJSONObject::Type::Array) return true;
    return m.ToArray().Size() != 0;
}

// True for the formats whose features keep their source text: GeoJSON
// reads every feature at the first one, so its failures cannot be told
// by feature; the text of each tells instead.
bool keeps_text(const layer_in& l) {
    return l.driver == "GeoJSON" || l.driver == "GeoJSONSeq";
}

// True when the WKT text of field name, read on its own, is an empty
// geometry ("POLYGON EMPTY"): GDAL's CSV reader gives an empty geometry
// also for some texts it cannot read.
bool empty_wkt(const OGRFeature& f, const char* name) {
    OGRGeometry* g = nullptr;
    const OGRErr e = OGRGeometryFactory::createFromWkt(f.GetFieldAsString(name), nullptr, &g);
    const bool empty = e == OGRERR_NONE && g && g->IsEmpty();
    delete g;
    return empty;
}

} // namespace

bool geometry_lost(const layer_in& l, const OGRFeature& f) {
    const OGRGeometry* g = f.GetGeometryRef();
    if (l.driver == "CSV" && l.coord_e.empty()) {
        if (g && !g->IsEmpty()) return false;
        return filled(f, "WKT") && !empty_wkt(f, "WKT");
    }
    if (g) return false;
    if (l.driver == "CSV") return filled(f, l.coord_e.c_str()) != filled(f, l.coord_n.c_str());
    if (keeps_text(l)) return json_geometry(f.GetNativeData());
    return false;
}

bool next_feature(const layer_in& l, double spacing, OGRFeature*& f, std::vector<part>& parts,
                  std::string& why) {
    why.clear();
    parts.clear();
    quiet_gdal q;
    f = l.layer->GetNextFeature();
    if (!f) {
        if (q.count() != 0) why = "Datei nicht weiter lesbar: " + q.last();
        return false;
    }
    if (q.count() != 0 && !keeps_text(l)) {
        why = "Geometrie nicht lesbar: " + q.last();
    } else if (geometry_lost(l, *f)) {
        why = "Geometrie nicht lesbar";
    } else if (!read_parts(*f, l.ct, spacing, parts, why)) {
        parts.clear();
    }
    return true;
}

} // namespace orv::assess
