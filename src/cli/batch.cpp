// orvalis batch: the intensities for every row of a CSV file (not built yet).
#include <cstdio>

#include "cli/command.h"
#include "cli/german.h"
#include "cli/status.h"

namespace orv::cli {

// Registers `batch`.
command add_batch(CLI::App& top) {
    CLI::App* app = add_command(top, "batch", "Intensitaeten fuer jede Zeile einer CSV-Datei");
    return {app, [] {
                std::fprintf(stderr, "orvalis batch: noch nicht verfuegbar\n");
                return static_cast<int>(exit_usage);
            }};
}

} // namespace orv::cli
