// The assessment for Python: a request from the package's checked
// arguments, run without the interpreter lock, its rows as NumPy arrays.
#include "python/assess_module.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/number_text.h"
#include "model/params.h"
#include "model/slope.h"
#include "model/status_text.h"
#include "assess/report.h"
#include "python/assess_rows.h"

namespace py = pybind11;

namespace orv::python {

namespace {

// The site's five values checked as the command checks its options: each
// finite (H, B, Vol, D > 0), the slope inside the tables unless correct
// (then corrected, note saying so). Raises ValueError naming the argument.
params checked_site(const std::array<float, 5>& v, bool correct, std::string& note) {
    params p;
    for (int k = 0; k < n_site_params; ++k) {
        const param_info& o = param_table[k];
        if (const char* why = unusable(v[k], o.positive))
            throw py::value_error(std::string("Argument ") + o.name + ": " + why + ": " +
                                  write_real(v[k]));
        p.*o.member = v[k];
    }
    const std::optional<slope_fault> f = slope_outside(p);
    if (!f) return p;
    const std::string fixed = "korrigierter Wert: S = " + write_real(f->corrected) + " %";
    if (!correct)
        throw py::value_error(std::string(status_text(f->st)) + ": S = " + write_real(p.slp) +
                              " % (" + fixed + "; mit correct=True wird damit gerechnet)");
    note = std::string(status_text(f->st)) + ", " + fixed;
    p.slp = f->corrected;
    return p;
}

// A Python list of the texts, None where there is none.
template <class T> py::list texts(const std::vector<T>& v) {
    py::list out;
    for (const T& t : v) {
        if constexpr (std::is_same_v<T, const char*>)
            out.append(t ? py::object(py::str(t)) : py::object(py::none()));
        else
            out.append(t ? py::object(py::str(*t)) : py::object(py::none()));
    }
    return out;
}

template <class T> py::array_t<T> array(const std::vector<T>& v) {
    return py::array_t<T>(static_cast<py::ssize_t>(v.size()), v.data());
}

// The columns of the rows: NumPy arrays of numbers, lists of texts.
py::dict columns(const feature_rows& r) {
    py::dict d;
    d["layer"] = array(r.layer);
    d["fid"] = array(r.fid);
    d["label"] = texts(r.label);
    d["orv_level"] = array(r.level);
    d["orv_crit"] = texts(r.crit);
    d["orv_q"] = array(r.q);
    d["orv_v"] = array(r.v);
    d["orv_h"] = array(r.h);
    d["orv_he"] = array(r.he);
    d["orv_x"] = array(r.x);
    d["orv_y"] = array(r.y);
    d["orv_n"] = array(r.n);
    d["orv_nores"] = array(r.nores);
    d["orv_start"] = array(r.start);
    d["orv_end"] = array(r.end);
    d["orv_state"] = texts(r.state);
    d["orv_open"] = array(r.open).attr("astype")("bool");
    d["orv_why"] = texts(r.why);
    return d;
}

// Each layer's figures as a dict.
py::list layers(const assess::outcome& o) {
    py::list out;
    for (const assess::layer_summary& s : o.layers) {
        py::dict d;
        d["name"] = s.name;
        d["source"] = s.path;
        d["features"] = s.features;
        d["levels"] = py::make_tuple(s.levels[0], s.levels[1], s.levels[2], s.levels[3]);
        d["endangered"] = s.n_endangered;
        d["open"] = s.n_open;
        d["settled"] = s.n_settled;
        out.append(d);
    }
    return out;
}

// The outcome as a dict: columns, layers, verdict, samples, nearest, reach,
// and the warning (German, with umlauts) when every object lies beyond
// the tables.
py::dict result(const assess::outcome& o, const feature_rows& rows, const std::string& note) {
    py::dict d;
    d["columns"] = columns(rows);
    d["layers"] = layers(o);
    d["verdict"] = o.verdict;
    d["samples"] = o.samples;
    d["nearest"] = o.nearest;
    d["reach"] = o.reach;
    const std::string w = assess::reach_warning(o, false);
    d["warning"] = w.empty() ? py::object(py::none()) : py::object(py::str(w));
    d["note"] = note.empty() ? py::object(py::none()) : py::object(py::str(note));
    return d;
}

// The sources and how to read them.
struct source_args {
    std::vector<std::string> paths, layers;
    std::vector<std::pair<std::string, bool>> given; // (text, GeoJSON)
    std::string crs, coord_e, coord_n;
};

py::dict run(const source_args& src, const std::array<float, 5>& site,
             const std::array<float, 3>& thresholds, const std::pair<double, double>& origin,
             double azimuth, double spacing, int from, const std::string& label, bool correct,
             unsigned threads) {
    std::string note;
    assess::request r;
    r.s = make_site(checked_site(site, correct, note));
    r.lv = levels{{thresholds[0], thresholds[1], thresholds[2]}};
    r.g = {origin.first, origin.second, azimuth};
    r.spacing = spacing;
    r.from = from;
    r.label = label;
    r.threads = threads;
    r.src.paths = src.paths;
    r.src.layers = src.layers;
    r.src.crs = src.crs;
    r.src.coord_e = src.coord_e;
    r.src.coord_n = src.coord_n;
    for (const auto& [text, json] : src.given) r.src.given.push_back({text, json});
    feature_rows rows;
    assess::outcome o;
    {
        py::gil_scoped_release unlocked;
        o = assess_rows(std::move(r), rows);
    }
    if (o.end == assess::ending::bad_input || o.end == assess::ending::usage)
        throw py::value_error(o.message);
    return result(o, rows, note);
}

} // namespace

void add_assess(py::module_& m) {
    py::class_<source_args>(m, "Sources", "The sources of an assessment and how to read them.")
        .def(py::init<>())
        .def_readwrite("paths", &source_args::paths)
        .def_readwrite("layers", &source_args::layers)
        .def_readwrite("given", &source_args::given)
        .def_readwrite("crs", &source_args::crs)
        .def_readwrite("coord_e", &source_args::coord_e)
        .def_readwrite("coord_n", &source_args::coord_n);
    m.def("assess", &run,
          "Assessment of the sources' objects: dict of columns, layers, verdict, samples, "
          "nearest, reach, warning, note.",
          py::arg("sources"), py::arg("site"), py::arg("levels"), py::arg("origin"),
          py::arg("azimuth"), py::arg("spacing"), py::arg("from_level"), py::arg("label"),
          py::arg("correct"), py::arg("threads"));
}

} // namespace orv::python
