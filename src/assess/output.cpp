// Vector output through OGR's C++ interface.
#include "assess/output.h"

#include <cstring>
#include <optional>
#include <vector>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include "assess/quiet.h"
#include "assess/worst_points.h"
#include "geo/context.h"
#include "geo/dataset_files.h"
#include "geo/drivers.h"
#include "io/output.h"
#include "style/outputs.h"

namespace orv::assess {

namespace {

// The fields the judgement adds, in their order.
enum field {
    f_level,
    f_crit,
    f_q,
    f_v,
    f_h,
    f_he,
    f_x,
    f_y,
    f_n,
    f_nores,
    f_start,
    f_end,
    f_state,
    f_open,
    f_why,
    f_east,
    f_north,
    f_count
};
constexpr const char* field_names[f_count] = {
    "orv_level", "orv_crit", "orv_q",   "orv_v",     "orv_h",     "orv_he",
    "orv_x",     "orv_y",    "orv_n",   "orv_nores", "orv_start", "orv_end",
    "orv_state", "orv_open", "orv_why", "orv_east",  "orv_north"};

bool ours(const char* name) {
    for (const char* f : field_names) {
        if (EQUAL(f, name)) return true;
    }
    return false;
}

OGRFieldType field_type(int k) {
    switch (k) {
    case f_crit:
    case f_state:
    case f_why: return OFTString;
    case f_n:
    case f_nores: return OFTInteger64;
    case f_level:
    case f_open:
    case f_start:
    case f_end: return OFTInteger;
    default: return OFTReal;
    }
}

// True when the driver's layer creation options name option.
bool takes(GDALDriver* d, const char* option) {
    const char* list = d->GetMetadataItem(GDAL_DS_LAYER_CREATIONOPTIONLIST);
    return list && std::strstr(list, (std::string("name='") + option + "'").c_str());
}

// ": das Format GPX kann keine Polygone speichern" when the format refused
// a layer of in's geometry type (polygons, lines, or a type left open as a
// CSV's WKT column leaves it) but takes a layer of points in ds, which is
// discarded with the failed run; "" when the type is not the reason.
std::string type_refused(GDALDataset& ds, GDALDriver& d, OGRLayer& in) {
    const OGRwkbGeometryType t = wkbFlatten(in.GetGeomType());
    if (t == wkbPoint || !ds.CreateLayer("orv_probe", nullptr, wkbPoint, nullptr)) return "";
    const bool areas =
        OGR_GT_IsSubClassOf(t, wkbCurvePolygon) || OGR_GT_IsSubClassOf(t, wkbMultiSurface);
    const bool lines = OGR_GT_IsSubClassOf(t, wkbCurve) || OGR_GT_IsSubClassOf(t, wkbMultiCurve);
    const std::string what = areas   ? "keine Polygone"
                             : lines ? "keine Linien"
                                     : "keine Ebene ohne festen Geometrietyp";
    return std::string(": das Format ") + d.GetDescription() + " kann " + what + " speichern";
}

} // namespace

std::string choose_driver(const std::string& path, std::string& why) {
    return geo::vector_writer(path, why);
}

bool holds_layers(const std::string& driver) {
    register_drivers();
    GDALDriver* d = geo::driver(driver);
    return d && geo::has(d, GDAL_DCAP_MULTIPLE_VECTOR_LAYERS);
}

struct layer_writer::state {
    io::output_set outs;
    std::size_t id = 0;
    std::string path; // as given
    GDALDriver* driver = nullptr;
    GDALDataset* ds = nullptr;
    OGRLayer* layer = nullptr;
    bool in_transaction = false;
    std::vector<int> map;  // input field -> output field, -1 for replaced ones
    int own[f_count] = {}; // output index of each orv_ field
    // The worst points: gathered while the layers are written, then put
    // into ds, or into side_ds beside it for a format of one layer.
    bool points = false;
    const OGRSpatialReference* site = nullptr;
    int label_field = -1;
    worst_points pts;
    std::size_t side_id = 0;
    GDALDataset* side_ds = nullptr;
    std::optional<style::object_look> look;
};

layer_writer::layer_writer() : st_(std::make_unique<state>()) {}

// An unfinished file is closed and removed with its directory.
layer_writer::~layer_writer() {
    quiet_gdal q;
    if (st_->ds) GDALClose(st_->ds);
    if (st_->side_ds) GDALClose(st_->side_ds);
}

namespace {

// Adds the dataset output path to outs under label; an existing dataset's
// files are its own, to be replaced or removed with it.
io::maybe_failure add_dataset(io::output_set& outs, const char* label, const std::string& path,
                              std::size_t& id) {
    io::maybe_failure f = outs.add(label, path, io::way::dataset, id);
    if (!f && outs.replaces(id)) outs.own_files(id, geo::listed_files(path, geo::kinds::vector));
    return f;
}

} // namespace

bool layer_writer::open(const output_target& t, std::string& why, bool& usage) {
    register_drivers();
    usage = false;
    st_->driver = geo::driver(t.driver);
    if (!st_->driver) {
        why = "-o " + t.path + ": Treiber " + t.driver + " fehlt";
        return false;
    }
    st_->path = t.path;
    st_->points = t.points;
    st_->site = t.site;
    const bool side = t.points && !holds_layers(t.driver);
    io::maybe_failure f = add_dataset(st_->outs, "-o", t.path, st_->id);
    if (!f && side)
        f = add_dataset(st_->outs, "--worst-points", worst_points_path(t.path), st_->side_id);
    if (!f) f = st_->outs.stage();
    if (f) {
        why = f->text;
        usage = f->kind == io::fault::same_target;
        return false;
    }
    quiet_gdal q;
    st_->ds = st_->driver->Create(st_->outs.path(st_->id).c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    if (!st_->ds) {
        why = "-o " + t.path + ": nicht anlegbar";
        return false;
    }
    if (side) {
        st_->side_ds = st_->driver->Create(st_->outs.path(st_->side_id).c_str(), 0, 0, 0,
                                           GDT_Unknown, nullptr);
        if (!st_->side_ds) {
            why = "--worst-points " + worst_points_path(t.path) + ": nicht anlegbar";
            return false;
        }
    }
    return true;
}

bool layer_writer::add_layer(OGRLayer& in, const std::string& name, const OGRSpatialReference* srs,
                             int label_field, std::string& why) {
    quiet_gdal q;
    if (st_->in_transaction) {
        if (st_->ds->CommitTransaction() != OGRERR_NONE) {
            why = "nicht schreibbar";
            return false;
        }
        st_->in_transaction = false;
    }
    OGRFeatureDefn* defn = in.GetLayerDefn();
    CPLStringList options;
    const char* geom_name =
        defn->GetGeomFieldCount() ? defn->GetGeomFieldDefn(0)->GetNameRef() : "";
    // A CSV keeps the geometry as text in a column WKT, so that it reads
    // back as the same objects; a WKT column of a CSV source gives way to it.
    const bool csv = EQUAL(st_->driver->GetDescription(), "CSV");
    if (csv)
        options.SetNameValue("GEOMETRY", "AS_WKT");
    else if (geom_name && *geom_name && takes(st_->driver, "GEOMETRY_NAME"))
        options.SetNameValue("GEOMETRY_NAME", geom_name);
    const char* fid = in.GetFIDColumn();
    if (fid && *fid && takes(st_->driver, "FID")) options.SetNameValue("FID", fid);
    OGRSpatialReference* own = srs ? srs->Clone() : nullptr;
    OGRLayer* out = st_->ds->CreateLayer(name.c_str(), own, in.GetGeomType(), options.List());
    if (own) own->Release();
    if (!out) {
        why = "Ebene " + name + " nicht anlegbar" + type_refused(*st_->ds, *st_->driver, in);
        return false;
    }
    st_->map.assign(static_cast<std::size_t>(defn->GetFieldCount()), -1);
    for (int i = 0; i < defn->GetFieldCount(); ++i) {
        OGRFieldDefn* f = defn->GetFieldDefn(i);
        if (ours(f->GetNameRef()) || (csv && EQUAL(f->GetNameRef(), "WKT"))) continue;
        if (out->CreateField(f, TRUE) != OGRERR_NONE) {
            why = std::string("Feld ") + f->GetNameRef() + " nicht anlegbar";
            return false;
        }
        st_->map[static_cast<std::size_t>(i)] = out->GetLayerDefn()->GetFieldCount() - 1;
    }
    for (int k = 0; k < f_count; ++k) {
        OGRFieldDefn d(field_names[k], field_type(k));
        // The model's numbers are Reals; the worst point's place is a double.
        if (field_type(k) == OFTReal && k != f_east && k != f_north) d.SetSubType(OFSTFloat32);
        if (out->CreateField(&d, TRUE) != OGRERR_NONE) {
            why = std::string("Feld ") + field_names[k] + " nicht anlegbar";
            return false;
        }
        st_->own[k] = out->GetLayerDefn()->GetFieldCount() - 1;
    }
    st_->layer = out;
    st_->label_field = label_field;
    if (st_->points) st_->pts.begin_layer(name);
    st_->in_transaction = st_->ds->StartTransaction() == OGRERR_NONE;
    return true;
}

namespace {

// Sets the result fields of out (at the indices own) from the verdict v.
void set_results(OGRFeature& out, const int* own, const verdict& v, const levels& lv, int from) {
    const bool result = v.level != no_level;
    auto maybe_int = [&](int k, int value) {
        if (value != no_level)
            out.SetField(own[k], value);
        else
            out.SetFieldNull(own[k]);
    };
    // A Real widens exactly; the worst point's place is a double already.
    auto maybe_real = [&](int k, double value) {
        if (result)
            out.SetField(own[k], value);
        else
            out.SetFieldNull(own[k]);
    };
    maybe_int(f_level, v.level);
    if (const char* c = criterion(v, lv))
        out.SetField(own[f_crit], c);
    else
        out.SetFieldNull(own[f_crit]);
    maybe_real(f_q, v.worst.q);
    maybe_real(f_v, v.worst.v);
    maybe_real(f_h, v.worst.h);
    maybe_real(f_he, v.worst.he);
    maybe_real(f_x, v.x);
    maybe_real(f_y, v.y);
    maybe_real(f_east, v.east);
    maybe_real(f_north, v.north);
    // An unreadable feature was never sampled: its counts are unknown, not 0.
    if (v.failed) {
        out.SetFieldNull(own[f_n]);
        out.SetFieldNull(own[f_nores]);
    } else {
        out.SetField(own[f_n], static_cast<GIntBig>(v.n));
        out.SetField(own[f_nores], static_cast<GIntBig>(v.nores));
    }
    maybe_int(f_start, v.start);
    maybe_int(f_end, v.end);
    out.SetField(own[f_state], state_key(v.st));
    const bool open = is_open(v, from);
    out.SetField(own[f_open], open ? 1 : 0);
    if (open)
        out.SetField(own[f_why], open_reason(v, from).c_str());
    else
        out.SetFieldNull(own[f_why]);
}

} // namespace

bool layer_writer::write(const OGRFeature& in, const verdict& v, const levels& lv, int from,
                         std::string& why) {
    quiet_gdal q;
    OGRFeature out(st_->layer->GetLayerDefn());
    out.SetFrom(&in, st_->map.data(), TRUE);
    set_results(out, st_->own, v, lv, from);
    out.SetFID(in.GetFID());
    OGRErr e = st_->layer->CreateFeature(&out);
    if (e != OGRERR_NONE && in.GetFID() != OGRNullFID) {
        // A driver that numbers features itself.
        out.SetFID(OGRNullFID);
        e = st_->layer->CreateFeature(&out);
    }
    if (e != OGRERR_NONE) {
        why = "Objekt " + std::to_string(in.GetFID()) +
              " nicht schreibbar (Geometrietyp oder Feld passt nicht zum Format?)";
        return false;
    }
    if (st_->points && v.level != no_level) {
        const int k = st_->label_field;
        st_->pts.add(v.east, v.north, v.level, in.GetFID(),
                     k >= 0 && in.IsFieldSetAndNotNull(k) ? in.GetFieldAsString(k)
                                                          : std::to_string(in.GetFID()));
    }
    return true;
}

// The worst points into the output, or into the file beside it.
bool layer_writer::write_points(std::string& why) {
    GDALDataset* ds = st_->side_ds ? st_->side_ds : st_->ds;
    const bool csv = EQUAL(st_->driver->GetDescription(), "CSV");
    std::string reason;
    if (st_->pts.write(*ds, st_->site, csv, reason)) return true;
    why = (st_->side_ds ? "--worst-points " + worst_points_path(st_->path) : "-o " + st_->path) +
          ": " + reason;
    return false;
}

void layer_writer::styled(const style::object_look& l) {
    st_->look = l;
}

// The style of each written file, read back complete: the judged layers,
// and the worst points where they lie beside them.
bool layer_writer::style(bool side, std::string& why) {
    if (!st_->look) return true;
    io::maybe_failure f = st_->outs.check_written(st_->id);
    if (!f && side) f = st_->outs.check_written(st_->side_id);
    if (f) {
        why = f->text;
        return false;
    }
    if (!style::style_objects_file(st_->outs.path(st_->id), *st_->look, why)) {
        why = "-o " + st_->path + ": " + why;
        return false;
    }
    if (side && !style::style_worst_points_file(st_->outs.path(st_->side_id), *st_->look, why)) {
        why = "--worst-points " + worst_points_path(st_->path) + ": " + why;
        return false;
    }
    return true;
}

bool layer_writer::commit(std::string& why) {
    quiet_gdal q;
    bool ok = true;
    if (st_->in_transaction) ok = st_->ds->CommitTransaction() == OGRERR_NONE;
    st_->in_transaction = false;
    if (ok && st_->points && !write_points(why)) return false;
    const char* full = ": nicht vollstaendig geschrieben (Speicherplatz oder "
                       "Dateigroesse erschoepft?)";
    GDALClose(st_->ds);
    st_->ds = nullptr;
    ok = ok && q.last().empty();
    if (!ok) {
        why = "-o " + st_->path + full;
        return false;
    }
    const bool side = st_->side_ds != nullptr;
    if (side) {
        GDALClose(st_->side_ds);
        st_->side_ds = nullptr;
        if (!q.last().empty()) {
            why = "--worst-points " + worst_points_path(st_->path) + full;
            return false;
        }
    }
    if (!style(side, why)) return false;
    if (io::maybe_failure f = st_->outs.commit()) {
        why = f->text;
        return false;
    }
    return true;
}

} // namespace orv::assess
