#include "panel/reference_panel.h"

namespace kelto {

const char kReferencePanelTitle[] = "Zivov Udiruvu";

namespace {

const host::PanelControl kControls[] = {
    {kReferenceItemControl, kReferenceItemLabel, HOST_PANEL_CLASS_POPUP_CHOICE},
    {kReferenceCameraControl, kReferenceCameraLabel, HOST_PANEL_CLASS_POPUP_CHOICE},
    {0, nullptr, nullptr},
};

const host::PanelDataDescription kData[] = {
    {kReferenceItemControl, kReferenceItemLabel, HOST_PANEL_TYPE_INTEGER},
    {kReferenceCameraControl, kReferenceCameraLabel, HOST_PANEL_TYPE_INTEGER},
    {0, nullptr, nullptr},
};

}  // namespace

host::PanelId buildReferencePanel(const host::PanelToolkit& toolkit, const PanelCallbacks& callbacks,
                                  DistanceInstance& instance) {
    return buildPanel(toolkit, kControls, kData, callbacks, &instance);
}

}  // namespace kelto
