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

// After the title and the popups, an enable hint on the item popup's value
// that names no control, so it enables nothing; then the word that ends its
// list of controls and the one that ends the hint list.
const host::PanelHintWord kOwnHints[] = {
    host::kHintEnable, kReferenceItemControl, kNoHintWord, kNoHintWord, kNoHintWord, kNoHintWord, kNoHintWord,
};

const auto kHints = panelHints(kReferencePanelTitle, kOwnHints);

}  // namespace

const PanelDescription kReferencePanel = {kControls, kData, kHints.data()};

}  // namespace kelto
