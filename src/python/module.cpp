// The extension module orvalis._orvalis: the model's loops on NumPy arrays.
// The package orvalis (orvalis/__init__.py) checks, converts and broadcasts
// the arguments and calls these functions with float32 arrays.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstddef>
#include <string>
#include <vector>

#include "model/jet_frame.h"
#include "model/params.h"
#include "python/assess_module.h"
#include "python/loops.h"

namespace py = pybind11;

namespace {

using orv::python::column;

// A C-ordered float32 array; other arrays are converted where NumPy can do so safely.
using f32 = py::array_t<float, py::array::c_style>;
// The same in float64.
using f64 = py::array_t<double, py::array::c_style>;

// The six result arrays of a call: q, v, h, he, status, level.
using results = py::tuple;

// Raises ValueError "name: why".
[[noreturn]] void bad(const char* name, const std::string& why) {
    throw py::value_error(std::string(name) + ": " + why);
}

// The 1-D array a of 1 or n values as a column.
column as_column(const f32& a, std::size_t n, const char* name) {
    if (a.ndim() != 1) bad(name, "eindimensionales Feld erwartet");
    const auto len = static_cast<std::size_t>(a.shape(0));
    if (len != 1 && len != n)
        bad(name, std::to_string(len) + " Werte statt 1 oder " + std::to_string(n));
    return {a.data(), len == 1 ? std::size_t{0} : std::size_t{1}};
}

// The thresholds in the three values of a.
orvalis::levels as_levels(const f32& a) {
    if (a.ndim() != 1 || a.shape(0) != 3) bad("levels", "drei Werte erwartet");
    orvalis::levels l;
    for (int k = 0; k < 3; ++k) l.t[k] = a.data()[k];
    if (!orvalis::valid(l)) bad("levels", "drei aufsteigende positive endliche Werte erwartet");
    return l;
}

// n points; returns (q, v, h, he, status, level) as 1-D arrays of n values.
results intensity(const f32& H, const f32& B, const f32& Vol, const f32& S, const f32& D,
                  const f32& x, const f32& y, std::size_t n, const f32& levels) {
    const auto name = [](int k) { return orv::param_table[k].name; };
    const orv::python::point_in in{as_column(H, n, name(0)),   as_column(B, n, name(1)),
                                   as_column(Vol, n, name(2)), as_column(S, n, name(3)),
                                   as_column(D, n, name(4)),   as_column(x, n, name(5)),
                                   as_column(y, n, name(6))};
    const orvalis::levels l = as_levels(levels);
    const auto size = static_cast<py::ssize_t>(n);
    py::array_t<float> q(size), v(size), h(size), he(size);
    py::array_t<int32_t> st(size);
    py::array_t<int8_t> level(size);
    const orv::python::point_out out{q.mutable_data(),  v.mutable_data(),  h.mutable_data(),
                                     he.mutable_data(), st.mutable_data(), level.mutable_data()};
    {
        py::gil_scoped_release unlocked;
        orv::python::evaluate_points(in, n, out, l);
    }
    return py::make_tuple(q, v, h, he, st, level);
}

// The grid xs by ys of the site (H, B, Vol, S, D); returns the six results
// as arrays of len(ys) rows by len(xs) columns.
results grid(const f32& site, const f32& xs, const f32& ys, const f32& levels, unsigned threads) {
    if (site.ndim() != 1 || site.shape(0) != 5) bad("site", "fuenf Werte erwartet");
    if (xs.ndim() != 1) bad("x", "eindimensionales Feld erwartet");
    if (ys.ndim() != 1) bad("y", "eindimensionales Feld erwartet");
    const orvalis::levels l = as_levels(levels);
    const float* p = site.data();
    const orvalis::site s({p[0], p[1], p[2], p[3], p[4]});
    const auto nx = static_cast<std::size_t>(xs.shape(0));
    const auto ny = static_cast<std::size_t>(ys.shape(0));
    const std::vector<py::ssize_t> shape{ys.shape(0), xs.shape(0)};
    py::array_t<float> q(shape), v(shape), h(shape), he(shape);
    py::array_t<int32_t> st(shape);
    py::array_t<int8_t> level(shape);
    const orvalis::grid_out out{q.mutable_data(), v.mutable_data(), h.mutable_data(),
                                he.mutable_data(), st.mutable_data()};
    int8_t* lv = level.mutable_data();
    {
        py::gil_scoped_release unlocked;
        s.evaluate_grid(xs.data(), nx, ys.data(), ny, out, threads);
        orv::python::grid_levels(out, nx * ny, lv, l);
    }
    return py::make_tuple(q, v, h, he, st, level);
}

// The levels of n pairs (h, q) as a 1-D int8 array.
py::array_t<int8_t> danger_level(const f32& h, const f32& q, std::size_t n, const f32& levels) {
    const column hc = as_column(h, n, "h");
    const column qc = as_column(q, n, "q");
    const orvalis::levels l = as_levels(levels);
    py::array_t<int8_t> level(static_cast<py::ssize_t>(n));
    int8_t* out = level.mutable_data();
    {
        py::gil_scoped_release unlocked;
        orv::python::danger_levels(hc, qc, n, out, l);
    }
    return level;
}

// True when the three values of a are usable thresholds.
bool valid_levels(const f32& a) {
    if (a.ndim() != 1 || a.shape(0) != 3) return false;
    const float* t = a.data();
    return orvalis::valid(orvalis::levels{{t[0], t[1], t[2]}});
}

// The world points (e[i], n[i]) in the jet frame of the breach (e0, n0)
// and the azimuth in degrees; returns (x, y) as 1-D float64 arrays.
py::tuple to_jet(const f64& e, const f64& n, double e0, double n0, double azimuth) {
    if (e.ndim() != 1 || n.ndim() != 1 || e.shape(0) != n.shape(0))
        bad("E, N", "zwei eindimensionale Felder gleicher Laenge erwartet");
    const py::ssize_t size = e.shape(0);
    py::array_t<double> x(size), y(size);
    const double* pe = e.data();
    const double* pn = n.data();
    double* px = x.mutable_data();
    double* py_ = y.mutable_data();
    {
        py::gil_scoped_release unlocked;
        const orv::world_frame g{e0, n0, azimuth};
        for (py::ssize_t i = 0; i < size; ++i) {
            const orv::jet_point p = orv::to_jet(g, pe[i], pn[i]);
            px[i] = p.x;
            py_[i] = p.y;
        }
    }
    return py::make_tuple(x, y);
}

} // namespace

PYBIND11_MODULE(_orvalis, m) {
    m.doc() = "The orvalis model on float32 arrays; use the package orvalis, not this module.";
    m.attr("__version__") = ORV_VERSION;
    m.def("intensity", &intensity, "Points: (q, v, h, he, status, level) of n points.",
          py::arg(orv::param_table[0].name), py::arg(orv::param_table[1].name),
          py::arg(orv::param_table[2].name), py::arg(orv::param_table[3].name),
          py::arg(orv::param_table[4].name), py::arg(orv::param_table[5].name),
          py::arg(orv::param_table[6].name), py::arg("n"), py::arg("levels"));
    m.def("grid", &grid, "Grid: (q, v, h, he, status, level) of len(y) rows by len(x) columns.",
          py::arg("site"), py::arg("x"), py::arg("y"), py::arg("levels"), py::arg("threads"));
    m.def("danger_level", &danger_level, "Danger levels of n pairs (h, q).", py::arg("h"),
          py::arg("q"), py::arg("n"), py::arg("levels"));
    m.def("to_jet", &to_jet, "World points (E, N) as (x, y) in the jet frame.", py::arg("E"),
          py::arg("N"), py::arg("e0"), py::arg("n0"), py::arg("azimuth"));
    m.def("valid_levels", &valid_levels, "True for three ascending positive finite thresholds.",
          py::arg("levels"));
    orv::python::add_assess(m);
}
