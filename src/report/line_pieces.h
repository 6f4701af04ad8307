// The stretches of the judged lines a map shows, each levelled by the same
// judge that gave the object its level.
#pragma once
#include "assess/run.h"
#include "report/world_picture.h"

namespace orv::report {

// What world_request::pieces holds.
using pieces_fn = decltype(world_request::pieces);

// The pieces for the objects of the assessment r: every object with a level
// of 1 or more whose line parts reach into the map's box has its lines
// judged again sample by sample, under r's site, thresholds, jet and
// spacing, on r's threads. Objects outside the box, open ones (without a
// result) and those at level 0 keep their one colour, and no stretch is
// kept for them, so that a layer of many lines costs memory only for those
// drawn.
pieces_fn line_pieces(const assess::request& r);

} // namespace orv::report
