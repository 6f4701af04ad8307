// Finding the --label field in the user's layers.
#include "assess/labels.h"

#include <ogrsf_frmts.h>

namespace orv::assess {

bool label_fields(const std::string& label, const std::vector<layer_in>& layers,
                  std::vector<int>& out, std::string& why) {
    out.assign(layers.size(), -1);
    if (label.empty()) return true;
    bool any = false;
    for (std::size_t k = 0; k < layers.size(); ++k) {
        out[k] = layers[k].layer->GetLayerDefn()->GetFieldIndex(label.c_str());
        any = any || out[k] >= 0;
    }
    if (!any) why = "Option --label: Feld in keiner Ebene: " + label;
    return any;
}

} // namespace orv::assess
