// A batch run: reads CSV rows, computes each, writes them with the added
// columns. No options and no process state: the caller gives file
// descriptors and settings and turns the outcome into messages and a status.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "batch/row_writer.h"
#include "model/jet_frame.h"
#include "model/level.h"
#include "model/params.h"

namespace orv::batch {

struct batch_config {
    int in_fd = 0;
    std::string in_name = "Standardeingabe"; // the input as messages name it
    int out_fd = 1;
    char delim = 0; // 0: the first of ';', ',', tab in the header (else ',')
    char dec = 0;   // 0: ',' with the delimiter ';', else '.'
    bool keep_going = false;
    int digits = -1;
    levels lv;
    params base;                 // the values of parameters without a column
    bool given[n_params] = {};   // which parameters an option gave
    bool prefer_options = false; // an option wins over a column of its parameter
    bool world = false;          // x and y from the columns E and N
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

// What ended a run early.
enum class failure : uint8_t {
    none,
    bad_input,       // the file's content or a setting it clashes with; message says where
    same_separators, // delimiter and decimal separator both ','; message says so
    unreadable,      // reading the input failed with read_error
};

struct batch_outcome {
    failure stop = failure::none;
    std::string message; // German, for bad_input and same_separators
    int read_error = 0;  // errno of a failed read
    int write_error = 0; // errno of the first failed write, or 0
    row_counts counts;   // rows after the header, by what became of them
};

// Runs the batch; never throws for bad input.
batch_outcome run_batch(const batch_config& cfg);

} // namespace orv::batch
