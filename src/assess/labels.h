// The --label field of the user's layers: where each layer holds it.
#pragma once
#include <string>
#include <vector>

#include "assess/source.h"

namespace orv::assess {

// The index of the field label in each layer (-1 where it lacks it; all -1
// for an empty label). A field no layer has is refused: false with a
// German reason in why.
bool label_fields(const std::string& label, const std::vector<layer_in>& layers,
                  std::vector<int>& out, std::string& why);

} // namespace orv::assess
