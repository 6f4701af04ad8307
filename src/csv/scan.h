// A resumable CSV tokenizer (RFC 4180) over input that arrives in pieces.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "csv/number.h"

namespace orv::csv {

// How a record ended: at the end of the input, by LF, by CR LF, or by a CR
// alone (old spreadsheet exports).
enum class line_end : uint8_t { none, lf, crlf, cr };

// What scan() stopped at.
enum class event : uint8_t {
    more,   // the piece is used up: give the next piece (or finish at the end)
    field,  // a field ended at a delimiter; the next field follows
    record, // the record's last field ended at a line end or the input's end
};

// Longest value kept of a collected field (after its leading blanks).
inline constexpr std::size_t max_value_len = max_number_len + 1;

// The field that just ended.
struct field_info {
    std::size_t line = 1;   // physical line where it began (the first is 1)
    bool quoted = false;    // it began with a quote
    bool bad_quote = false; // a quote inside an unquoted field, or bytes after a closing one
    bool unclosed = false;  // the input ended inside its quotes
    bool too_long = false;  // collected and longer than max_value_len
};

// Splits input into fields and records. Quotes are special only at the
// start of a field: there they open a quoted field in which delimiters and
// line ends are data and "" stands for one quote. Elsewhere a quote is data
// (and marks the field bad_quote). LF, CR LF and a CR alone end a line (CR CR
// LF is two line ends); inside quotes they are data. The tokenizer never fails; what is wrong is
// told by the field flags.
//
// The caller feeds pieces with scan() until it returns `more`, then the next
// piece from the position returned (bytes not consumed, at most one, must be
// given again at the front of the next piece), and at the end of the input
// calls finish(). Before a field begins, the caller sets collect to have its
// value kept (unquoted, leading blanks and tabs dropped, up to max_value_len).
class scanner {
  public:
    // delim 0: the delimiter is the first of ';', ',' or tab met outside
    // quotes (for a header); else that byte.
    explicit scanner(char delim = ',');

    // Scans [p, end) up to the next event; returns where scanning stopped.
    // last: nothing follows end, so a CR or a quote there is decided now.
    const char* scan(const char* p, const char* end, event& ev, bool last = false);

    // At the end of the input, after scan() used up the last piece, which
    // ended at end: true when a record was open (it ends now, as by an event
    // record with line_end none and content_end end).
    bool finish(const char* end);

    // True whether a collected field's value is kept.
    bool collect = false;

    // The value of the field that just ended (empty unless collected).
    std::string_view value() const { return {val_, n_}; }
    const field_info& field() const { return last_; }
    // At an event record: where its content ended in the last piece (before
    // its line end; the end of the input for finish()), and how it ended.
    const char* content_end() const { return content_end_; }
    line_end ending() const { return ending_; }
    // True when the record that just ended held nothing but delimiters.
    bool only_delims() const { return last_only_; }
    // The delimiter (0 while still undetermined).
    char delim() const { return delim_; }
    void set_delim(char d);
    // The physical line at the scanning position.
    std::size_t line() const { return line_; }

  private:
    // Byte classes in unquoted text.
    enum cls : uint8_t { data, delimiter, lf, cr, quote, candidate };
    enum class state : uint8_t { start, unquoted, quoted };
    void put(char c);
    void put_run(const char* p, const char* q);
    void end_field();
    void end_record(const char* content_end, line_end how);

    char delim_;
    state st_ = state::start;
    bool keep_ = false;       // the current field is collected
    bool data_ = false;       // the current field has unquoted data bytes
    bool started_ = false;    // the current record has begun
    bool only_delims_ = true; // the current record holds delimiters only so far
    bool last_only_ = false;  // the same for the record that just ended
    bool cr_ = false;         // the last byte inside quotes was a CR
    std::size_t line_ = 1;
    field_info cur_, last_;
    const char* content_end_ = nullptr;
    line_end ending_ = line_end::none;
    std::size_t n_ = 0; // value length of the current or last field
    uint8_t cls_[256];
    char val_[max_value_len];
};

} // namespace orv::csv
