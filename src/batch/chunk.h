// A piece of batch input with the rows found in it, as it passes from the
// reading side to computing and writing.
#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "csv/scan.h"
#include "model/params.h"
#include "model/stages.h"

namespace orv::batch {

// What a row of output is made of.
enum class row_kind : uint8_t {
    header,  // the input's header and the names of the added columns
    data,    // a row to compute
    invalid, // a row that could not be read (--keep-going): status "invalid"
    blank,   // delimiters only: the added columns empty
    empty,   // an empty line: stays empty
    piece,   // the first bytes of a line too long for one chunk; it goes on
};

// One row: its bytes in the chunk (everything before its line end), the
// point and the index of its site values in the chunk, and the results.
struct row_out {
    uint32_t off, len;
    row_kind kind;
    csv::line_end end;
    int8_t st;
    int8_t level;
    uint16_t site;
    real x, y;
    intensity res;
};

// Input bytes, the rows that refer to them and the site values of the rows.
// flush: write the output out after these rows (the input arrives slowly,
// or it ended). The rows to compute are claimed from both ends by the two
// sides: claims holds the first unclaimed row (high half) and the end of
// the unclaimed rows (low half); done counts the rows finished.
struct chunk {
    chunk(std::size_t size, std::size_t max_rows, std::size_t max_sites) : buf(new char[size]) {
        rows.reserve(max_rows + 1); // and a piece
        sites.reserve(max_sites);
    }
    std::unique_ptr<char[]> buf;
    std::vector<row_out> rows;
    std::vector<params> sites;
    bool flush = false;
    std::atomic<uint64_t> claims{0};
    std::atomic<uint32_t> done{0};
};

} // namespace orv::batch
