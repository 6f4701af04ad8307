// A batch run: reads CSV rows, computes each, writes them with the added
// columns. No options and no process state: the caller gives file
// descriptors and settings and reports the outcome.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "cli/batch_calc.h"
#include "cli/batch_format.h"
#include "cli/status.h"
#include "model/level.h"
#include "model/params.h"

namespace orv::cli {

struct engine_config {
    int in_fd = 0;
    std::string in_name = "Standardeingabe"; // the input as messages name it
    int out_fd = 1;
    char delim = 0; // 0: the first of ';', ',', tab in the header (else ',')
    char dec = 0;   // 0: ',' with the delimiter ';', else '.'
    bool keep_going = false;
    int digits = -1;
    levels lv;
    params base;        // the values of parameters without a column
    bool given[7] = {}; // which of the seven came from an option
    const char* option[7] = {"-H", "-B", "--vol", "-S", "-D", "-x", "-y"};
    bool world = false; // x and y from the columns E and N
    world_frame frame;
    std::string e_name = "E", n_name = "N";
    std::size_t chunk_size = 64 * 1024; // bytes of input per chunk
    std::size_t max_rows = 8192;        // rows per chunk
    std::size_t max_sites = 256;        // different sites per chunk
    bool threaded = true;
    // A line for standard error (without the program's name).
    std::function<void(const std::string&)> message;
    // Called now and then with the number of rows read so far.
    std::function<void(uint64_t)> progress;
};

// Rows after the header, by what became of them.
using engine_stats = row_counts;

struct engine_outcome {
    maybe_problem stop;  // what ended the run early, if anything
    int write_error = 0; // errno of a failed write, or 0
    engine_stats stats;
};

// Runs the batch; never throws for bad input.
engine_outcome run_engine(const engine_config& cfg);

} // namespace orv::cli
