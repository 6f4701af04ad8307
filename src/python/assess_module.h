// The assessment of objects below a breach in the extension module.
#pragma once
#include <pybind11/pybind11.h>

namespace orv::python {

// Adds assess() to the module m: the package's orvalis.assess() and
// orvalis.verdict() call it with checked arguments.
void add_assess(pybind11::module_& m);

} // namespace orv::python
