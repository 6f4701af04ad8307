// Writing the objects with their highest level through OGR, staged so that
// nothing appears unless the whole file is complete.
#include "inventory/objects_out.h"

#include <algorithm>
#include <memory>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include "assess/quiet.h"
#include "assess/worst_points.h"
#include "geo/context.h"
#include "geo/handles.h"

namespace orv::inventory {

void object_best::take(const object_hit& hit, std::uint64_t dam_row, const std::string& id) {
    if (hit.open && open++ == 0) {
        why = "Anlage " + id + ": " + hit.why;
        if (level == no_level) st = hit.st;
    }
    judged = true;
    if (hit.level == no_level) return;
    const bool higher =
        hit.level > level || (hit.level == level && (hit.h > h || (hit.h == h && hit.q > q)));
    if (!higher) return;
    level = hit.level;
    h = hit.h;
    q = hit.q;
    east = hit.east;
    north = hit.north;
    row = dam_row;
    dam = id;
    st = hit.st;
}

namespace {

enum our_field { o_level, o_h, o_q, o_dam, o_row, o_fid, o_state, o_open, o_why, o_label, n_ours };
const char* const ours[n_ours] = {"orv_level", "orv_h",     "orv_q",    "orv_dam", "orv_row",
                                  "orv_fid",   "orv_state", "orv_open", "orv_why", "orv_label"};
const OGRFieldType our_types[n_ours] = {OFTInteger,   OFTReal,      OFTReal,   OFTString,
                                        OFTInteger64, OFTInteger64, OFTString, OFTInteger64,
                                        OFTString,    OFTString};

// Sets the fields of one object from first on: what the dams made of it.
void set_ours(OGRFeature& f, int first, std::int64_t o, const std::vector<object_best>& best,
              std::uint64_t dams) {
    if (o == object_index::unreadable) {
        f.SetField(first + o_open, static_cast<GIntBig>(dams));
        f.SetField(first + o_why, "Geometrie nicht lesbar");
        return;
    }
    if (o < 0) return;
    const object_best& b = best[static_cast<std::size_t>(o)];
    if (b.level != no_level) {
        f.SetField(first + o_level, b.level);
        f.SetField(first + o_h, static_cast<double>(b.h));
        f.SetField(first + o_q, static_cast<double>(b.q));
        f.SetField(first + o_dam, b.dam.c_str());
        f.SetField(first + o_row, static_cast<GIntBig>(b.row));
    }
    if (b.judged) f.SetField(first + o_state, assess::state_key(b.st));
    f.SetField(first + o_open, static_cast<GIntBig>(b.open));
    if (b.open) f.SetField(first + o_why, b.why.c_str());
}

bool is_ours(const char* name) {
    for (const char* n : ours)
        if (EQUAL(n, name)) return true;
    return false;
}

// Creates the source's fields in out, but for ours and, for a CSV, its WKT
// column, then ours; the map from the source's fields to out's, and in
// first where ours begin. False, naming the field, when out refuses one.
bool copy_fields(OGRLayer& in, OGRLayer& out, bool csv, int& first, std::vector<int>& map,
                 std::string& why) {
    OGRFeatureDefn* def = in.GetLayerDefn();
    map.clear();
    // A field the format refuses would shift every later value into the
    // field before it: the layer is not written then.
    auto refused = [&](const char* field) {
        why = "Feld " + std::string(field) + " nicht anlegbar";
        return false;
    };
    for (int k = 0; k < def->GetFieldCount(); ++k) {
        const char* field = def->GetFieldDefn(k)->GetNameRef();
        if (is_ours(field) || (csv && EQUAL(field, "WKT"))) {
            map.push_back(-1);
            continue;
        }
        if (out.CreateField(def->GetFieldDefn(k)) != OGRERR_NONE) return refused(field);
        map.push_back(out.GetLayerDefn()->GetFieldCount() - 1);
    }
    first = out.GetLayerDefn()->GetFieldCount();
    for (int k = 0; k < n_ours; ++k) {
        OGRFieldDefn f(ours[k], our_types[k]);
        if (out.CreateField(&f) != OGRERR_NONE) return refused(ours[k]);
    }
    return true;
}

// What write_objects writes of one layer besides the features, and where
// the worst points of its objects go (null for nowhere).
struct layer_copy {
    OGRLayer* out;
    std::string name;
    std::vector<int> map;
    int first;
    int label_field;              // the --label field of the source's layer, -1 for the feature id
    assess::worst_points* points; // where the worst points go; null for none
};

// Writes each feature of l with its best level (order: its objects'
// indices) into c.out in one transaction; false with why.
bool copy_features(const assess::layer_in& l, const layer_copy& c,
                   const std::vector<std::int64_t>& order, const std::vector<object_best>& best,
                   std::uint64_t dams, const assess::quiet_gdal& q, std::string& why) {
    const bool tx = c.out->StartTransaction() == OGRERR_NONE;
    l.layer->ResetReading();
    std::size_t k = 0;
    while (OGRFeature* in = l.layer->GetNextFeature()) {
        const geo::feature_handle own(in);
        const std::int64_t o = k < order.size() ? order[k] : -1;
        ++k;
        OGRFeature f(c.out->GetLayerDefn());
        f.SetFrom(in, c.map.data(), TRUE);
        f.SetFID(in->GetFID());
        f.SetField(c.first + o_fid, static_cast<GIntBig>(in->GetFID()));
        f.SetField(c.first + o_label, label_of(*in, c.label_field).c_str());
        set_ours(f, c.first, o, best, dams);
        if (c.out->CreateFeature(&f) != OGRERR_NONE) {
            why = "Ebene " + c.name + ", Objekt " + std::to_string(in->GetFID()) +
                  " nicht schreibbar: " + q.last();
            return false;
        }
        if (c.points && o >= 0 && best[static_cast<std::size_t>(o)].level != no_level) {
            const object_best& b = best[static_cast<std::size_t>(o)];
            c.points->add(b.east, b.north, b.level, in->GetFID(), label_of(*in, c.label_field));
        }
    }
    if (tx && c.out->CommitTransaction() != OGRERR_NONE) {
        why = "Ebene " + c.name + " nicht schreibbar: " + q.last();
        return false;
    }
    return true;
}

// Writes the worst points into ds, or into a new dataset at path (driver
// d) when that is not the objects' own file; false with why.
bool write_points(const assess::worst_points& pts, GDALDriver& d, GDALDataset& ds,
                  const std::string& path, const std::string& own, const OGRSpatialReference* srs,
                  bool csv, const assess::quiet_gdal& q, std::string& why) {
    if (path == own) return pts.write(ds, srs, csv, why);
    geo::dataset_handle side(d.Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    if (!side) {
        why = "Datei " + std::string(assess::worst_layer) + " nicht anlegbar: " + q.last();
        return false;
    }
    if (!pts.write(*side, srs, csv, why)) return false;
    GDALClose(side.release());
    if (!q.last().empty()) {
        why = "Datei " + std::string(assess::worst_layer) + " nicht schreibbar: " + q.last();
        return false;
    }
    return true;
}

} // namespace

bool write_objects(const std::string& path, const std::string& driver, const object_index& idx,
                   const std::vector<object_best>& best, std::uint64_t dams,
                   const std::string& points, std::string& why) {
    assess::quiet_gdal q;
    assess::worst_points pts;
    GDALDriver* d = geo::driver(driver);
    geo::dataset_handle ds(d ? d->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr) : nullptr);
    if (!ds) {
        why = "Format " + driver + " nicht schreibbar";
        return false;
    }
    std::vector<std::string> names;
    for (std::size_t li = 0; li < idx.layers().size(); ++li) {
        const assess::layer_in& l = idx.layers()[li];
        std::string name = l.name;
        for (int k = 2; std::find(names.begin(), names.end(), name) != names.end(); ++k)
            name = l.name + "_" + std::to_string(k);
        names.push_back(name);
        // A CSV keeps the geometry in a column WKT, replacing a source's own.
        const bool csv = driver == "CSV";
        CPLStringList options;
        if (csv) options.SetNameValue("GEOMETRY", "AS_WKT");
        OGRLayer* out = ds->CreateLayer(name.c_str(),
                                        const_cast<OGRSpatialReference*>(l.layer->GetSpatialRef()),
                                        l.layer->GetGeomType(), options.List());
        if (!out) {
            why = "Ebene " + name + " nicht anlegbar: " + q.last();
            return false;
        }
        layer_copy c{out, name, {}, 0, idx.label_fields()[li], points.empty() ? nullptr : &pts};
        if (!copy_fields(*l.layer, *out, csv, c.first, c.map, why)) {
            why = "Ebene " + name + ": " + why;
            return false;
        }
        pts.begin_layer(name);
        if (!copy_features(l, c, idx.order()[li], best, dams, q, why)) return false;
    }
    if (!points.empty() &&
        !write_points(pts, *d, *ds, points, path, idx.site_crs(), driver == "CSV", q, why))
        return false;
    GDALClose(ds.release());
    if (!q.last().empty()) {
        why = q.last();
        return false;
    }
    return true;
}

} // namespace orv::inventory
