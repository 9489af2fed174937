#include "panel/toolkit_panel.h"

namespace kelto {

namespace {

bool hasEveryFunction(const host::PanelToolkit& toolkit) {
    return toolkit.create != nullptr && toolkit.describe != nullptr && toolkit.hint != nullptr &&
           toolkit.userData != nullptr && toolkit.viewInstance != nullptr;
}

}  // namespace

host::PanelId buildPanel(const host::PanelToolkit& toolkit, const PanelLayout& layout, void* instance) {
    if (!hasEveryFunction(toolkit)) return nullptr;
    host::PanelId panel = toolkit.create(host::kPanelTypeViewer, layout.controls);
    if (panel == nullptr) return nullptr;
    toolkit.hint(panel, host::kPanelControlId, layout.hints);
    toolkit.describe(panel, layout.data, layout.get, layout.set);
    toolkit.viewInstance(panel, instance);
    toolkit.userData(panel, host::kPanelControlId, instance);
    return panel;
}

}  // namespace kelto
