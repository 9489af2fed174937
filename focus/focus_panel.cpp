#include "focus/focus_panel.h"

#include <cmath>

namespace kelto {

const char kFocusPanelTitle[] = "Kelto Focus";

namespace {

const char kMeasureLabel[] = "Measure";
const char kSubjectOffsetLabel[] = "Subject Offset";
const char kFocusOffsetLabel[] = "Focus Offset";
const char kLagLabel[] = "Lag";

const host::PanelControl kControls[] = {
    {kReferenceItemControl, kReferenceItemLabel, HOST_PANEL_CLASS_POPUP_CHOICE},
    {kReferenceCameraControl, kReferenceCameraLabel, HOST_PANEL_CLASS_POPUP_CHOICE},
    {kMeasureControl, kMeasureLabel, HOST_PANEL_CLASS_POPUP_CHOICE},
    {kSubjectOffsetControl, kSubjectOffsetLabel, HOST_PANEL_CLASS_DISTANCE3},
    {kFocusOffsetControl, kFocusOffsetLabel, HOST_PANEL_CLASS_DISTANCE},
    {kLagControl, kLagLabel, HOST_PANEL_CLASS_TIME},
    {0, nullptr, nullptr},
};

const host::PanelDataDescription kData[] = {
    {kReferenceItemControl, kReferenceItemLabel, HOST_PANEL_TYPE_INTEGER},
    {kReferenceCameraControl, kReferenceCameraLabel, HOST_PANEL_TYPE_INTEGER},
    {kMeasureControl, kMeasureLabel, HOST_PANEL_TYPE_INTEGER},
    {kSubjectOffsetControl, kSubjectOffsetLabel, HOST_PANEL_TYPE_DISTANCE3},
    {kFocusOffsetControl, kFocusOffsetLabel, HOST_PANEL_TYPE_DISTANCE},
    {kLagControl, kLagLabel, HOST_PANEL_TYPE_TIME},
    {0, nullptr, nullptr},
};

// After the title and the reference popups as in Kelto's panel, the
// measure's entries from its static list; then the word that closes the list.
const host::PanelHintWord kOwnHints[] = {
    host::kHintStringList, kMeasureControl, hintWord(kMeasureNames), kNoHintWord, kNoHintWord,
};

const auto kHints = panelHints(kFocusPanelTitle, kOwnHints);

int refreshFor(bool stored) { return stored ? host::kRefreshNone : host::kRefreshValues; }

// The panel's lag is never refused for its sign: below 0 it becomes 0.
int setLagFromPanel(FocusSettings& settings, double seconds) {
    bool negative = std::isfinite(seconds) && seconds < 0;
    bool stored = setLag(settings, negative ? 0.0 : seconds);
    return stored && !negative ? host::kRefreshNone : host::kRefreshValues;
}

}  // namespace

const PanelDescription kFocusPanel = {kControls, kData, kHints.data()};

void* focusValue(FocusInstance& instance, uint32_t control) {
    FocusSettings& settings = instance.settings;
    switch (control) {
        case kMeasureControl: return &settings.measure;
        case kSubjectOffsetControl: return settings.subjectOffset;
        case kFocusOffsetControl: return &settings.focusOffset;
        case kLagControl: return &settings.lag;
        default: return popupValue(instance, control);
    }
}

int setFocusValue(FocusInstance& instance, uint32_t control, const void* value) {
    FocusSettings& settings = instance.settings;
    switch (control) {
        case kMeasureControl: return refreshFor(setMeasure(settings, *static_cast<const int32_t*>(value)));
        case kSubjectOffsetControl:
            return refreshFor(setSubjectOffset(settings, *static_cast<const double(*)[kAxisCount]>(value)));
        case kFocusOffsetControl: return refreshFor(setFocusOffset(settings, *static_cast<const double*>(value)));
        case kLagControl: return setLagFromPanel(settings, *static_cast<const double*>(value));
        default: return setPopupValue(instance, control, value);
    }
}

}  // namespace kelto
