// A whole register of dams in one run: read row by row, each dam computed
// on a thread of its own, written in the register's order.
#pragma once
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "assess/run.h"
#include "assess/source.h"
#include "inventory/dam.h"
#include "inventory/values.h"

namespace orv::inventory {

// Everything a run needs, read and checked by the caller.
struct request {
    std::string path; // the register
    char delim = 0;   // CSV: 0 for the header's first ';', ',' or tab
    char dec = 0;     // CSV: 0 for ',' after ';', else '.'
    value_options values;
    dam_rules rules;
    assess::source_request objects; // the --objects sources, --layer, --crs
    std::string label;              // the field that names objects; empty for the feature id
    double spacing = 1;
    std::string out;               // output file
    std::string objects_out;       // the objects with their highest level; empty for none
    bool worst_points = false;     // with objects_out: their worst points as a layer too
    std::string zones;             // every dam's zone polygons; empty for none
    std::string reports;           // the folder of the dams' reports; empty for none
    bool reports_html = false;     // reports as HTML, else PDF
    std::string command, version;  // how the reports say they were made
    std::string title;             // the reports' title before "Anlage ID"; empty for the usual
    std::string author;            // the reports' author
    std::string background;        // a raster under the reports' zones; empty for none
    std::optional<double> opacity; // of the zones over it
    std::time_t date = 0;          // the reports' date
    unsigned threads = 0;          // 0 for all cores
    std::uint64_t shard = 1, shards = 1; // --shard K/N
    bool keep_going = false;
    // Told about each row or object skipped with keep_going.
    std::function<void(const std::string&)> warn;
    // Told how far the run is: dams done, and the share of the register read (0 to 1).
    std::function<void(std::uint64_t, double)> progress;
};

// How the run ended: as an assessment ends.
using ending = assess::ending;

struct outcome {
    ending end = ending::ok;
    std::string message; // German, for bad_input and usage
    std::uint64_t dams = 0;
    std::uint64_t answers[3] = {}; // by enum answer
    std::uint64_t errors = 0;
    std::uint64_t objects = 0;
};

// Runs the register.
outcome run(const request& r);

// The file name of a CSV register: ".csv", ".tsv" or ".txt" in any case.
bool is_csv_name(const std::string& path);

} // namespace orv::inventory
