// Each judged feature turned into a row, as the output layer would hold it.
#include "python/assess_rows.h"

#include <cmath>

#include <ogrsf_frmts.h>

namespace orv::python {

namespace {

// The value of field name of f as text; nullopt when f lacks it or it is null.
std::optional<std::string> field_text(const OGRFeature& f, const std::string& name) {
    if (name.empty()) return std::nullopt;
    const int k = f.GetDefnRef()->GetFieldIndex(name.c_str());
    if (k < 0 || !f.IsFieldSetAndNotNull(k)) return std::nullopt;
    return std::string(f.GetFieldAsString(k));
}

// The judgement v as the output's orv_ fields write it.
void put_verdict(feature_rows& rows, const assess::verdict& v, const levels& lv, int from) {
    const bool result = v.level != no_level;
    const auto real_or_nan = [result](real a) { return result ? a : NAN; };
    rows.level.push_back(static_cast<std::int8_t>(v.level));
    rows.crit.push_back(assess::criterion(v, lv));
    rows.q.push_back(real_or_nan(v.worst.q));
    rows.v.push_back(real_or_nan(v.worst.v));
    rows.h.push_back(real_or_nan(v.worst.h));
    rows.he.push_back(real_or_nan(v.worst.he));
    rows.x.push_back(real_or_nan(v.x));
    rows.y.push_back(real_or_nan(v.y));
    // An unreadable feature was never sampled: its counts are unknown.
    rows.n.push_back(v.failed ? -1 : static_cast<std::int64_t>(v.n));
    rows.nores.push_back(v.failed ? -1 : static_cast<std::int64_t>(v.nores));
    rows.start.push_back(static_cast<std::int8_t>(v.start));
    rows.end.push_back(static_cast<std::int8_t>(v.end));
    rows.state.push_back(assess::state_key(v.st));
    const bool open = assess::is_open(v, from);
    rows.open.push_back(open ? 1 : 0);
    rows.why.push_back(open ? std::optional<std::string>(assess::open_reason(v, from))
                            : std::nullopt);
}

} // namespace

assess::outcome assess_rows(assess::request r, feature_rows& rows) {
    r.out.clear();
    const std::string label = r.label;
    const levels lv = r.lv;
    const int from = r.from;
    r.each = [&rows, label, lv, from](std::size_t layer, const OGRFeature& f,
                                      const std::vector<assess::part>&,
                                      const assess::verdict& v) {
        rows.layer.push_back(static_cast<std::int32_t>(layer));
        rows.fid.push_back(f.GetFID());
        rows.label.push_back(field_text(f, label));
        put_verdict(rows, v, lv, from);
    };
    return assess::assess(r);
}

} // namespace orv::python
