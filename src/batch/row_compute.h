// Computing the rows of a chunk, shared by two threads: one takes rows from
// the front, the other from the back, until they meet.
#pragma once
#include "batch/chunk.h"
#include "model/row_eval.h"

namespace orv::batch {

// Makes every row of c unclaimed and none done, before c is shared.
void open_rows(chunk& c);

// Computes blocks of rows of c, from the front or the back, until none is
// left unclaimed.
void compute_rows(chunk& c, row_evaluator& eval, bool front);

// Waits until every row of c is computed.
void await_rows(chunk& c);

} // namespace orv::batch
