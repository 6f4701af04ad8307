// Fields to rows: the header's names become columns, each later record a
// row to compute (with its point and site values) or one of the other kinds.
#pragma once
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "batch/chunk.h"
#include "batch/columns.h"
#include "batch/engine.h"
#include "batch/row_writer.h"
#include "csv/scan.h"

namespace orv::batch {

class row_reader {
  public:
    // Reads the fields that scanner finds; sets scanner.collect for them.
    row_reader(const batch_config& cfg, csv::scanner& scanner);

    // A field ended; last: it ended its record.
    void on_field(bool last);

    // A record ended: sets the kind of r and, for a row to compute, its
    // point and the index of its site values, added to sites when they
    // differ from the last ones. continued: the record's first bytes went
    // out as pieces. False stops the run (stop() and message() say why);
    // with --keep-going a bad row is reported and kept as invalid.
    bool on_record(row_out& r, bool continued, std::vector<params>& sites);

    // True until the header ended.
    bool in_header() const { return header_; }
    // After the header: how the added columns are written, and whether
    // site values come from columns.
    out_format format() const { return format_; }
    bool site_varies() const { return site_varies_; }

    failure stop() const { return stop_; }
    const std::string& message() const { return message_; }

  private:
    static constexpr uint64_t none = std::numeric_limits<uint64_t>::max();

    bool on_header(row_out& r);
    bool on_row(row_out& r, bool continued, std::vector<params>& sites);
    void cell(int s);
    bool fail(std::size_t line);
    void fail_at(std::size_t line, uint64_t c, std::string_view why, std::string_view value = {});
    bool fail_header(failure kind, bool placed);
    void start_row();
    void put_at(std::string& out, std::size_t line) const;

    const batch_config& cfg_;
    csv::scanner& scanner_;
    columns columns_;
    bool header_ = true;
    bool site_varies_ = false;
    out_format format_;
    failure stop_ = failure::none;
    std::string message_;
    // The row being read: its column, the next wanted column and its index
    // among the wanted, the values read so far, the first problem (its text
    // is built only for the first, into a buffer kept from row to row).
    uint64_t col_ = 0, want_ = none;
    std::size_t next_ = 0;
    params values_;
    double world_[2] = {0, 0}; // E and N
    std::string bad_;
    failure bad_kind_ = failure::none;
};

} // namespace orv::batch
