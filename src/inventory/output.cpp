// Writing the register back as CSV or through OGR.
#include "inventory/output.h"

#include <charconv>
#include <cstdio>
#include <utility>

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <cerrno>

#include "assess/quiet.h"
#include "geo/context.h"
#include "geo/handles.h"
#include "io/os_error.h"

namespace orv::inventory {

const char* const added_names[n_added] = {
    "orv_row",   "orv_reach1", "orv_reach2", "orv_reach3", "orv_width1", "orv_width2", "orv_width3",
    "orv_area1", "orv_area2",  "orv_area3",  "orv_cut",    "orv_obj0",   "orv_obj1",   "orv_obj2",
    "orv_obj3",  "orv_open",   "orv_answer", "orv_error",  "orv_names"};

namespace {

enum added {
    a_row,
    a_reach = 1,
    a_width = 4,
    a_area = 7,
    a_cut = 10,
    a_obj = 11,
    a_open = 15,
    a_answer = 16,
    a_error = 17,
    a_names = 18
};

// The shortest text of v that reads back, with dec for the point.
std::string number(double v, char dec) {
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    std::string s(buf, r.ptr);
    for (char& c : s)
        if (c == '.') c = dec;
    return s;
}

// The OGR type of added field k.
OGRFieldType added_type(int k) {
    if (k >= a_reach && k < a_cut) return OFTReal;
    if (k == a_cut) return OFTInteger;
    if (k == a_answer || k == a_error || k == a_names) return OFTString;
    return OFTInteger64;
}

} // namespace

std::string added_text(const dam_row& d, int k, char dec) {
    if (k == a_row) return std::to_string(d.row);
    if (k == a_error) return d.error;
    if (!d.error.empty()) return "";
    const dam_result& r = d.res;
    if (k < a_width) {
        const map::zone& z = r.fig.zones[k - a_reach];
        return z.cells ? number(z.reach, dec) : "";
    }
    if (k < a_area) {
        const map::zone& z = r.fig.zones[k - a_width];
        return z.cells ? number(z.half_width, dec) : "";
    }
    if (k < a_cut) {
        // No cell at the level: no area was computed, not an area of 0.
        const map::zone& z = r.fig.zones[k - a_area];
        return z.cells ? number(z.area, dec) : "";
    }
    if (k == a_cut) return r.cut == no_level ? "" : std::to_string(r.cut);
    if (k < a_open) return std::to_string(r.obj[k - a_obj]);
    if (k == a_open) return std::to_string(r.open);
    if (k == a_names) return r.names;
    return answer_key(r.ans);
}

namespace {

// A field for a CSV line: quoted when it holds the delimiter, a quote or a line end.
std::string csv_field(const std::string& s, char delim) {
    if (s.find_first_of(std::string("\"\r\n") + delim) == std::string::npos) return s;
    std::string q = "\"";
    for (char c : s) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + "\"";
}

// True when name is one of the fields a dam adds, in any case: a
// register that holds them (an earlier run's output) gets them anew.
bool is_added(const std::string& name) {
    for (const char* a : added_names)
        if (EQUAL(a, name.c_str())) return true;
    return false;
}

class csv_out : public dam_writer {
  public:
    csv_out(std::FILE* f, char delim, char dec) : f_(f), delim_(delim), dec_(dec) {}

    bool begin(const record* h, OGRLayer*, std::string& why) override {
        width_ = h->fields.size();
        for (const std::string& n : h->fields) {
            kept_.push_back(!is_added(n));
            all_kept_ = all_kept_ && kept_.back();
        }
        std::string s = h->mark + kept(*h);
        for (const char* n : added_names) (s += delim_) += n;
        return put(s + h->end, why);
    }
    bool write(const dam_row& d, std::string& why) override {
        std::string s = kept(d.rec);
        for (int k = 0; k < n_added; ++k)
            (s += delim_) += csv_field(added_text(d, k, dec_), delim_);
        return put(s + d.rec.end, why);
    }
    bool blank(const record& r, std::string& why) override { return put(r.bytes + r.end, why); }
    bool finish(std::string& why) override {
        if (std::fflush(f_) == 0) return true;
        why = io::os_error(errno, io::use::write);
        return false;
    }

  private:
    // The record's bytes as the header's fields: those of the register's
    // own columns as they are, a short row filled with empty fields, a long
    // one cut to the header's width (its error names what was cut).
    std::string kept(const record& r) const {
        if (all_kept_ && r.fields.size() == width_) return r.bytes;
        const std::vector<span> spans = field_spans(r.bytes, delim_);
        std::string s;
        bool first = true;
        for (std::size_t k = 0; k < width_; ++k) {
            if (!kept_[k]) continue;
            if (!first) s += delim_;
            first = false;
            if (k < spans.size()) s.append(r.bytes, spans[k].from, spans[k].to - spans[k].from);
        }
        return s;
    }

    bool put(const std::string& s, std::string& why) {
        if (std::fwrite(s.data(), 1, s.size(), f_) == s.size()) return true;
        why = io::os_error(errno, io::use::write);
        return false;
    }

    std::FILE* f_;
    char delim_, dec_;
    std::size_t width_ = 0;
    std::vector<bool> kept_; // per header field: not one of the added ones
    bool all_kept_ = true;
};

class vector_out : public dam_writer {
  public:
    bool open(const std::string& path, const std::string& driver, const std::string& name,
              const OGRSpatialReference* srs, std::string& why) {
        name_ = name;
        srs_ = srs;
        GDALDriver* d = geo::driver(driver);
        if (d) ds_.reset(d->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
        if (!ds_) {
            why = "Format " + driver + " nicht schreibbar";
            return false;
        }
        return true;
    }

    bool begin(const record* h, OGRLayer* in, std::string& why) override {
        const OGRSpatialReference* srs = in ? in->GetSpatialRef() : srs_;
        const OGRwkbGeometryType gt = in ? in->GetGeomType() : wkbPoint;
        layer_ =
            ds_->CreateLayer(name_.c_str(), const_cast<OGRSpatialReference*>(srs), gt, nullptr);
        if (!layer_) {
            why = "Ebene " + name_ + " nicht anlegbar";
            return false;
        }
        if (h) {
            for (const std::string& n : h->fields) {
                if (is_added(n)) {
                    map_.push_back(-1);
                    continue;
                }
                OGRFieldDefn f(n.c_str(), field_type(map_.size()));
                if (layer_->CreateField(&f) != OGRERR_NONE) return fail("Feld " + n, why);
                map_.push_back(layer_->GetLayerDefn()->GetFieldCount() - 1);
            }
        } else {
            OGRFeatureDefn* def = in->GetLayerDefn();
            for (int k = 0; k < def->GetFieldCount(); ++k) {
                OGRFieldDefn* f = def->GetFieldDefn(k);
                if (is_added(f->GetNameRef())) {
                    map_.push_back(-1);
                    continue;
                }
                if (layer_->CreateField(f) != OGRERR_NONE)
                    return fail(std::string("Feld ") + f->GetNameRef(), why);
                map_.push_back(layer_->GetLayerDefn()->GetFieldCount() - 1);
            }
        }
        first_ = layer_->GetLayerDefn()->GetFieldCount();
        for (int k = 0; k < n_added; ++k) {
            OGRFieldDefn f(added_names[k], added_type(k));
            if (layer_->CreateField(&f) != OGRERR_NONE)
                return fail(std::string("Feld ") + added_names[k], why);
        }
        // One transaction for all rows where the driver has them: much faster.
        in_transaction_ = layer_->StartTransaction() == OGRERR_NONE;
        return true;
    }

    bool write(const dam_row& d, std::string& why) override {
        OGRFeature f(layer_->GetLayerDefn());
        if (d.feature) {
            f.SetFrom(d.feature.get(), map_.data(), TRUE);
            f.SetFID(d.feature->GetFID());
        } else {
            for (std::size_t k = 0; k < d.rec.fields.size() && k < map_.size(); ++k)
                if (map_[k] >= 0 && !set_cell(f, map_[k], d.rec.fields[k], kind(k), cols_.dec, why))
                    return fail_row(d, why);
            if (d.located) {
                OGRPoint p(d.e, d.n);
                f.SetGeometry(&p);
            }
        }
        for (int k = 0; k < n_added; ++k) {
            const std::string t = added_text(d, k, '.');
            if (t.empty()) continue;
            const int i = first_ + k;
            switch (added_type(k)) {
            case OFTReal: f.SetField(i, std::strtod(t.c_str(), nullptr)); break;
            case OFTInteger: f.SetField(i, std::stoi(t)); break;
            case OFTInteger64: f.SetField(i, static_cast<GIntBig>(std::stoull(t))); break;
            default: f.SetField(i, t.c_str());
            }
        }
        if (layer_->CreateFeature(&f) != OGRERR_NONE) return fail("Anlage " + d.id, why);
        return true;
    }

    bool blank(const record&, std::string&) override { return true; }

    bool finish(std::string& why) override {
        assess::quiet_gdal q;
        bool ok = !in_transaction_ || layer_->CommitTransaction() == OGRERR_NONE;
        GDALClose(ds_.release());
        ok = ok && q.last().empty();
        if (!ok) {
            why = q.last().empty() ? "nicht vollstaendig geschrieben" : q.last();
            return false;
        }
        return true;
    }

    void set_columns(csv_columns cols) { cols_ = std::move(cols); }

  private:
    // The kind of the CSV register's column k: text unless it was scanned.
    column_kind kind(std::size_t k) const {
        return k < cols_.kinds.size() ? cols_.kinds[k] : column_kind::text;
    }
    OGRFieldType field_type(std::size_t k) const {
        switch (kind(k)) {
        case column_kind::int32: return OFTInteger;
        case column_kind::int64: return OFTInteger64;
        case column_kind::real: return OFTReal;
        default: return OFTString;
        }
    }
    bool fail_row(const dam_row& d, std::string& why) {
        why = "Anlage " + d.id + ": " + why;
        return false;
    }

    bool fail(const std::string& what, std::string& why) {
        const char* m = CPLGetLastErrorMsg();
        why = what + " nicht schreibbar" + (m && *m ? std::string(": ") + m : "");
        return false;
    }

    std::string name_;
    const OGRSpatialReference* srs_ = nullptr;
    geo::dataset_handle ds_;
    OGRLayer* layer_ = nullptr;
    std::vector<int> map_;
    int first_ = 0;
    bool in_transaction_ = false;
    csv_columns cols_;
};

} // namespace

std::unique_ptr<dam_writer> csv_writer(std::FILE* f, char delim, char dec) {
    return std::make_unique<csv_out>(f, delim, dec);
}

std::unique_ptr<dam_writer> vector_writer(const std::string& path, const std::string& driver,
                                          const std::string& name, const OGRSpatialReference* srs,
                                          std::string& why, csv_columns cols) {
    auto w = std::make_unique<vector_out>();
    if (!w->open(path, driver, name, srs, why)) return nullptr;
    w->set_columns(std::move(cols));
    return w;
}

} // namespace orv::inventory
