// Deciding and writing the types of a CSV register's columns.
#include "inventory/column_types.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>

#include <ogr_feature.h>
#include <sys/stat.h>

#include "csv/number.h"
#include "inventory/csv_register.h"

namespace orv::inventory {

namespace {

// text without the blanks and tabs around it.
std::string_view trimmed(const std::string& text) {
    std::string_view v(text);
    while (!v.empty() && (v.front() == ' ' || v.front() == '\t')) v.remove_prefix(1);
    while (!v.empty() && (v.back() == ' ' || v.back() == '\t')) v.remove_suffix(1);
    return v;
}

// The digits of v after an optional sign, or empty when v is not a whole number.
std::string_view whole_digits(std::string_view v) {
    if (!v.empty() && (v.front() == '-' || v.front() == '+')) v.remove_prefix(1);
    if (v.empty() || v.find_first_not_of("0123456789") != std::string_view::npos) return {};
    return v;
}

// Whether v begins with a 0 followed by a digit (after its sign): "007", "-01,5".
bool leading_zero(std::string_view v) {
    if (!v.empty() && (v.front() == '-' || v.front() == '+')) v.remove_prefix(1);
    return v.size() > 1 && v[0] == '0' && v[1] >= '0' && v[1] <= '9';
}

// The whole number v (trimmed, an optional sign) in 64 bits; false when
// it is none or beyond them.
bool read_whole(std::string_view v, std::int64_t& out) {
    if (whole_digits(v).empty()) return false;
    if (v.front() == '+') v.remove_prefix(1);
    const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), out);
    return ec == std::errc() && end == v.data() + v.size();
}

} // namespace

column_kind kind_of(const std::string& text, char dec) {
    const std::string_view v = trimmed(text);
    if (v.empty()) return column_kind::none;
    if (leading_zero(v)) return column_kind::text;
    std::int64_t n = 0;
    if (read_whole(v, n)) {
        const bool narrow = n >= std::numeric_limits<std::int32_t>::min() &&
                            n <= std::numeric_limits<std::int32_t>::max();
        return narrow ? column_kind::int32 : column_kind::int64;
    }
    const num_read<double> d = read_double(v, dec);
    return d.ok() && std::isfinite(d.value) ? column_kind::real : column_kind::text;
}

column_kind widen(column_kind a, column_kind b) {
    return std::max(a, b);
}

bool scan_column_types(const std::string& path, char delim, char dec, std::size_t width,
                       std::vector<column_kind>& kinds, std::string& why) {
    // A pipe cannot be read twice: its columns stay text, as it holds them.
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        kinds.assign(width, column_kind::text);
        return true;
    }
    kinds.assign(width, column_kind::none);
    csv_reader in;
    if (!in.open(path, delim, why)) return false;
    record r;
    bool header = true;
    while (in.next(r, why)) {
        if (header || r.empty) {
            header = false;
            continue;
        }
        for (std::size_t k = 0; k < width && k < r.fields.size(); ++k)
            if (kinds[k] != column_kind::text)
                kinds[k] = widen(kinds[k], kind_of(r.fields[k], dec));
    }
    if (!why.empty()) why = "nicht lesbar: " + why;
    return why.empty();
}

bool set_cell(OGRFeature& f, int i, const std::string& text, column_kind k, char dec,
              std::string& why) {
    if (k == column_kind::text || k == column_kind::none) {
        if (!text.empty()) f.SetField(i, text.c_str());
        return true;
    }
    const column_kind got = kind_of(text, dec);
    if (got == column_kind::none) return true;
    if (got > k) {
        why = "Feld " + std::string(f.GetFieldDefnRef(i)->GetNameRef()) +
              ": keine Zahl mehr: " + text + " (Register waehrend des Laufs geaendert)";
        return false;
    }
    std::int64_t n = 0;
    if (k != column_kind::real && read_whole(trimmed(text), n)) {
        if (k == column_kind::int32)
            f.SetField(i, static_cast<int>(n));
        else
            f.SetField(i, static_cast<GIntBig>(n));
        return true;
    }
    f.SetField(i, read_double(trimmed(text), dec).value);
    return true;
}

} // namespace orv::inventory
