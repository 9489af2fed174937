#include "panel/toolkit_panel.h"

namespace kelto {

namespace {

bool hasEveryFunction(const host::PanelToolkit& toolkit) {
    return toolkit.create != nullptr && toolkit.describe != nullptr && toolkit.hint != nullptr &&
           toolkit.setData != nullptr && toolkit.viewInstance != nullptr;
}

}  // namespace

host::PanelId buildPanel(const host::PanelToolkit& toolkit, const PanelDescription& panel, host::PanelGetFunction get,
                         host::PanelSetFunction set, void* instance) {
    if (!hasEveryFunction(toolkit)) return nullptr;
    host::PanelId built = toolkit.create(host::kPanelTypeViewer, panel.controls);
    if (built == nullptr) return nullptr;
    toolkit.hint(built, host::kPanelControlId, panel.hints);
    toolkit.describe(built, panel.data, get, set);
    toolkit.viewInstance(built, instance);
    toolkit.setData(built, host::kPanelControlId, instance);
    return built;
}

}  // namespace kelto
