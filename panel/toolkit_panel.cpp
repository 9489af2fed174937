#include "panel/toolkit_panel.h"

namespace kelto {

namespace {

bool hasEveryFunction(const host::PanelToolkit& toolkit) {
    return toolkit.create != nullptr && toolkit.describe != nullptr && toolkit.hint != nullptr &&
           toolkit.setData != nullptr && toolkit.viewInstance != nullptr;
}

}  // namespace

host::PanelId buildPanel(const host::PanelToolkit& toolkit, const host::PanelControl* controls,
                         const host::PanelDataDescription* data, const PanelCallbacks& callbacks, void* instance) {
    if (!hasEveryFunction(toolkit)) return nullptr;
    host::PanelId panel = toolkit.create(host::kPanelTypeViewer, controls);
    if (panel == nullptr) return nullptr;
    toolkit.hint(panel, host::kPanelControlId, callbacks.hints);
    toolkit.describe(panel, data, callbacks.get, callbacks.set);
    toolkit.viewInstance(panel, instance);
    toolkit.setData(panel, host::kPanelControlId, instance);
    return panel;
}

}  // namespace kelto
