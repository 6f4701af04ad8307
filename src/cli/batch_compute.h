// Computing the rows of a chunk, shared by two threads: one takes rows from
// the front, the other from the back, until they meet.
#pragma once
#include "cli/batch_calc.h"
#include "cli/batch_chunk.h"

namespace orv::cli {

// Makes every row of c unclaimed and none done, before c is shared.
void open_rows(chunk& c);

// Computes blocks of rows of c, from the front or the back, until none is
// left unclaimed.
void compute_rows(chunk& c, row_calc& calc, bool front);

// Waits until every row of c is computed.
void await_rows(chunk& c);

} // namespace orv::cli
