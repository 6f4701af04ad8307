// The run over a register: rows read in batches on the calling thread, the
// dams of a batch computed on all cores, one dam per thread, and written in
// the register's order; memory holds one batch and one map per thread.
#include "inventory/run.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <thread>

#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include "assess/judge.h"
#include "assess/output.h"
#include "assess/quiet.h"
#include "base/workers.h"
#include "batch/columns.h"
#include "draw/style.h"
#include "geo/area.h"
#include "geo/context.h"
#include "geo/dataset_files.h"
#include "inventory/csv_register.h"
#include "inventory/objects.h"
#include "inventory/objects_out.h"
#include "inventory/output.h"
#include "inventory/reports.h"
#include "inventory/zones.h"
#include "io/guard.h"
#include "io/os_error.h"
#include "io/output.h"
#include "io/path.h"
#include "raster/zones.h"
#include "report/hashes.h"

namespace orv::inventory {

namespace {

using io::extension;

// Rows per batch and thread: enough that a slow dam rarely idles the others.
constexpr std::size_t rows_per_thread = 8;

// The file name of path without directory and extension.
std::string stem(const std::string& path) {
    const auto slash = path.rfind('/');
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = base.rfind('.');
    if (dot != std::string::npos && dot > 0) base.erase(dot);
    return base.empty() ? "anlagen" : base;
}

struct dataset_close {
    void operator()(GDALDataset* d) const { GDALClose(d); }
};
struct feature_free {
    void operator()(OGRFeature* f) const { OGRFeature::DestroyFeature(f); }
};
struct transform_free {
    void operator()(OGRCoordinateTransformation* c) const {
        OGRCoordinateTransformation::DestroyCT(c);
    }
};

// The register, as CSV or as a vector layer of points.
class register_in {
  public:
    register_in(const request& r) : r_(r), cols_(r.values) {}

    bool open(const OGRSpatialReference* site, std::string& why) {
        csv_ = is_csv_name(r_.path);
        return csv_ ? open_csv(why) : open_vector(site, why);
    }
    bool csv() const { return csv_; }
    const record& header() const { return header_; }
    OGRLayer* layer() const { return layer_; }
    const OGRSpatialReference* srs() const { return layer_ ? layer_->GetSpatialRef() : nullptr; }
    char dec() const { return dec_; }
    char delim() const { return csv_ ? in_.delim() : ','; }
    double share() const {
        return in_.size() ? static_cast<double>(in_.consumed()) / static_cast<double>(in_.size())
                          : 0;
    }

    // The next row into d (d.row 0 for an empty line); false at the end
    // or on a read error (why set).
    bool next(dam_row& d, bool& blank, std::string& why) {
        blank = false;
        d = dam_row{};
        std::vector<cell> cells;
        std::string& where = d.where;
        if (csv_) {
            if (!in_.next(d.rec, why)) return false;
            if (d.rec.empty) {
                blank = true;
                return true;
            }
            d.row = ++rows_;
            for (const std::string& t : d.rec.fields) cells.push_back({t});
            where = r_.path + ", Zeile " + std::to_string(d.rec.line);
            d.error = length_fault(d.rec);
            if (d.error.empty()) d.error = d.rec.fault;
        } else {
            OGRFeature* f = layer_->GetNextFeature();
            if (!f) return false;
            d.feature.reset(f, feature_free{});
            d.row = ++rows_;
            for (int k = 0; k < f->GetFieldCount(); ++k) {
                cell c;
                if (!f->IsFieldSetAndNotNull(k)) {
                    c.null = true;
                } else {
                    const OGRFieldType t = f->GetFieldDefnRef(k)->GetType();
                    c.number = t == OFTReal || t == OFTInteger || t == OFTInteger64;
                    c.value = f->GetFieldAsDouble(k);
                    c.text = f->GetFieldAsString(k);
                }
                cells.push_back(std::move(c));
            }
            where = r_.path + ", Objekt " + std::to_string(f->GetFID());
        }
        const std::int64_t id = cols_.id_col();
        d.id = id >= 0 && static_cast<std::size_t>(id) < cells.size() ? cells[id].text
                                                                      : std::to_string(d.row);
        double en[2] = {0, 0};
        if (d.error.empty() && cols_.read(cells, dec_, d.site, en, d.error) && csv_) {
            d.located = true;
        } else if (csv_ && !d.error.empty()) {
            // A row with a fault keeps its point wherever the point can be read.
            d.located = cols_.read_point(cells, dec_, en);
        }
        if (d.located) {
            d.e = en[0];
            d.n = en[1];
        }
        if (!csv_ && d.error.empty()) locate(d);
        where += ", Anlage " + d.id;
        if (!d.error.empty()) d.error = where + ": " + d.error;
        d.site.g.e0 = d.e;
        d.site.g.n0 = d.n;
        return true;
    }

  private:
    // What is wrong with the number of fields of a CSV record, "" when nothing.
    std::string length_fault(const record& rec) const {
        const std::size_t n = rec.fields.size(), m = header_.fields.size();
        const std::string counts =
            "Zeile hat " + std::to_string(n) + " Felder, erwartet " + std::to_string(m);
        if (n < m) return cols_.first_missing(n) + " fehlt (" + counts + ")";
        if (n == m) return "";
        const auto extra = field_spans(rec.bytes, delim())[m].from;
        return std::to_string(n - m) + (n - m == 1 ? " Feld" : " Felder") + " zu viel (" + counts +
               "): " + batch::shown_text(std::string_view(rec.bytes).substr(extra));
    }

    bool open_csv(std::string& why) {
        if (!in_.open(r_.path, r_.delim, why)) {
            why = r_.path + ": " + why;
            return false;
        }
        if (!in_.next(header_, why)) {
            why = r_.path + (why.empty() ? ": Kopfzeile fehlt" : ": nicht lesbar: " + why);
            return false;
        }
        const char d = in_.delim();
        dec_ = r_.dec ? r_.dec : d == ';' ? ',' : '.';
        if (d == ',' && dec_ == ',') {
            why = "Trennzeichen und Dezimalzeichen sind beide ','";
            return false;
        }
        if (!cols_.set_header(header_.fields, true, why)) {
            why = r_.path + ", Zeile 1: " + why;
            return false;
        }
        return true;
    }

    bool open_vector(const OGRSpatialReference* site, std::string& why) {
        ds_.reset(GDALDataset::Open(r_.path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr,
                                    nullptr, nullptr));
        if (!ds_) {
            why = r_.path + ": nicht lesbar (keine Vektordatei, die GDAL kennt)";
            return false;
        }
        for (OGRLayer* l : ds_->GetLayers()) {
            if (wkbFlatten(l->GetGeomType()) == wkbPoint) {
                layer_ = l;
                break;
            }
        }
        if (!layer_) {
            why = r_.path + ": keine Ebene mit Punkten";
            return false;
        }
        std::vector<std::string> names;
        OGRFeatureDefn* def = layer_->GetLayerDefn();
        for (int k = 0; k < def->GetFieldCount(); ++k)
            names.push_back(def->GetFieldDefn(k)->GetNameRef());
        if (!cols_.set_header(names, false, why)) {
            why = r_.path + ", Ebene " + layer_->GetName() + ": " + why;
            return false;
        }
        const OGRSpatialReference* from = layer_->GetSpatialRef();
        if (from && site && !from->IsSame(site)) {
            OGRSpatialReference a(*from), b(*site);
            a.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
            b.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
            ct_.reset(OGRCreateCoordinateTransformation(&a, &b));
            if (!ct_) {
                why = r_.path + ": Koordinatensystem nicht umrechenbar";
                return false;
            }
        }
        layer_->ResetReading();
        return true;
    }

    // The breach of a vector row: its point in the site's system.
    void locate(dam_row& d) {
        const OGRGeometry* g = d.feature->GetGeometryRef();
        if (!g || g->IsEmpty() || wkbFlatten(g->getGeometryType()) != wkbPoint) {
            d.error = "Geometrie: kein Punkt";
            return;
        }
        double e = g->toPoint()->getX(), n = g->toPoint()->getY();
        if (ct_ && !ct_->Transform(1, &e, &n)) {
            d.error = "Geometrie: nicht umrechenbar";
            return;
        }
        if (!std::isfinite(e) || !std::isfinite(n)) {
            d.error = "Geometrie: Koordinate keine endliche Zahl";
            return;
        }
        d.e = e;
        d.n = n;
        d.located = true;
    }

    const request& r_;
    value_columns cols_;
    bool csv_ = false;
    csv_reader in_;
    record header_;
    char dec_ = '.';
    std::unique_ptr<GDALDataset, dataset_close> ds_;
    OGRLayer* layer_ = nullptr;
    std::unique_ptr<OGRCoordinateTransformation, transform_free> ct_;
    std::uint64_t rows_ = 0;
};

// A row of a batch: a dam, or an empty line kept for the CSV output.
struct item {
    dam_row d;
    bool blank = false;
    bool skip = false;         // another shard's row
    raster::zone_shapes zones; // with --zones
    std::string report;        // with --reports: the report's file name
    std::string report_failed; // why the report could not be written
    int report_err = 0;        // and the errno of a failed write
};

// What the optional outputs of every dam share.
struct extras {
    bool zones = false;
    std::string wkt;        // the site's system
    std::string report_dir; // the staged folder of the reports; empty for none
    const report_setup* setup = nullptr;
};

// Computes dam d: its map, then its objects.
void compute(dam_row& d, const request& r, const object_index& objs, object_scratch& sc) {
    if (!d.error.empty() || !d.located) {
        if (d.error.empty()) d.error = d.where + ": ohne Lage";
        return;
    }
    std::string why;
    if (!compute_map(d.site, r.rules, d.res, why)) {
        d.error = d.where + ": " + why;
        return;
    }
    const assess::frame f = assess::make_frame(make_site(d.res.p), r.rules.lv, d.site.g);
    const object_counts c =
        objs.count(f, d.res, r.rules.from, sc, r.objects_out.empty() ? nullptr : &d.hits);
    std::copy(c.level, c.level + 4, d.res.obj);
    d.res.open = c.open;
    bool yes = false;
    for (int k = std::max(r.rules.from, 0); k < 4; ++k) yes = yes || c.level[k] > 0;
    d.res.ans = yes ? answer::yes : c.open ? answer::open : answer::no;
}

// The zones and the report of a computed dam, as asked for.
void add_extras(item& it, const request& r, const extras& x) {
    dam_row& d = it.d;
    if (!d.error.empty()) return;
    std::string why;
    if (x.zones && !dam_zones(d.site, d.res, r.rules, x.wkt, it.zones, why)) {
        d.error = d.where + ": " + why;
        return;
    }
    if (!x.report_dir.empty() &&
        !write_report(d, r.rules, *x.setup, x.report_dir + "/" + it.report, why, it.report_err))
        it.report_failed = why.empty() ? "nicht schreibbar" : why;
}

// A dam whose breach lies outside the site system's area of use is a row
// error: its numbers belong to another system.
void check_area(dam_row& d, const geo::area_check* area) {
    std::string why;
    if (!area || !d.error.empty() || !d.located || area->contains(d.e, d.n, why)) return;
    d.error = d.where + ": Bresche (E, N): " + why + "; Koordinaten und --crs pruefen";
}

} // namespace

bool is_csv_name(const std::string& path) {
    const std::string e = extension(path);
    return e == "csv" || e == "tsv" || e == "txt";
}

outcome run(const request& r) {
    outcome o;
    auto stop = [&](ending e, std::string msg) {
        o.end = e;
        o.message = std::move(msg);
        return o;
    };
    geo::register_drivers();
    std::string why;
    const bool csv_register = is_csv_name(r.path);
    // A CSV register goes to standard output ("-") as CSV.
    const bool csv_out = csv_register && (is_csv_name(r.out) || r.out == "-");
    std::string driver;
    if (!csv_out) {
        driver = assess::choose_driver(r.out, why);
        if (driver.empty()) return stop(ending::usage, "Option -o: " + why + ": " + r.out);
    }
    if (r.out.empty()) return stop(ending::usage, "Option -o: leerer Wert");
    // No output may name an input: the register or an object source.
    const auto names_input = [&](const char* opt, const std::string& path) -> std::string {
        if (!geo::input_overwritten(path, {r.path}).empty())
            return std::string("Option ") + opt + ": nennt das Register: " + path;
        if (const std::string p = geo::input_overwritten(path, r.objects.paths); !p.empty())
            return std::string("Option ") + opt + ": nennt die Quelle " + p +
                   " oder eine ihrer Dateien: " + path;
        return "";
    };
    if (std::string m = names_input("-o", r.out); !m.empty()) return stop(ending::usage, m);

    std::string objects_driver;
    if (!r.objects_out.empty()) {
        objects_driver = assess::choose_driver(r.objects_out, why);
        if (objects_driver.empty())
            return stop(ending::usage, "Option --objects-out: " + why + ": " + r.objects_out);
        if (std::string m = names_input("--objects-out", r.objects_out); !m.empty())
            return stop(ending::usage, m);
    }

    std::string zones_driver;
    if (!r.zones.empty()) {
        zones_driver = raster::choose_zone_driver(r.zones, why);
        if (zones_driver.empty())
            return stop(ending::usage, "Option --zones: " + why + ": " + r.zones);
        if (std::string m = names_input("--zones", r.zones); !m.empty())
            return stop(ending::usage, m);
    }
    if (!r.reports.empty()) {
        if (std::string m = names_input("--reports", r.reports); !m.empty())
            return stop(ending::usage, m);
    }

    object_index objs;
    if (!objs.load(r.objects, r.spacing, r.keep_going, r.warn, why))
        return stop(ending::bad_input, why);
    if (!r.objects_out.empty() && objs.layers().size() > 1 && !assess::holds_layers(objects_driver))
        return stop(ending::usage, "Option --objects-out: das Format " + objects_driver +
                                       " fasst nur eine Ebene, " +
                                       std::to_string(objs.layers().size()) +
                                       " gewaehlt: " + r.objects_out);
    std::vector<object_best> best(r.objects_out.empty() ? 0 : objs.size());
    o.objects = objs.size();
    register_in in(r);
    if (!in.open(objs.site_crs(), why)) return stop(ending::bad_input, why);
    std::unique_ptr<geo::area_check> area;
    if (objs.site_crs()) area = std::make_unique<geo::area_check>(*objs.site_crs());

    // Every target checked and staged before anything is computed; all put
    // in place together at the end.
    io::output_set outs;
    std::size_t out_id = 0, objects_id = 0;
    io::maybe_failure bad =
        outs.add("-o", r.out, csv_out ? io::way::stream : io::way::dataset, out_id);
    if (!bad && !r.objects_out.empty())
        bad = outs.add("--objects-out", r.objects_out, io::way::dataset, objects_id);
    std::size_t zones_id = 0, reports_id = 0;
    if (!bad && !r.zones.empty()) bad = outs.add("--zones", r.zones, io::way::dataset, zones_id);
    if (!bad && !r.reports.empty())
        bad = outs.add("--reports", r.reports, io::way::folder, reports_id);
    if (!bad) bad = outs.stage();
    if (bad)
        return stop(bad->kind == io::fault::same_target ? ending::usage : ending::bad_input,
                    bad->text);
    io::hold("early");
    std::unique_ptr<dam_writer> w =
        csv_out ? csv_writer(outs.stream(out_id), in.delim(), in.dec())
                : vector_writer(outs.path(out_id), driver,
                                csv_register ? stem(r.path) : std::string(in.layer()->GetName()),
                                objs.site_crs(), why);
    if (!w) return stop(ending::bad_input, "-o " + r.out + ": nicht schreibbar: " + why);
    if (!w->begin(csv_register ? &in.header() : nullptr, in.layer(), why))
        return stop(ending::bad_input, "-o " + r.out + ": " + why);

    extras x;
    if (const OGRSpatialReference* srs = objs.site_crs()) {
        char* wkt = nullptr;
        if (srs->exportToWkt(&wkt) == OGRERR_NONE && wkt) x.wkt = wkt;
        CPLFree(wkt);
    }
    raster::zone_layer zones;
    if (!r.zones.empty()) {
        x.zones = true;
        if (!zones.open(outs.path(zones_id), zones_driver, x.wkt, true, why))
            return stop(ending::bad_input, "--zones " + r.zones + ": " + why);
    }
    report_setup setup;
    report_names names(r.reports_html ? ".html" : ".pdf");
    if (!r.reports.empty()) {
        setup.src = r.objects;
        setup.spacing = r.spacing;
        setup.keep_going = r.keep_going;
        setup.wkt = x.wkt;
        setup.html = r.reports_html;
        setup.command = r.command;
        setup.version = r.version;
        setup.date = r.date;
        if (!report::dataset_hashes(r.objects.paths, setup.hashes, why))
            return stop(ending::bad_input, why);
        x.report_dir = outs.path(reports_id);
        x.setup = &setup;
    }

    const unsigned threads =
        r.threads ? r.threads : std::max(1u, std::thread::hardware_concurrency());
    std::vector<object_scratch> scratch(threads);
    std::vector<item> batch;
    std::uint64_t done = 0;
    bool skipped = false;
    for (bool more = true; more;) {
        batch.clear();
        std::size_t dams = 0;
        while (dams < rows_per_thread * threads) {
            item it;
            if (!in.next(it.d, it.blank, why)) {
                if (!why.empty()) return stop(ending::bad_input, r.path + ": nicht lesbar: " + why);
                more = false;
                break;
            }
            if (!it.blank) check_area(it.d, area.get());
            // An empty line stays in a whole run's CSV output; shards leave it out.
            if (it.blank && r.shards > 1) continue;
            if (!it.blank) {
                it.skip = (it.d.row - 1) % r.shards != r.shard - 1;
                if (it.skip) continue;
                ++dams;
                if (!r.reports.empty()) it.report = names.next(it.d.id);
            }
            batch.push_back(std::move(it));
        }
        base::for_each(batch.size(), std::min<std::size_t>(threads, std::max<std::size_t>(dams, 1)),
                       [&](unsigned t, std::size_t k) {
                           if (batch[k].blank) return;
                           compute(batch[k].d, r, objs, scratch[t]);
                           add_extras(batch[k], r, x);
                       });
        for (item& it : batch) {
            if (it.blank) {
                if (!w->blank(it.d.rec, why))
                    return stop(ending::bad_input, "-o " + r.out + ": " + why);
                continue;
            }
            ++o.dams;
            if (!it.d.error.empty()) {
                if (!r.keep_going) return stop(ending::bad_input, it.d.error);
                if (r.warn) r.warn(it.d.error);
                ++o.errors;
                skipped = true;
            } else {
                ++o.answers[static_cast<int>(it.d.res.ans)];
                for (const object_hit& h : it.d.hits) best[h.obj].take(h, it.d.row, it.d.id);
                if (!it.report_failed.empty()) {
                    const std::string file = r.reports + "/" + it.report;
                    if (it.report_err != 0)
                        return stop(ending::bad_input,
                                    "--reports " + file +
                                        ": nicht schreibbar: " + io::os_error(it.report_err));
                    return stop(ending::bad_input, "--reports " + file + ": " + it.report_failed);
                }
                if (x.zones && !zones.add(it.zones, r.rules.lv, it.d.id,
                                          static_cast<std::int64_t>(it.d.row), why))
                    return stop(ending::bad_input, "--zones " + r.zones + ": " + why);
            }
            if (!w->write(it.d, why)) return stop(ending::bad_input, "-o " + r.out + ": " + why);
        }
        done += dams;
        io::hold("middle");
        if (r.progress) r.progress(done, in.share());
    }
    if (!w->finish(why))
        return stop(ending::bad_input, "-o " + r.out + ": nicht schreibbar: " + why);
    if (!r.objects_out.empty() && !write_objects(outs.path(objects_id), objects_driver, objs, best,
                                                 o.answers[0] + o.answers[1] + o.answers[2], why))
        return stop(ending::bad_input, "--objects-out " + r.objects_out + ": " + why);
    if (x.zones && !zones.finish(r.rules.lv, draw::zone_colours(), why))
        return stop(ending::bad_input, "--zones " + r.zones + ": " + why);
    io::hold("late");
    if ((bad = outs.commit())) return stop(ending::bad_input, bad->text);
    o.end = skipped || objs.skipped() ? ending::skipped : ending::ok;
    return o;
}

} // namespace orv::inventory
