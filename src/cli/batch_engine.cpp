// The reading and computing side of a batch run. Input is read into chunks
// and split into records by the scanner; each record becomes a row that
// refers to its bytes in the chunk, and full chunks go to the writing side.
// A record cut by the chunk's end moves to the next chunk; one longer than
// half a chunk leaves its first bytes behind as a piece.
#include "cli/batch_engine.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

#include "cli/batch_columns.h"
#include "cli/batch_compute.h"
#include "cli/batch_format.h"
#include "cli/batch_queue.h"
#include "cli/site_options.h"
#include "csv/number.h"
#include "csv/scan.h"
#include "io/os_error.h"

namespace orv::cli {

namespace {

constexpr uint64_t none = std::numeric_limits<uint64_t>::max();

// Smallest chunk, so that a carried record and a byte held back still
// leave room to read; smallest output buffer, for a row's added columns.
constexpr std::size_t min_chunk = 16;
constexpr std::size_t min_out = 16 * 1024;

// Where a slot's value goes in a Parameter set, and whether it must be > 0.
real params::*const member[7] = {&params::h,  &params::b,  &params::vol, &params::slp,
                                 &params::dm, &params::x1, &params::y1};
constexpr bool positive[7] = {true, true, true, false, true, false, false};

class engine {
  public:
    explicit engine(const engine_config& cfg);
    engine_outcome run();

  private:
    bool step();
    bool read_more();
    void hand_over(bool flush);
    void on_field(bool last);
    bool on_record(std::size_t content_end);
    bool on_header(row_out& r);
    bool on_row(row_out& r);
    void cell(int s);
    void fail(std::size_t line, const std::string& where, const std::string& why);
    void start_row();
    std::string at(std::size_t line) const;

    bool drain(chunk& c);

    const engine_config& cfg_;
    columns cols_;
    row_calc calc_, calc2_; // for this thread and for the writing thread
    bool site_columns_ = false;
    csv::scanner sc_;
    row_writer w_;
    chunk_queue q_;
    chunk* cur_;
    std::size_t size_;
    std::size_t max_rows_, max_sites_;
    std::size_t line_start_ = 0, pos_ = 0, end_ = 0; // offsets in cur_
    bool eof_ = false, slow_ = false;
    bool header_ = true;
    bool pieces_ = false; // the current record left pieces behind
    char dec_ = '.';
    uint64_t rows_ = 0;
    engine_outcome out_;
    // The row being read.
    uint64_t col_ = 0, want_ = none;
    std::size_t next_ = 0;
    params p_;
    double en_[2] = {0, 0};
    maybe_problem bad_;
};

engine::engine(const engine_config& cfg)
    : cfg_(cfg), cols_(cfg.world, cfg.e_name, cfg.n_name), calc_(cfg.base, cfg.lv, false),
      calc2_(calc_), sc_(cfg.delim), w_(cfg.out_fd, std::max(cfg.chunk_size, min_out)),
      q_([this](chunk& c) { return drain(c); }, std::max(cfg.chunk_size, min_chunk),
         std::max<std::size_t>(cfg.max_rows, 1), std::max<std::size_t>(cfg.max_sites, 1),
         cfg.threaded),
      cur_(q_.take()), size_(std::max(cfg.chunk_size, min_chunk)),
      max_rows_(std::max<std::size_t>(cfg.max_rows, 1)),
      max_sites_(std::max<std::size_t>(cfg.max_sites, 1)) {
    sc_.collect = true;
}

// What the writing side does with a chunk: computes rows from the front
// while this thread computes from the back, then writes them all.
bool engine::drain(chunk& c) {
    compute_rows(c, calc2_, true);
    await_rows(c);
    w_.write(c);
    return w_.error() == 0;
}

// "<input>, Zeile <line>" for messages.
std::string engine::at(std::size_t line) const {
    return cfg_.in_name + ", Zeile " + std::to_string(line);
}

// Keeps the first problem of the current row.
void engine::fail(std::size_t line, const std::string& where, const std::string& why) {
    if (bad_) return;
    bad_ = problem{exit_bad_value, at(line) + ", " + where + ": " + why};
    want_ = none;
}

// The state of a new row: nothing read, the options' values.
void engine::start_row() {
    col_ = 0;
    next_ = 0;
    const auto& w = cols_.wanted();
    want_ = w.empty() ? none : w[0].col;
    p_ = cfg_.base;
    bad_.reset();
    pieces_ = false;
    sc_.collect = want_ == 0;
}

// Reads the collected field as the value of slot s.
void engine::cell(int s) {
    const csv::field_info& f = sc_.field();
    const std::string_view v = sc_.value();
    const char* why = nullptr;
    if (f.too_long) {
        why = describe(num_error::too_long);
    } else if (f.bad_quote) {
        why = "fehlerhafte Anfuehrungszeichen";
    } else if (s >= sl_e) {
        const auto r = read_double(v, dec_);
        if (!r.ok())
            why = describe(r.err);
        else if (!std::isfinite(r.value))
            why = "Wert muss endlich sein";
        else
            en_[s - sl_e] = r.value;
    } else {
        const auto r = read_real(v, dec_);
        if (!r.ok())
            why = describe(r.err);
        else if (!(why = unusable(r.value, positive[s])))
            p_.*member[s] = r.value;
    }
    if (why) fail(f.line, cols_.label(col_), why + (v.empty() ? "" : ": " + shown_text(v)));
}

// A field ended; last: it ended its record.
void engine::on_field(bool last) {
    const csv::field_info& f = sc_.field();
    if (f.unclosed)
        fail(f.line, header_ ? "Kopfzeile" : cols_.label(col_),
             "Anfuehrungszeichen nicht geschlossen");
    if (header_) {
        if (auto pr = cols_.add(sc_.value(), f.too_long); pr && !bad_)
            bad_ = problem{pr->status, at(1) + ": " + pr->text};
        return;
    }
    if (col_ == want_) {
        cell(cols_.wanted()[next_].slot);
        if (!bad_) want_ = ++next_ < cols_.wanted().size() ? cols_.wanted()[next_].col : none;
    }
    ++col_;
    if (!last && col_ == cols_.count())
        fail(sc_.line(), "Spalte " + std::to_string(col_ + 1),
             "ueberzaehliges Feld, die Kopfzeile hat " + std::to_string(cols_.count()) +
                 " Spalten");
    sc_.collect = col_ == want_;
}

// The header ended: the columns, the delimiter and decimal separator.
bool engine::on_header(row_out& r) {
    if (!bad_ && sc_.only_delims() && cols_.count() == 1)
        bad_ = problem{exit_bad_value, at(1) + ": Kopfzeile ist leer"};
    if (!bad_)
        if (auto pr = cols_.finish()) bad_ = problem{pr->status, at(1) + ": " + pr->text};
    if (sc_.delim() == 0) sc_.set_delim(',');
    const char d = sc_.delim();
    dec_ = cfg_.dec != 0 ? cfg_.dec : d == ';' ? ',' : '.';
    if (!bad_ && d == ',' && dec_ == ',')
        bad_ = problem{exit_usage, "Trennzeichen und Dezimalzeichen sind beide ','"};
    if (bad_) {
        out_.stop = bad_;
        return false;
    }
    for (int s = 0; s < 7; ++s) {
        if (cols_.col(s) < 0) continue;
        site_columns_ = site_columns_ || s < sl_x;
        if (cfg_.given[s] && cfg_.message)
            cfg_.message("Hinweis: " + cols_.label(static_cast<uint64_t>(cols_.col(s))) +
                         " gilt, Option " + cfg_.option[s] + " wird nicht verwendet");
    }
    calc_ = row_calc(cfg_.base, cfg_.lv, site_columns_);
    if (cfg_.world) calc_.set_world(cfg_.frame);
    calc2_ = calc_;
    w_.set_format({d, dec_, cfg_.digits, cfg_.world});
    header_ = false;
    r.kind = row_kind::header;
    return true;
}

// A row after the header ended.
bool engine::on_row(row_out& r) {
    if (r.len == 0 && !pieces_) {
        r.kind = row_kind::empty;
        return true;
    }
    if (sc_.only_delims()) {
        r.kind = row_kind::blank;
        return true;
    }
    if (col_ < cols_.count()) {
        const std::size_t line = sc_.ending() == csv::line_end::none ? sc_.line() : sc_.line() - 1;
        fail(line, cols_.label(col_),
             "Feld fehlt, die Zeile hat " + std::to_string(col_) + " von " +
                 std::to_string(cols_.count()) + " Feldern");
    }
    real x = p_.x1, y = p_.y1;
    if (!bad_ && cfg_.world) {
        calc_.to_jet(en_[0], en_[1], x, y);
        if (!std::isfinite(x) || !std::isfinite(y))
            fail(sc_.field().line, cols_.label(static_cast<uint64_t>(cols_.col(sl_e))),
                 "Punkt zu weit vom Ursprung (--origin)");
    }
    if (bad_) {
        if (!cfg_.keep_going) {
            out_.stop = bad_;
            return false;
        }
        if (cfg_.message) cfg_.message(bad_->text);
        r.kind = row_kind::invalid;
        return true;
    }
    // The row is computed later, with the site values it refers to.
    std::vector<params>& sites = cur_->sites;
    if (sites.empty() || (site_columns_ && !same_site(sites.back(), p_))) sites.push_back(p_);
    r.kind = row_kind::data;
    r.site = static_cast<uint16_t>(sites.size() - 1);
    r.x = x;
    r.y = y;
    return true;
}

// A record ended, its content ending at offset content_end; false stops.
bool engine::on_record(std::size_t content_end) {
    on_field(true);
    row_out r{};
    r.off = static_cast<uint32_t>(line_start_);
    r.len = static_cast<uint32_t>(content_end - line_start_);
    r.end = sc_.ending();
    // Quotes left open at the end: a line end they took in stays the row's
    // line end, so that the added columns stay on the row's last line.
    const char* b = cur_->buf.get() + r.off;
    if (sc_.field().unclosed && r.len > 0 && b[r.len - 1] == '\n') {
        const bool cr = r.len > 1 && b[r.len - 2] == '\r';
        r.len -= cr ? 2 : 1;
        r.end = cr ? csv::line_end::crlf : csv::line_end::lf;
    }
    if (!(header_ ? on_header(r) : on_row(r))) return false;
    cur_->rows.push_back(r);
    line_start_ = pos_;
    start_row();
    if (cfg_.progress && (++rows_ & 0xfff) == 0) cfg_.progress(rows_);
    return true;
}

// Gives the current chunk to the writing side, helps computing its rows,
// and goes on in a free chunk with the bytes of the record not yet ended.
void engine::hand_over(bool flush) {
    if (pos_ - line_start_ > size_ / 2) {
        // A line end at the piece's end stays with the rest of the record:
        // open quotes at the input's end may make it the record's own.
        const char* b = cur_->buf.get();
        std::size_t e = pos_;
        if (b[e - 1] == '\n') --e;
        if (b[e - 1] == '\r') --e;
        row_out r{};
        r.off = static_cast<uint32_t>(line_start_);
        r.len = static_cast<uint32_t>(e - line_start_);
        r.kind = row_kind::piece;
        cur_->rows.push_back(r);
        line_start_ = e;
        pieces_ = true;
    }
    chunk* full = cur_;
    full->flush = flush;
    open_rows(*full);
    q_.give(full);
    if (q_.threaded()) compute_rows(*full, calc_, false);
    // Only this thread writes into the chunks' bytes, so those of the
    // chunk handed over stay as they were.
    cur_ = q_.take(full);
    const std::size_t carry = end_ - line_start_;
    std::memcpy(cur_->buf.get(), full->buf.get() + line_start_, carry);
    pos_ -= line_start_;
    end_ = carry;
    line_start_ = 0;
}

// Reads the next bytes into the current chunk; false on a read error.
bool engine::read_more() {
    const std::size_t want = size_ - end_;
    const long n = csv::read_some(cfg_.in_fd, cur_->buf.get() + end_, want);
    if (n < 0) {
        out_.stop =
            problem{exit_bad_value, cfg_.in_name + ": nicht lesbar: " + io::os_error(errno)};
        return false;
    }
    if (n == 0) eof_ = true;
    slow_ = static_cast<std::size_t>(n) < want;
    end_ += static_cast<std::size_t>(n);
    return true;
}

// Scans to the next event and handles it; false ends the run.
bool engine::step() {
    const char* b = cur_->buf.get();
    csv::event ev;
    pos_ = static_cast<std::size_t>(sc_.scan(b + pos_, b + end_, ev, eof_) - b);
    if (ev == csv::event::field) {
        on_field(false);
        return true;
    }
    if (ev == csv::event::record) {
        if (!on_record(static_cast<std::size_t>(sc_.content_end() - b))) return false;
        if (cur_->rows.size() >= max_rows_ || cur_->sites.size() >= max_sites_) hand_over(false);
        return true;
    }
    if (eof_) {
        if (sc_.finish(b + end_)) on_record(end_);
        return false;
    }
    if (q_.failed()) return false;
    if (end_ == size_ || (slow_ && !cur_->rows.empty())) hand_over(slow_);
    return read_more();
}

engine_outcome engine::run() {
    // The byte-order mark is copied with the header but is not part of its first name.
    while (end_ < 3 && !eof_)
        if (!read_more()) break;
    if (!out_.stop) {
        if (end_ >= 3 && std::memcmp(cur_->buf.get(), "\xEF\xBB\xBF", 3) == 0) pos_ = 3;
        while (step()) {
        }
    }
    if (!out_.stop && header_)
        out_.stop =
            problem{exit_bad_value, cfg_.in_name + ": keine Kopfzeile, die Eingabe ist leer"};
    cur_->flush = true;
    open_rows(*cur_);
    q_.give(cur_);
    if (q_.threaded()) compute_rows(*cur_, calc_, false);
    q_.close();
    w_.flush();
    out_.write_error = w_.error();
    out_.stats = w_.counts();
    return out_;
}

} // namespace

engine_outcome run_engine(const engine_config& cfg) {
    engine e(cfg);
    return e.run();
}

} // namespace orv::cli
