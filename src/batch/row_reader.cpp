// Reading the header's columns and each row's values.
#include "batch/row_reader.h"

#include <cmath>

#include "csv/number.h"
#include "model/jet_frame.h"
#include "model/row_eval.h"

namespace orv::batch {

row_reader::row_reader(const batch_config& cfg, csv::scanner& scanner)
    : cfg_(cfg), scanner_(scanner), columns_(cfg.world, cfg.e_name, cfg.n_name), values_(cfg.base) {
    scanner_.collect = true;
}

// "<input>, Zeile <line>" for messages.
void row_reader::put_at(std::string& out, std::size_t line) const {
    out += cfg_.in_name;
    out += ", Zeile ";
    put_count(out, line);
}

// Starts the message of the current row's first problem, "<input>, Zeile
// <line>, ", for the caller to finish; false when the row has failed
// already (its first problem is kept, and nothing is built).
bool row_reader::fail(std::size_t line) {
    if (!bad_.empty()) return false;
    put_at(bad_, line);
    bad_ += ", ";
    bad_kind_ = failure::bad_input;
    want_ = none;
    return true;
}

// A problem with the field in column c: "..., Spalte 3 (Vol): why: value".
void row_reader::fail_at(std::size_t line, uint64_t c, std::string_view why,
                         std::string_view value) {
    if (!fail(line)) return;
    columns_.put_label(bad_, c);
    bad_ += ": ";
    bad_ += why;
    if (!value.empty()) {
        bad_ += ": ";
        put_shown(bad_, value);
    }
}

// Starts the header's first problem of kind, with "<input>, Zeile 1: " when
// placed, for the caller to finish; false when it has one already.
bool row_reader::fail_header(failure kind, bool placed) {
    if (!bad_.empty()) return false;
    if (placed) {
        put_at(bad_, 1);
        bad_ += ": ";
    }
    bad_kind_ = kind;
    return true;
}

// The state of a new row: nothing read, the options' values.
void row_reader::start_row() {
    col_ = 0;
    next_ = 0;
    const auto& w = columns_.wanted();
    want_ = w.empty() ? none : w[0].col;
    values_ = cfg_.base;
    bad_.clear();
    bad_kind_ = failure::none;
    scanner_.collect = want_ == 0;
}

// Reads the collected field as the value of slot s.
void row_reader::cell(int s) {
    const csv::field_info& f = scanner_.field();
    const std::string_view v = scanner_.value();
    const char* why = nullptr;
    if (f.too_long) {
        why = describe(num_error::too_long);
    } else if (f.bad_quote) {
        why = "fehlerhafte Anfuehrungszeichen";
    } else if (s >= sl_e) {
        const auto r = read_double(v, format_.dec);
        if (!r.ok())
            why = describe(r.err);
        else if (!std::isfinite(r.value))
            why = "Wert muss endlich sein";
        else
            world_[s - sl_e] = r.value;
    } else {
        const auto r = read_real(v, format_.dec);
        if (!r.ok())
            why = describe(r.err);
        else if (!(why = unusable(r.value, param_table[s].positive)))
            values_.*param_table[s].member = r.value;
    }
    if (why) fail_at(f.line, col_, why, v);
}

void row_reader::on_field(bool last) {
    const csv::field_info& f = scanner_.field();
    constexpr std::string_view unclosed = "Anfuehrungszeichen nicht geschlossen";
    if (f.unclosed && !header_) fail_at(f.line, col_, unclosed);
    if (header_) {
        if (f.unclosed && fail(f.line)) {
            bad_ += "Kopfzeile: ";
            bad_ += unclosed;
        }
        if (auto pr = columns_.add(scanner_.value(), f.too_long);
            pr && fail_header(failure::bad_input, true))
            bad_ += *pr;
        return;
    }
    if (col_ == want_) {
        cell(columns_.wanted()[next_].slot);
        if (bad_.empty())
            want_ = ++next_ < columns_.wanted().size() ? columns_.wanted()[next_].col : none;
    }
    ++col_;
    if (!last && col_ == columns_.count() && fail(scanner_.line())) {
        bad_ += "Spalte ";
        put_count(bad_, col_ + 1);
        bad_ += ": ueberzaehliges Feld, die Kopfzeile hat ";
        put_count(bad_, columns_.count());
        bad_ += " Spalten";
    }
    scanner_.collect = col_ == want_;
}

// The header ended: the columns, the delimiter and decimal separator, and
// which of a column and an option gives a parameter.
bool row_reader::on_header(row_out& r) {
    if (scanner_.only_delims() && columns_.count() == 1 && fail_header(failure::bad_input, true))
        bad_ += "Kopfzeile ist leer";
    if (auto pr = columns_.finish(cfg_.given[sl_x] || cfg_.given[sl_y]);
        pr && fail_header(failure::bad_input, true))
        bad_ += *pr;
    if (scanner_.delim() == 0) scanner_.set_delim(',');
    const char d = scanner_.delim();
    const char dec = cfg_.dec != 0 ? cfg_.dec : d == ';' ? ',' : '.';
    if (d == ',' && dec == ',' && fail_header(failure::same_separators, false))
        bad_ += "Trennzeichen und Dezimalzeichen sind beide ','";
    for (int s = 0; s < n_params; ++s) {
        if (columns_.col(s) < 0 || !cfg_.given[s]) continue;
        if (cfg_.prefer_options) {
            columns_.drop(s);
            continue;
        }
        if (!fail_header(failure::bad_input, true)) continue;
        const std::string option = param_table[s].option;
        columns_.put_label(bad_, static_cast<uint64_t>(columns_.col(s)));
        bad_ += " und Option " + option + " geben beide " + param_table[s].name + " an; Option " +
                option + " weglassen oder --prefer options angeben";
    }
    if (!bad_.empty()) {
        stop_ = bad_kind_;
        message_ = bad_;
        return false;
    }
    for (const wanted_column& w : columns_.wanted())
        site_varies_ = site_varies_ || w.slot < n_site_params;
    format_ = {d, dec, cfg_.digits, cfg_.world};
    header_ = false;
    r.kind = row_kind::header;
    return true;
}

// A row after the header ended.
bool row_reader::on_row(row_out& r, bool continued, std::vector<params>& sites) {
    if (r.len == 0 && !continued) {
        r.kind = row_kind::empty;
        return true;
    }
    if (scanner_.only_delims()) {
        r.kind = row_kind::blank;
        return true;
    }
    if (col_ < columns_.count()) {
        const std::size_t line =
            scanner_.ending() == csv::line_end::none ? scanner_.line() : scanner_.line() - 1;
        if (fail(line)) {
            columns_.put_label(bad_, col_);
            bad_ += ": Feld fehlt, die Zeile hat ";
            put_count(bad_, col_);
            bad_ += " von ";
            put_count(bad_, columns_.count());
            bad_ += " Feldern";
        }
    }
    real x = values_.x1, y = values_.y1;
    if (bad_.empty() && cfg_.world) {
        // The world point in double, rounded to Reals only here.
        const jet_point p = to_jet(cfg_.frame, world_[0], world_[1]);
        x = static_cast<real>(p.x);
        y = static_cast<real>(p.y);
        if (!std::isfinite(x) || !std::isfinite(y))
            fail_at(scanner_.field().line, static_cast<uint64_t>(columns_.col(sl_e)),
                    "Punkt zu weit vom Ursprung (--origin)");
    }
    if (!bad_.empty()) {
        if (!cfg_.keep_going) {
            stop_ = bad_kind_;
            message_ = bad_;
            return false;
        }
        if (cfg_.message) cfg_.message(bad_);
        r.kind = row_kind::invalid;
        return true;
    }
    // The row is computed later, with the site values it refers to.
    if (sites.empty() || (site_varies_ && !same_site(sites.back(), values_)))
        sites.push_back(values_);
    r.kind = row_kind::data;
    r.site = static_cast<uint16_t>(sites.size() - 1);
    r.x = x;
    r.y = y;
    return true;
}

bool row_reader::on_record(row_out& r, bool continued, std::vector<params>& sites) {
    on_field(true);
    if (!(header_ ? on_header(r) : on_row(r, continued, sites))) return false;
    start_row();
    return true;
}

} // namespace orv::batch
