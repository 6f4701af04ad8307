// The chunk plumbing of a batch run. Input is read into chunks and split
// into records by the scanner; the row reader makes each record a row that
// refers to its bytes in the chunk, and full chunks go to the writing side,
// which computes their rows together with this thread and writes them. A
// record cut by the chunk's end moves to the next chunk; one longer than
// half a chunk leaves its first bytes behind as a piece.
#include "batch/engine.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "batch/chunk_queue.h"
#include "batch/row_compute.h"
#include "batch/row_reader.h"
#include "batch/row_writer.h"
#include "csv/encoding.h"
#include "csv/number.h"
#include "csv/scan.h"
#include "model/row_eval.h"

namespace orv::batch {

namespace {

// Smallest chunk, so that a carried record and a byte held back still
// leave room to read; smallest output buffer, for a row's added columns.
constexpr std::size_t min_chunk = 16;
constexpr std::size_t min_out = 16 * 1024;

class engine {
  public:
    explicit engine(const batch_config& cfg);
    batch_outcome run();

  private:
    bool step();
    bool read_more();
    bool starts_foreign();
    void hand_over(bool flush);
    bool on_record(std::size_t content_end);
    bool drain(chunk& c);

    const batch_config& cfg_;
    csv::scanner scanner_;
    row_reader reader_;
    row_evaluator evaluator_;        // for this thread
    row_evaluator writer_evaluator_; // for the writing thread
    row_writer writer_;
    chunk_queue queue_;
    chunk* current_;
    const std::size_t chunk_size_, max_rows_, max_sites_;
    // Offsets in current_: where the open record began, the scanning
    // position, the end of the bytes read.
    std::size_t record_start_ = 0, pos_ = 0, end_ = 0;
    bool eof_ = false;
    bool slow_ = false;      // the last read gave less than asked for
    bool continued_ = false; // the open record left pieces behind
    uint64_t records_ = 0;
    batch_outcome outcome_;
};

engine::engine(const batch_config& cfg)
    : cfg_(cfg), scanner_(cfg.delim), reader_(cfg, scanner_), evaluator_(cfg.base, cfg.lv, false),
      writer_evaluator_(evaluator_), writer_(cfg.out_fd, std::max(cfg.chunk_size, min_out)),
      queue_([this](chunk& c) { return drain(c); }, std::max(cfg.chunk_size, min_chunk),
             std::max<std::size_t>(cfg.max_rows, 1), std::max<std::size_t>(cfg.max_sites, 1),
             cfg.threaded),
      current_(queue_.take()), chunk_size_(std::max(cfg.chunk_size, min_chunk)),
      max_rows_(std::max<std::size_t>(cfg.max_rows, 1)),
      max_sites_(std::max<std::size_t>(cfg.max_sites, 1)) {}

// What the writing side does with a chunk: computes rows from the front
// while this thread computes from the back, then writes them all.
bool engine::drain(chunk& c) {
    compute_rows(c, writer_evaluator_, true);
    await_rows(c);
    writer_.write(c);
    return writer_.error() == 0;
}

// A record ended, its content ending at offset content_end; false stops.
bool engine::on_record(std::size_t content_end) {
    row_out r{};
    r.off = static_cast<uint32_t>(record_start_);
    r.len = static_cast<uint32_t>(content_end - record_start_);
    r.end = scanner_.ending();
    // Quotes left open at the end: a line end they took in stays the row's
    // line end, so that the added columns stay on the row's last line.
    const char* b = current_->buf.get() + r.off;
    if (scanner_.field().unclosed && r.len > 0 && b[r.len - 1] == '\n') {
        const bool cr = r.len > 1 && b[r.len - 2] == '\r';
        r.len -= cr ? 2 : 1;
        r.end = cr ? csv::line_end::crlf : csv::line_end::lf;
    } else if (scanner_.field().unclosed && r.len > 0 && b[r.len - 1] == '\r') {
        r.len -= 1;
        r.end = csv::line_end::cr;
    }
    const bool header = reader_.in_header();
    if (!reader_.on_record(r, continued_, current_->sites)) {
        outcome_.stop = reader_.stop();
        outcome_.message = reader_.message();
        return false;
    }
    if (header) {
        writer_.set_format(reader_.format());
        evaluator_ = row_evaluator(cfg_.base, cfg_.lv, reader_.site_varies());
        writer_evaluator_ = evaluator_;
    }
    current_->rows.push_back(r);
    record_start_ = pos_;
    continued_ = false;
    if (cfg_.progress && (++records_ & 0xfff) == 0) cfg_.progress(records_);
    return true;
}

// Gives the current chunk to the writing side, helps computing its rows,
// and goes on in a free chunk with the bytes of the record not yet ended.
void engine::hand_over(bool flush) {
    if (pos_ - record_start_ > chunk_size_ / 2) {
        // A line end at the piece's end stays with the rest of the record:
        // open quotes at the input's end may make it the record's own.
        const char* b = current_->buf.get();
        std::size_t e = pos_;
        if (b[e - 1] == '\n') --e;
        if (b[e - 1] == '\r') --e;
        row_out r{};
        r.off = static_cast<uint32_t>(record_start_);
        r.len = static_cast<uint32_t>(e - record_start_);
        r.kind = row_kind::piece;
        current_->rows.push_back(r);
        record_start_ = e;
        continued_ = true;
    }
    chunk* full = current_;
    full->flush = flush;
    open_rows(*full);
    queue_.give(full);
    if (queue_.threaded()) compute_rows(*full, evaluator_, false);
    // Only this thread writes into the chunks' bytes, so those of the
    // chunk handed over stay as they were.
    current_ = queue_.take(full);
    const std::size_t carry = end_ - record_start_;
    std::memcpy(current_->buf.get(), full->buf.get() + record_start_, carry);
    pos_ -= record_start_;
    end_ = carry;
    record_start_ = 0;
}

// Reads the next bytes into the current chunk; false on a read error.
bool engine::read_more() {
    const std::size_t want = chunk_size_ - end_;
    const long n = csv::read_some(cfg_.in_fd, current_->buf.get() + end_, want);
    if (n < 0) {
        outcome_.stop = failure::unreadable;
        outcome_.read_error = errno;
        return false;
    }
    if (n == 0) eof_ = true;
    slow_ = static_cast<std::size_t>(n) < want;
    end_ += static_cast<std::size_t>(n);
    return true;
}

// Scans to the next event and handles it; false ends the run.
bool engine::step() {
    const char* b = current_->buf.get();
    csv::event ev;
    pos_ = static_cast<std::size_t>(scanner_.scan(b + pos_, b + end_, ev, eof_) - b);
    if (ev == csv::event::field) {
        reader_.on_field(false);
        return true;
    }
    if (ev == csv::event::record) {
        if (!on_record(static_cast<std::size_t>(scanner_.content_end() - b))) return false;
        if (current_->rows.size() >= max_rows_ || current_->sites.size() >= max_sites_)
            hand_over(false);
        return true;
    }
    if (eof_) {
        if (scanner_.finish(b + end_)) on_record(end_);
        return false;
    }
    if (queue_.failed()) return false;
    if (end_ == chunk_size_ || (slow_ && !current_->rows.empty())) hand_over(slow_);
    return read_more();
}

// True (and the run stopped) when the input starts with the byte-order
// mark of UTF-16 or UTF-32: its bytes would be read as garbled names.
bool engine::starts_foreign() {
    const char* enc = csv::foreign_encoding(current_->buf.get(), end_);
    if (!enc) return false;
    outcome_.stop = failure::bad_input;
    outcome_.message = cfg_.in_name + ": " + csv::foreign_message(enc);
    return true;
}

batch_outcome engine::run() {
    // The first bytes tell the encoding; a UTF-8 byte-order mark is copied
    // with the header but is not part of its first name.
    while (end_ < 4 && !eof_)
        if (!read_more()) break;
    if (outcome_.stop == failure::none && !starts_foreign()) {
        if (std::string_view(current_->buf.get(), end_).starts_with(csv::utf8_mark))
            pos_ = csv::utf8_mark.size();
        while (step()) {
        }
    }
    if (outcome_.stop == failure::none && reader_.in_header()) {
        outcome_.stop = failure::bad_input;
        outcome_.message = cfg_.in_name + ": keine Kopfzeile, die Eingabe ist leer";
    }
    current_->flush = true;
    open_rows(*current_);
    queue_.give(current_);
    if (queue_.threaded()) compute_rows(*current_, evaluator_, false);
    queue_.close();
    writer_.flush();
    outcome_.write_error = writer_.error();
    outcome_.counts = writer_.counts();
    return outcome_;
}

} // namespace

batch_outcome run_batch(const batch_config& cfg) {
    engine e(cfg);
    return e.run();
}

} // namespace orv::batch
