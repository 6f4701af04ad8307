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
std::string row_reader::at(std::size_t line) const {
    return cfg_.in_name + ", Zeile " + std::to_string(line);
}

// Keeps the first problem of the current row.
void row_reader::fail(std::size_t line, const std::string& where, const std::string& why) {
    if (!bad_.empty()) return;
    bad_ = at(line) + ", " + where + ": " + why;
    bad_kind_ = failure::bad_input;
    want_ = none;
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
    if (why) fail(f.line, columns_.label(col_), why + (v.empty() ? "" : ": " + shown_text(v)));
}

void row_reader::on_field(bool last) {
    const csv::field_info& f = scanner_.field();
    if (f.unclosed)
        fail(f.line, header_ ? "Kopfzeile" : columns_.label(col_),
             "Anfuehrungszeichen nicht geschlossen");
    if (header_) {
        if (auto pr = columns_.add(scanner_.value(), f.too_long); pr && bad_.empty()) {
            bad_ = at(1) + ": " + *pr;
            bad_kind_ = failure::bad_input;
        }
        return;
    }
    if (col_ == want_) {
        cell(columns_.wanted()[next_].slot);
        if (bad_.empty())
            want_ = ++next_ < columns_.wanted().size() ? columns_.wanted()[next_].col : none;
    }
    ++col_;
    if (!last && col_ == columns_.count())
        fail(scanner_.line(), "Spalte " + std::to_string(col_ + 1),
             "ueberzaehliges Feld, die Kopfzeile hat " + std::to_string(columns_.count()) +
                 " Spalten");
    scanner_.collect = col_ == want_;
}

// The header ended: the columns, the delimiter and decimal separator, and
// which of a column and an option gives a parameter.
bool row_reader::on_header(row_out& r) {
    const auto header_fails = [this](failure kind, const std::string& text) {
        if (!bad_.empty()) return;
        bad_ = text;
        bad_kind_ = kind;
    };
    if (scanner_.only_delims() && columns_.count() == 1)
        header_fails(failure::bad_input, at(1) + ": Kopfzeile ist leer");
    if (auto pr = columns_.finish(cfg_.given[sl_x] || cfg_.given[sl_y]))
        header_fails(failure::bad_input, at(1) + ": " + *pr);
    if (scanner_.delim() == 0) scanner_.set_delim(',');
    const char d = scanner_.delim();
    const char dec = cfg_.dec != 0 ? cfg_.dec : d == ';' ? ',' : '.';
    if (d == ',' && dec == ',')
        header_fails(failure::same_separators, "Trennzeichen und Dezimalzeichen sind beide ','");
    for (int s = 0; s < n_params; ++s) {
        if (columns_.col(s) < 0 || !cfg_.given[s]) continue;
        if (cfg_.prefer_options) {
            columns_.drop(s);
            continue;
        }
        const char* option = param_table[s].option;
        header_fails(failure::bad_input,
                     at(1) + ": " + columns_.label(static_cast<uint64_t>(columns_.col(s))) +
                         " und Option " + option + " geben beide " + param_table[s].name +
                         " an; Option " + option + " weglassen oder --prefer options angeben");
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
        fail(line, columns_.label(col_),
             "Feld fehlt, die Zeile hat " + std::to_string(col_) + " von " +
                 std::to_string(columns_.count()) + " Feldern");
    }
    real x = values_.x1, y = values_.y1;
    if (bad_.empty() && cfg_.world) {
        // The world point in double, rounded to Reals only here.
        const jet_point p = to_jet(cfg_.frame, world_[0], world_[1]);
        x = static_cast<real>(p.x);
        y = static_cast<real>(p.y);
        if (!std::isfinite(x) || !std::isfinite(y))
            fail(scanner_.field().line, columns_.label(static_cast<uint64_t>(columns_.col(sl_e))),
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
