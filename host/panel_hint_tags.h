// The panel toolkit's hint lists: how their words are laid out and every tag the toolkit defines.
#pragma once

#include <cstdint>

namespace host {

// A hint list is a sequence of pointer-sized words handed to the toolkit's hint function. Each hint
// is a tag word, then the words its tag says follow it: a fixed number of required words and, when
// the tag says so, a list of words ended by a zero word. A zero word where a tag would stand ends
// the hint list. The module owns the list; the toolkit reads it during hint and may read it again
// while the panel exists, so it stays valid while the module is loaded.
typedef uintptr_t PanelHintWord;

// A tag word (XpHTAG): a fixed prefix, the tag's number (below 1024), a flag for a following
// zero-ended list, and the number of required words. Two tags may share a number and differ in
// shape, so a tag is known by its whole word.
constexpr PanelHintWord kHintTagPrefix = 0x3D000000u;
constexpr PanelHintWord kHintTagNumberMask = 0x3FF00u;
constexpr unsigned kHintTagNumberShift = 8;
constexpr PanelHintWord kHintOptionalListFlag = 0x80u;
constexpr PanelHintWord kHintRequiredWordsMask = 0x7Fu;

constexpr PanelHintWord hintTag(unsigned number, unsigned requiredWords, bool optionalList) {
    return kHintTagPrefix | ((PanelHintWord(number) << kHintTagNumberShift) & kHintTagNumberMask) |
           (optionalList ? kHintOptionalListFlag : 0) | requiredWords;
}

// Whether a word has the shape of a tag made by hintTag.
constexpr bool isEncodedHintTag(PanelHintWord word) {
    return (word & ~(kHintTagNumberMask | kHintOptionalListFlag | kHintRequiredWordsMask)) == kHintTagPrefix;
}
constexpr unsigned hintTagNumber(PanelHintWord tag) {
    return static_cast<unsigned>((tag & kHintTagNumberMask) >> kHintTagNumberShift);
}
constexpr unsigned hintRequiredWords(PanelHintWord tag) { return static_cast<unsigned>(tag & kHintRequiredWordsMask); }
constexpr bool hintHasOptionalList(PanelHintWord tag) { return (tag & kHintOptionalListFlag) != 0; }

// XPTAG_END: ends a hint list and every zero-ended list inside it.
constexpr PanelHintWord kHintEnd = 0;

// Two tags outside the encoding, whose required words are fixed by the toolkit.
// XPTAG_CALL (XpCALL, XpSUBCALL): a control ID (0: the ID the list applies to), then another hint
// list, read in place of the tag as if its hints stood here.
constexpr PanelHintWord kHintCall = 0x000DD002u;
constexpr unsigned kHintCallWords = 2;
// XPTAG_NEST (XpNEST): an ID.
constexpr PanelHintWord kHintNest = 0x00000101u;
constexpr unsigned kHintNestWords = 1;

// Every encoded tag, by the name the toolkit gives it, with the words that follow it: first the
// required ones, then, after "then", the zero-ended list.

// XPTAG_LABEL: control or group ID (0: the panel), its NUL-terminated text, 0.
constexpr PanelHintWord kHintLabel = hintTag(11, 3, false);
// XPTAG_CLASS: control ID, its new control class.
constexpr PanelHintWord kHintClass = hintTag(12, 2, false);
// XPTAG_ADD: control ID, control class, value ID.
constexpr PanelHintWord kHintAdd = hintTag(13, 3, false);
// XPTAG_DELETE: control ID.
constexpr PanelHintWord kHintDelete = hintTag(14, 1, false);
// XPTAG_CHGNOTIFY: a PanelChangeNotifyFunction.
constexpr PanelHintWord kHintChangeNotify = hintTag(15, 1, false);
// XPTAG_FOCUS: control ID that takes the focus first (0: the toolkit's choice).
constexpr PanelHintWord kHintFocus = hintTag(18, 1, false);
// XPTAG_AUTORESTORE: 1 or 0 (restore on cancel or not); then the value IDs it is toggled for.
constexpr PanelHintWord kHintAutoRestore = hintTag(20, 1, true);
// XPTAG_COLORSPACE: control ID, colour space name, 0.
constexpr PanelHintWord kHintColorSpace = hintTag(21, 3, false);
// XPTAG_VIEWERCOLORSPACE: control ID, colour space name, 0.
constexpr PanelHintWord kHintViewerColorSpace = hintTag(22, 3, false);
// XPTAG_DESTROYNOTIFY: a PanelDestroyNotifyFunction, the data it receives (0: the panel's data).
constexpr PanelHintWord kHintDestroyNotify = hintTag(19, 2, false);
// XPTAG_VALUE: control ID, the value ID it shows.
constexpr PanelHintWord kHintValue = hintTag(101, 2, false);
// XPTAG_LINK: value ID; then the value IDs it depends on.
constexpr PanelHintWord kHintLink = hintTag(102, 1, true);
// XPTAG_IMMUPD: control ID; then the control IDs redrawn while it tracks.
constexpr PanelHintWord kHintImmediateUpdate = hintTag(103, 1, true);
// XPTAG_TRACK: control ID, whether it reports changes while they happen.
constexpr PanelHintWord kHintTrack = hintTag(104, 2, false);
// XPTAG_ORIENT: control ID, 0 horizontal or 1 vertical.
constexpr PanelHintWord kHintOrient = hintTag(203, 2, false);
// XPTAG_MIN: control ID, integer minimum.
constexpr PanelHintWord kHintMin = hintTag(320, 2, false);
// XPTAG_MAX: control ID, integer maximum.
constexpr PanelHintWord kHintMax = hintTag(321, 2, false);
// XPTAG_STEP: control ID, integer step.
constexpr PanelHintWord kHintStep = hintTag(322, 2, false);
// XPTAG_RANGE: control ID, minimum, maximum, step.
constexpr PanelHintWord kHintRange = hintTag(323, 4, false);
// XPTAG_MAXSTEPS: control ID, number of steps.
constexpr PanelHintWord kHintMaxSteps = hintTag(326, 2, false);
// XPTAG_HARDMINMAX: control ID, whether the minimum holds, whether the maximum holds.
constexpr PanelHintWord kHintHardMinMax = hintTag(327, 3, false);
// XPTAG_CLRMINMAX: control ID, whether to clear the minimum, whether to clear the maximum.
constexpr PanelHintWord kHintClearMinMax = hintTag(328, 3, false);
// XPTAG_SENS: control ID, mini-slider sensitivity.
constexpr PanelHintWord kHintSensitivity = hintTag(324, 2, false);
// XPTAG_BUTNOTIFY: control ID, a button function.
constexpr PanelHintWord kHintButtonNotify = hintTag(351, 2, false);
// XPTAG_POPCMDFUNC: control ID, a popup command function.
constexpr PanelHintWord kHintPopupCommandFunction = hintTag(352, 2, false);
// XPTAG_POPFUNCS: control ID, a PopupCountFunction, a PopupNameFunction.
constexpr PanelHintWord kHintPopupFuncs = hintTag(354, 3, false);
// XPTAG_INTXFORM: control ID, entry count, an array of int values.
constexpr PanelHintWord kHintIntegerTransform = hintTag(355, 3, false);
// XPTAG_DRAWCBFUNC: control ID, a control draw function (handed a PanelDrawAreaId).
constexpr PanelHintWord kHintDrawFunction = hintTag(357, 2, false);
// XPTAG_ZOOMCBFUNC: control ID, a zoom function, whether drags are reported.
constexpr PanelHintWord kHintZoomFunction = hintTag(358, 3, false);
// XPTAG_MOUSECBFUNC: control ID, a mouse function.
constexpr PanelHintWord kHintMouseFunction = hintTag(359, 2, false);
// XPTAG_MOVECBFUNC: control ID, a move function.
constexpr PanelHintWord kHintMoveFunction = hintTag(361, 2, false);
// XPTAG_TEXTXFORMFUNC: control ID, a text transform function.
constexpr PanelHintWord kHintTextTransformFunction = hintTag(360, 2, false);
// XPTAG_STRLIST: control ID of a popup, its entries (NUL-terminated texts ended by a null pointer), 0.
constexpr PanelHintWord kHintStringList = hintTag(325, 3, false);
// XPTAG_VECLABEL: control ID, an array of three texts.
constexpr PanelHintWord kHintVectorLabel = hintTag(370, 2, false);
// XPTAG_CTRLFRONT: control ID of the tab shown first.
constexpr PanelHintWord kHintControlFront = hintTag(371, 1, false);
// XPTAG_CTRLCFG: control ID, 0, class-specific option bits.
constexpr PanelHintWord kHintControlConfig = hintTag(372, 3, false);
// XPTAG_XREQCFG: control ID, mode, title, file type, 0.
constexpr PanelHintWord kHintFileRequestConfig = hintTag(401, 5, false);
// XPTAG_ALIAS: alias ID; then the IDs it gathers.
constexpr PanelHintWord kHintAlias = hintTag(500, 1, true);
// XPTAG_UNALIAS: alias ID; then the IDs it lets go (none: all).
constexpr PanelHintWord kHintUnalias = hintTag(501, 1, true);
// XPTAG_ENABLE: value ID, message text or 0, 0, map (an int array) or 0; then the value IDs whose controls it enables.
constexpr PanelHintWord kHintEnable = hintTag(505, 4, true);
// XPTAG_GROUP: group ID; then the IDs it holds.
constexpr PanelHintWord kHintGroup = hintTag(510, 1, true);
// XPTAG_ORDER: group ID (0: the panel); then its IDs in order.
constexpr PanelHintWord kHintOrder = hintTag(511, 1, true);
// XPTAG_STACK: group ID, value ID choosing the member shown, map (an int array) or 0; then its members.
constexpr PanelHintWord kHintStack = hintTag(521, 3, true);
// XPTAG_TABS: group ID; then the IDs of further tabs.
constexpr PanelHintWord kHintTabs = hintTag(522, 1, true);
// XPTAG_LEFT: no words; then the IDs to align left.
constexpr PanelHintWord kHintLeft = hintTag(530, 0, true);
// XPTAG_NARROW: no words; then the IDs that are narrow.
constexpr PanelHintWord kHintNarrow = hintTag(531, 0, true);
// XPTAG_DIVADD: control or group ID (0: top, -1: bottom); then further IDs.
constexpr PanelHintWord kHintDividerAdd = hintTag(532, 1, true);
// XPTAG_DIVREM: control or group ID; then further IDs.
constexpr PanelHintWord kHintDividerRemove = hintTag(533, 1, true);
// XPTAG_SPACERADD: no words; then the IDs a spacer follows.
constexpr PanelHintWord kHintSpacerAdd = hintTag(536, 0, true);
// XPTAG_BORDER: border type (PanelBorder).
constexpr PanelHintWord kHintBorder = hintTag(533, 1, false);
// XPTAG_DLOGTYPE: PanelDialogType of a modal panel.
constexpr PanelHintWord kHintDialogType = hintTag(701, 1, false);
// XPTAG_ALIGN_WIDTH: no words; then the IDs whose widths align.
constexpr PanelHintWord kHintAlignWidth = hintTag(534, 0, true);
// XPTAG_ALIGN_MINIS: whether mini-sliders align.
constexpr PanelHintWord kHintAlignMinis = hintTag(535, 1, false);
// XPTAG_SHEET_NUMCOLUMNS: control ID, number of columns.
constexpr PanelHintWord kHintSheetColumns = hintTag(375, 2, false);
// XPTAG_SHEET_NUMROWS: control ID, number of rows shown.
constexpr PanelHintWord kHintSheetRows = hintTag(376, 2, false);
// XPTAG_SHEET_TOPITEM: control ID, the item shown first.
constexpr PanelHintWord kHintSheetTopItem = hintTag(377, 2, false);
// XPTAG_SHEET_SELECT: control ID, selection state; then the items it applies to (none: all).
constexpr PanelHintWord kHintSheetSelect = hintTag(378, 2, true);
// XPTAG_SHEET_FEATURE: control ID, feature bits.
constexpr PanelHintWord kHintSheetFeature = hintTag(379, 2, false);
// XPTAG_SHEET_FUNCS: control ID, a table of sheet functions (also named XPTAG_SHEETFUNC).
constexpr PanelHintWord kHintSheetFunctions = hintTag(380, 2, false);
// XPTAG_RANCH_FEATURE: control ID, feature bits.
constexpr PanelHintWord kHintRanchFeature = hintTag(382, 2, false);
// XPTAG_RANCH_AUTOWIDTHMAX: control ID, widest width.
constexpr PanelHintWord kHintRanchAutoWidthMax = hintTag(383, 2, false);
// XPTAG_RANCH_AUTOHEIGHTMAX: control ID, tallest height.
constexpr PanelHintWord kHintRanchAutoHeightMax = hintTag(384, 2, false);
// XPTAG_RANCH_PANELCONFIGID: control ID, configuration ID.
constexpr PanelHintWord kHintRanchPanelConfigId = hintTag(385, 2, false);

// Every encoded tag above with the toolkit's name for it, for whoever shows a hint list.
struct PanelHintTagName {
    PanelHintWord tag;
    const char* name;
};
constexpr PanelHintTagName kHintTagNames[] = {
    {kHintLabel, "XPTAG_LABEL"},
    {kHintClass, "XPTAG_CLASS"},
    {kHintAdd, "XPTAG_ADD"},
    {kHintDelete, "XPTAG_DELETE"},
    {kHintChangeNotify, "XPTAG_CHGNOTIFY"},
    {kHintFocus, "XPTAG_FOCUS"},
    {kHintAutoRestore, "XPTAG_AUTORESTORE"},
    {kHintColorSpace, "XPTAG_COLORSPACE"},
    {kHintViewerColorSpace, "XPTAG_VIEWERCOLORSPACE"},
    {kHintDestroyNotify, "XPTAG_DESTROYNOTIFY"},
    {kHintValue, "XPTAG_VALUE"},
    {kHintLink, "XPTAG_LINK"},
    {kHintImmediateUpdate, "XPTAG_IMMUPD"},
    {kHintTrack, "XPTAG_TRACK"},
    {kHintOrient, "XPTAG_ORIENT"},
    {kHintMin, "XPTAG_MIN"},
    {kHintMax, "XPTAG_MAX"},
    {kHintStep, "XPTAG_STEP"},
    {kHintRange, "XPTAG_RANGE"},
    {kHintMaxSteps, "XPTAG_MAXSTEPS"},
    {kHintHardMinMax, "XPTAG_HARDMINMAX"},
    {kHintClearMinMax, "XPTAG_CLRMINMAX"},
    {kHintSensitivity, "XPTAG_SENS"},
    {kHintButtonNotify, "XPTAG_BUTNOTIFY"},
    {kHintPopupCommandFunction, "XPTAG_POPCMDFUNC"},
    {kHintPopupFuncs, "XPTAG_POPFUNCS"},
    {kHintIntegerTransform, "XPTAG_INTXFORM"},
    {kHintDrawFunction, "XPTAG_DRAWCBFUNC"},
    {kHintZoomFunction, "XPTAG_ZOOMCBFUNC"},
    {kHintMouseFunction, "XPTAG_MOUSECBFUNC"},
    {kHintMoveFunction, "XPTAG_MOVECBFUNC"},
    {kHintTextTransformFunction, "XPTAG_TEXTXFORMFUNC"},
    {kHintStringList, "XPTAG_STRLIST"},
    {kHintVectorLabel, "XPTAG_VECLABEL"},
    {kHintControlFront, "XPTAG_CTRLFRONT"},
    {kHintControlConfig, "XPTAG_CTRLCFG"},
    {kHintFileRequestConfig, "XPTAG_XREQCFG"},
    {kHintAlias, "XPTAG_ALIAS"},
    {kHintUnalias, "XPTAG_UNALIAS"},
    {kHintEnable, "XPTAG_ENABLE"},
    {kHintGroup, "XPTAG_GROUP"},
    {kHintOrder, "XPTAG_ORDER"},
    {kHintStack, "XPTAG_STACK"},
    {kHintTabs, "XPTAG_TABS"},
    {kHintLeft, "XPTAG_LEFT"},
    {kHintNarrow, "XPTAG_NARROW"},
    {kHintDividerAdd, "XPTAG_DIVADD"},
    {kHintDividerRemove, "XPTAG_DIVREM"},
    {kHintSpacerAdd, "XPTAG_SPACERADD"},
    {kHintBorder, "XPTAG_BORDER"},
    {kHintDialogType, "XPTAG_DLOGTYPE"},
    {kHintAlignWidth, "XPTAG_ALIGN_WIDTH"},
    {kHintAlignMinis, "XPTAG_ALIGN_MINIS"},
    {kHintSheetColumns, "XPTAG_SHEET_NUMCOLUMNS"},
    {kHintSheetRows, "XPTAG_SHEET_NUMROWS"},
    {kHintSheetTopItem, "XPTAG_SHEET_TOPITEM"},
    {kHintSheetSelect, "XPTAG_SHEET_SELECT"},
    {kHintSheetFeature, "XPTAG_SHEET_FEATURE"},
    {kHintSheetFunctions, "XPTAG_SHEET_FUNCS"},
    {kHintRanchFeature, "XPTAG_RANCH_FEATURE"},
    {kHintRanchAutoWidthMax, "XPTAG_RANCH_AUTOWIDTHMAX"},
    {kHintRanchAutoHeightMax, "XPTAG_RANCH_AUTOHEIGHTMAX"},
    {kHintRanchPanelConfigId, "XPTAG_RANCH_PANELCONFIGID"},
};

// The encoding above yields the toolkit's own words.
static_assert(kHintLabel == 0x3D000B03u && kHintChangeNotify == 0x3D000F01u, "tags with required words only");
static_assert(kHintEnable == 0x3D01F984u && kHintLeft == 0x3D021280u, "tags with a zero-ended list");

}  // namespace host
