// Vector output through OGR's C++ interface.
#include "assess/output.h"

#include <cstring>
#include <optional>
#include <vector>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include "assess/quiet.h"
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
    f_count
};
constexpr const char* field_names[f_count] = {
    "orv_level", "orv_crit",  "orv_q",     "orv_v",   "orv_h",     "orv_he",   "orv_x",  "orv_y",
    "orv_n",     "orv_nores", "orv_start", "orv_end", "orv_state", "orv_open", "orv_why"};

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
    std::optional<style::object_look> look;
};

layer_writer::layer_writer() : st_(std::make_unique<state>()) {}

// An unfinished file is closed and removed with its directory.
layer_writer::~layer_writer() {
    if (st_->ds) {
        quiet_gdal q;
        GDALClose(st_->ds);
    }
}

bool layer_writer::open(const std::string& path, const std::string& driver, std::string& why,
                        bool& usage) {
    register_drivers();
    usage = false;
    st_->driver = geo::driver(driver);
    if (!st_->driver) {
        why = "-o " + path + ": Treiber " + driver + " fehlt";
        return false;
    }
    st_->path = path;
    io::maybe_failure f = st_->outs.add("-o", path, io::way::dataset, st_->id);
    if (!f && st_->outs.replaces(st_->id)) st_->outs.own_files(st_->id, geo::listed_files(path, geo::kinds::vector));
    if (!f) f = st_->outs.stage();
    if (f) {
        why = f->text;
        usage = f->kind == io::fault::same_target;
        return false;
    }
    quiet_gdal q;
    st_->ds = st_->driver->Create(st_->outs.path(st_->id).c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    if (!st_->ds) {
        why = "-o " + path + ": nicht anlegbar";
        return false;
    }
    return true;
}

bool layer_writer::add_layer(OGRLayer& in, const std::string& name, const OGRSpatialReference* srs,
                             std::string& why) {
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
        why = "Ebene " + name + " nicht anlegbar";
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
        if (field_type(k) == OFTReal) d.SetSubType(OFSTFloat32);
        if (out->CreateField(&d, TRUE) != OGRERR_NONE) {
            why = std::string("Feld ") + field_names[k] + " nicht anlegbar";
            return false;
        }
        st_->own[k] = out->GetLayerDefn()->GetFieldCount() - 1;
    }
    st_->layer = out;
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
    auto maybe_real = [&](int k, real value) {
        if (result)
            out.SetField(own[k], static_cast<double>(value));
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
    return true;
}

void layer_writer::styled(const style::object_look& l) {
    st_->look = l;
}

bool layer_writer::commit(std::string& why) {
    quiet_gdal q;
    bool ok = true;
    if (st_->in_transaction) ok = st_->ds->CommitTransaction() == OGRERR_NONE;
    st_->in_transaction = false;
    GDALClose(st_->ds);
    st_->ds = nullptr;
    ok = ok && q.last().empty();
    if (!ok) {
        why = "-o " + st_->path +
              ": nicht vollstaendig geschrieben (Speicherplatz oder "
              "Dateigroesse erschoepft?)";
        return false;
    }
    if (st_->look) {
        if (io::maybe_failure f = st_->outs.check_written(st_->id)) {
            why = f->text;
            return false;
        }
        if (!style::style_objects_file(st_->outs.path(st_->id), *st_->look, why)) {
            why = "-o " + st_->path + ": " + why;
            return false;
        }
    }
    if (io::maybe_failure f = st_->outs.commit()) {
        why = f->text;
        return false;
    }
    return true;
}

} // namespace orv::assess
