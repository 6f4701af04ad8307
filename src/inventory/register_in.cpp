// Reading the register: CSV records split by the header's columns, or the
// features of a point layer taken into the site's system.
#include "inventory/register_in.h"

#include <cmath>

#include "batch/columns.h"
#include "io/os_error.h"
#include <string_view>

namespace orv::inventory {

bool register_in::open(const OGRSpatialReference* site, std::string& why) {
    csv_ = is_csv_name(r_.path);
    return csv_ ? open_csv(why) : open_vector(site, why);
}

double register_in::share() const {
    return in_.size() ? static_cast<double>(in_.consumed()) / static_cast<double>(in_.size()) : 0;
}

bool register_in::next(dam_row& d, bool& blank, std::string& why) {
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
        d.feature.reset(f, geo::feature_free{});
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

std::string register_in::length_fault(const record& rec) const {
    const std::size_t n = rec.fields.size(), m = header_.fields.size();
    const std::string counts =
        "Zeile hat " + std::to_string(n) + " Felder, erwartet " + std::to_string(m);
    if (n < m) return cols_.first_missing(n) + " fehlt (" + counts + ")";
    if (n == m) return "";
    const auto extra = field_spans(rec.bytes, delim())[m].from;
    return std::to_string(n - m) + (n - m == 1 ? " Feld" : " Felder") + " zu viel (" + counts +
           "): " + batch::shown_text(std::string_view(rec.bytes).substr(extra));
}

bool register_in::open_csv(std::string& why) {
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

bool register_in::open_vector(const OGRSpatialReference* site, std::string& why) {
    ds_.reset(GDALDataset::Open(r_.path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr,
                                nullptr, nullptr));
    if (!ds_) {
        const std::string os = r_.path.rfind("/vsi", 0) == 0 ? "" : io::read_problem(r_.path);
        why = r_.path + (os.empty() ? ": nicht lesbar (keine Vektordatei, die GDAL kennt)"
                                    : ": nicht lesbar: " + os);
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

void register_in::locate(dam_row& d) {
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

} // namespace orv::inventory
