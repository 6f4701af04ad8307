// The assessment's features gathered row by row for the Python module, free
// of Python objects so that the run goes without the interpreter lock.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "assess/run.h"

namespace orv::python {

// One column per orv_ field of the assessment's output, plus where each
// feature comes from. Numbers that were not computed are NaN (reals), -1
// (levels, counts); texts that are not set are nullopt.
struct feature_rows {
    std::vector<std::int32_t> layer; // index into the outcome's layers
    std::vector<std::int64_t> fid;
    std::vector<std::optional<std::string>> label;
    std::vector<std::int8_t> level, start, end;
    std::vector<const char*> crit; // null below level 1
    std::vector<float> q, v, h, he, x, y;
    std::vector<std::int64_t> n, nores;
    std::vector<const char*> state;
    std::vector<std::uint8_t> open;
    std::vector<std::optional<std::string>> why;

    std::size_t size() const { return fid.size(); }
};

// Runs r (which writes no file) and appends each judged feature to rows in
// input order; the label is r.label's field where a feature's layer has it.
assess::outcome assess_rows(assess::request r, feature_rows& rows);

} // namespace orv::python
