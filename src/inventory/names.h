// The names of the objects a dam endangers, as one register field.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "inventory/objects.h"

namespace orv::inventory {

// The longest orv_names in bytes, its closing " und N weitere" included.
inline constexpr std::size_t names_limit = 500;

// names joined by "; ", at most limit bytes: when they do not fit, as many
// whole names as fit with " und N weitere" for the rest; a first name too
// long on its own is cut where a character begins and ends in "...".
std::string join_names(const std::vector<std::string>& names, std::size_t limit = names_limit);

// The labels of the objects among hits at level from or above, worst first
// as the report lists them: level descending, then distance along the jet,
// then the objects' order in the sources.
std::vector<std::string> endangered_names(std::vector<object_hit> hits, int from,
                                          const object_index& idx);

} // namespace orv::inventory
