// The panel toolkit (LWXPanelFuncs): the module describes its controls and data; the host draws the
// panel and calls back for the values while the user works with it.
#pragma once

#include <cstddef>

#include "host/host_types.h"
#include "host/panel_hint_tags.h"

namespace host {

// The service's names, newest first; the functions below keep their positions and the hint tags
// their meaning in every one.
#define HOST_PANEL_TOOLKIT_SERVICE_3 "LWXPanel 3"
#define HOST_PANEL_TOOLKIT_SERVICE_2 "LWXPanel 2"
#define HOST_PANEL_TOOLKIT_SERVICE "LWXPanel"

// Panel types for create.
// LWXP_VIEW: the values live in an instance of the module's, read and written through the get and
// set functions named in describe.
const int kPanelTypeViewer = 1;
// LWXP_FORM: the toolkit keeps the values itself; the module reads and writes them with formGet and
// formSet and hears of the user's changes through a change-notify hint.
const int kPanelTypeForm = 2;

// Control ID that stands for the panel itself, for hints and user data. A module's own IDs are
// 0x8000 and above; the toolkit keeps those below for itself.
const uint32_t kPanelControlId = 0;
const uint32_t kFirstModuleControlId = 0x8000;

// One row of the control list handed to create (LWXPanelControl); an all-zero row ends it. The rows
// and their strings stay the module's and must stay valid while the panel exists.
struct PanelControl {
    // Control ID (cid), also the ID of the control's value unless a hint says otherwise; nonzero.
    uint32_t id;
    // Label the host draws beside the control, UTF-8.
    const char* label;
    // Toolkit control class (ctrlclass), e.g. "iPopChoice" (a popup of choices).
    const char* controlClass;
};

// One row of the data description handed to describe (LWXPanelDataDesc); an all-zero row ends it.
// Ownership as for the control list.
struct PanelDataDescription {
    // Value ID (vid), matching a control.
    uint32_t id;
    // Value name, UTF-8.
    const char* name;
    // Toolkit data type (datatype); "integer" values are int32_t.
    const char* dataType;
};

// Control classes, for PanelControl::controlClass. A class decides how the host draws the control
// and which data type its value has.

// A popup menu of entries; its value's data type is "integer": the chosen entry's index, from 0.
#define HOST_PANEL_CLASS_POPUP_CHOICE "iPopChoice"
// Three fields of distances, x, y and z, in scene units, shown in the user's unit of length; its
// value's data type is "distance3".
#define HOST_PANEL_CLASS_DISTANCE3 "distance3"
// A field of one distance in scene units, shown in the user's unit of length; data type
// "distance".
#define HOST_PANEL_CLASS_DISTANCE "distance"
// A field of one number; data type "float".
#define HOST_PANEL_CLASS_FLOAT "float"
// A field of one time in seconds, shown in the user's time format (frames, seconds, ...); data
// type "time".
#define HOST_PANEL_CLASS_TIME "time"
// A field of one whole number; data type "integer".
#define HOST_PANEL_CLASS_INTEGER "integer"
// A checkbox; data type "integer": 0 off, 1 on.
#define HOST_PANEL_CLASS_BOOLEAN "iBoolean"
// A field of text; data type "string".
#define HOST_PANEL_CLASS_STRING "string"

// Data types, for PanelDataDescription::dataType: what get returns a pointer to and set hands a
// pointer to (and, on a form panel, formGet and formSet).

// An int32_t.
#define HOST_PANEL_TYPE_INTEGER "integer"
// A double[3]: x, y, z, in scene units.
#define HOST_PANEL_TYPE_DISTANCE3 "distance3"
// A double, in scene units.
#define HOST_PANEL_TYPE_DISTANCE "distance"
// A double.
#define HOST_PANEL_TYPE_FLOAT "float"
// A double, in seconds.
#define HOST_PANEL_TYPE_TIME "time"
// A NUL-terminated char array.
#define HOST_PANEL_TYPE_STRING "string"

// Popup entry functions named in a popup hint (LWXPanelPopCntFunc, LWXPanelPopNameFunc); called by
// the host whenever it draws the popup, with the user data given for that popup's control with
// setData (null when none was given). The count includes every entry; the host asks only for
// indices below it. The name is read at once; the host keeps no pointer to it. No thread is
// promised.
typedef int(HOST_CALL* PopupCountFunction)(void* userData);
typedef const char*(HOST_CALL* PopupNameFunction)(void* userData, int index);

// Value functions named in describe (LWXPanelGetFunc, LWXPanelSetFunc) for a viewer panel; called by
// the host while the panel is open, with the instance handed to viewInstance. get returns a pointer
// to the value (an int32_t for "integer"), owned by the module and read at once, or null for none.
// set hands a pointer to the new value, owned by the host and valid during the call, and returns a
// PanelRefresh code. No thread is promised.
typedef void*(HOST_CALL* PanelGetFunction)(void* instance, uint32_t id);
typedef int(HOST_CALL* PanelSetFunction)(void* instance, uint32_t id, void* value);

// What the toolkit redraws after a set or a change notification (LWXPRefreshCode).
enum PanelRefresh : int {
    // LWXPRC_NONE: nothing.
    kRefreshNone = 0,
    // LWXPRC_DFLT: the toolkit's usual redraw: every control, its value read again.
    kRefreshValues = 1,
    // LWXPRC_DRAW: every control drawn again.
    kRefreshDraw = 2,
    // LWXPRC_FULL: the whole panel drawn again.
    kRefreshFull = 3,
    // LWXPRC_REFORMAT: the panel laid out and drawn again.
    kRefreshReformat = 4,
};

// What happened, for a change notification (LWXPEventTypes).
enum PanelEvent : int {
    // LWXPEVENT_TRACK: a value is changing, e.g. while a slider is dragged.
    kPanelEventTrack = 1,
    // LWXPEVENT_VALUE: a value has changed.
    kPanelEventValue = 2,
    // LWXPEVENT_HIT: a control without a value (a button) was used.
    kPanelEventHit = 3,
    // LWXPEVENT_FOCUS, LWXPEVENT_LOSEFOCUS: the panel gained or lost the user's attention.
    kPanelEventFocus = 4,
    kPanelEventLoseFocus = 5,
    // LWXPEVENT_RETURN, LWXPEVENT_ENTER, LWXPEVENT_ESC: a key was pressed.
    kPanelEventReturn = 6,
    kPanelEventEnter = 7,
    kPanelEventEscape = 8,
    // LWXPEVENT_MENU: the menu button was clicked.
    kPanelEventMenu = 9,
    // LWXPEVENT_CLOSED: an opened panel closed (2023 and later).
    kPanelEventClosed = 10,
};

// The module's change notification, named in a kHintChangeNotify hint (LWXPanelChangeNotifyFunc):
// called by the host after the user changed value `valueId` through control `controlId`, during the
// host's handling of that change, main thread. Returns a PanelRefresh code.
typedef int(HOST_CALL* PanelChangeNotifyFunction)(PanelId panel, uint32_t controlId, uint32_t valueId, int event);

// The module's destroy notification, named in a kHintDestroyNotify hint (LWXPanelDestroyNotifyFunc):
// called by the host once, after the panel is destroyed, with the data the hint named or else the
// panel's user data (control 0). The panel may not be used in or after the call.
typedef void(HOST_CALL* PanelDestroyNotifyFunction)(void* panelData);

// Buttons of a modal panel, for a kHintDialogType hint (LWXPDialogTypes); post returns the number
// after each button.
enum PanelDialogType : int {
    kDialogOkCancel = 2,     // OK 1, Cancel 0 (the default)
    kDialogDone = 3,         // Done 1
    kDialogOkOnly = 4,       // OK 1
    kDialogYesNo = 5,        // Yes 1, No 0
    kDialogYesNoAll = 6,     // Yes 1, No 0, Yes to all 2, Cancel 3
    kDialogYesNoCancel = 7,  // Yes 1, No 0, Cancel 3
};

// Border types, for a kHintBorder hint (LWXPBDR_*).
enum PanelBorder : int {
    kBorderNone = 0,
    kBorderUp = 1,
    kBorderDown = 2,
};

// A region a control draw function may draw in (LWXPDrAreaID), handed by the host to that function
// and valid only during its call.
typedef void* PanelDrawAreaId;

// Drawing functions (LWXPDrawFuncs), for a control draw function to use on the area it was handed,
// during its call. Colours `c` are the host's palette indices; r, g, b are 0 to 255; positions and
// sizes are pixels within the area. The host owns the table, valid while the module is loaded.
struct PanelDrawFunctions {
    // drawPixel: one pixel of colour c.
    void(HOST_CALL* drawPixel)(PanelDrawAreaId area, int c, int x, int y);
    // drawRGBPixel: one pixel of an RGB colour.
    void(HOST_CALL* drawRgbPixel)(PanelDrawAreaId area, int r, int g, int b, int x, int y);
    // drawLine: a line from (x, y) to (x2, y2).
    void(HOST_CALL* drawLine)(PanelDrawAreaId area, int c, int x, int y, int x2, int y2);
    // drawBox: a filled rectangle.
    void(HOST_CALL* drawBox)(PanelDrawAreaId area, int c, int x, int y, int w, int h);
    // drawRGBBox: a filled rectangle of an RGB colour.
    void(HOST_CALL* drawRgbBox)(PanelDrawAreaId area, int r, int g, int b, int x, int y, int w, int h);
    // drawBorder: a bevelled border, raised or sunk by `indent`.
    void(HOST_CALL* drawBorder)(PanelDrawAreaId area, int indent, int x, int y, int w, int h);
    // textWidth, textHeight: the size in pixels of a UTF-8 text (the module's, read at once).
    int(HOST_CALL* textWidth)(PanelDrawAreaId area, const char* text);
    int(HOST_CALL* textHeight)(PanelDrawAreaId area, const char* text);
    // drawText: a UTF-8 text (the module's, read at once) at (x, y).
    void(HOST_CALL* drawText)(PanelDrawAreaId area, const char* text, int c, int x, int y);
};

// Process-wide table (LWXPanelFuncs) owned by the host, valid while the module is loaded. Its
// functions are called by the module on the main thread, chiefly during an interface activation;
// a panel handed to them must be one create returned and destroy has not ended.
struct PanelToolkit {
    // version: the toolkit's version, for the module to read; some classes and hints are missing
    // from older ones.
    int version;
    // drawf: the drawing functions, for control draw functions. The host's, valid while the module
    // is loaded.
    const PanelDrawFunctions* drawFunctions;
    // create: builds a panel of `type` (kPanelTypeViewer or kPanelTypeForm) with the controls, which
    // must stay valid while the panel exists; null on failure. The panel is the host's to draw;
    // it lasts until destroy, or, returned in an interface record, for as long as the host uses it.
    PanelId(HOST_CALL* create)(int type, const PanelControl* controls);
    // destroy: ends a panel the module created and did not hand to the host, and calls its destroy
    // notification. The panel may not be used afterwards.
    void(HOST_CALL* destroy)(PanelId panel);
    // describe: the values of the panel's controls, a list that must stay valid while the panel
    // exists. On a viewer panel, get and set read and write them; a form panel takes null for both.
    void(HOST_CALL* describe)(PanelId panel, const PanelDataDescription* data, PanelGetFunction get,
                              PanelSetFunction set);
    // hint: applies a hint list (panel_hint_tags.h) to control `id` (0: the panel), while the panel
    // is closed; may be called more than once.
    void(HOST_CALL* hint)(PanelId panel, uint32_t id, const PanelHintWord* hints);
    // getData: the user data last given to setData for control `id` (0: the panel), or null.
    void*(HOST_CALL* getData)(PanelId panel, uint32_t id);
    // setData: user data for control `id` (0: the panel), which the toolkit only passes on: to that
    // control's callbacks (its popup functions among them), and the panel's to the destroy
    // notification. The module owns what it points to.
    void(HOST_CALL* setData)(PanelId panel, uint32_t id, void* data);
    // formGet: on a form panel, a pointer to value `id` as last set, or null when unset. The host
    // owns the value; the pointer lasts until the value is set again or the panel ends.
    void*(HOST_CALL* formGet)(PanelId panel, uint32_t id);
    // formSet: on a form panel, sets value `id` from what `value` points to (of its data type), or
    // unsets it with null. The module owns `value`; the host copies it during the call.
    void(HOST_CALL* formSet)(PanelId panel, uint32_t id, void* value);
    // viewInst: on a viewer panel, what get and set receive; the toolkit only passes it on.
    void(HOST_CALL* viewInstance)(PanelId panel, void* instance);
    // viewRefresh: reads a viewer panel's values through get again, after the module changed them
    // other than through the panel; on a form panel, draws its controls again.
    void(HOST_CALL* viewRefresh)(PanelId panel);
    // post: shows the panel as a modal dialog and returns when the user closes it: the number of
    // the button pressed (PanelDialogType), 0 also when the panel could not be shown.
    int(HOST_CALL* post)(PanelId panel);
    // open: shows the panel without blocking; 1 when it opened, 0 otherwise.
    int(HOST_CALL* open)(PanelId panel);
    // viewRebuild: lays out and draws the panel again after hints changed it.
    void(HOST_CALL* viewRebuild)(PanelId panel);
};

// The positions above are the host's: an int then pointers, so on x86 Windows (4-byte pointers), x64
// Windows and Linux x64 (8-byte pointers, the int padded to one) each field sits at its index times
// the pointer's size. A miscounted field must not compile.
static_assert(offsetof(PanelToolkit, drawFunctions) == 1 * sizeof(void*), "drawf is the 2nd field");
static_assert(offsetof(PanelToolkit, create) == 2 * sizeof(void*), "create is the 3rd field");
static_assert(offsetof(PanelToolkit, destroy) == 3 * sizeof(void*), "destroy is the 4th field");
static_assert(offsetof(PanelToolkit, describe) == 4 * sizeof(void*), "describe is the 5th field");
static_assert(offsetof(PanelToolkit, hint) == 5 * sizeof(void*), "hint is the 6th field");
static_assert(offsetof(PanelToolkit, getData) == 6 * sizeof(void*), "getData is the 7th field");
static_assert(offsetof(PanelToolkit, setData) == 7 * sizeof(void*), "setData is the 8th field");
static_assert(offsetof(PanelToolkit, formGet) == 8 * sizeof(void*), "formGet is the 9th field");
static_assert(offsetof(PanelToolkit, formSet) == 9 * sizeof(void*), "formSet is the 10th field");
static_assert(offsetof(PanelToolkit, viewInstance) == 10 * sizeof(void*), "viewInst is the 11th field");
static_assert(offsetof(PanelToolkit, viewRefresh) == 11 * sizeof(void*), "viewRefresh is the 12th field");
static_assert(offsetof(PanelToolkit, post) == 12 * sizeof(void*), "post is the 13th field");
static_assert(offsetof(PanelToolkit, open) == 13 * sizeof(void*), "open is the 14th field");
static_assert(offsetof(PanelToolkit, viewRebuild) == 14 * sizeof(void*), "viewRebuild is the 15th field");
static_assert(sizeof(PanelToolkit) == 15 * sizeof(void*), "the toolkit has 15 fields");

static_assert(offsetof(PanelDrawFunctions, drawRgbPixel) == 1 * sizeof(void*), "drawRGBPixel is the 2nd field");
static_assert(offsetof(PanelDrawFunctions, drawBorder) == 5 * sizeof(void*), "drawBorder is the 6th field");
static_assert(offsetof(PanelDrawFunctions, drawText) == 8 * sizeof(void*), "drawText is the 9th field");
static_assert(sizeof(PanelDrawFunctions) == 9 * sizeof(void*), "the drawing table has 9 functions");

// The rows: an unsigned int then two pointers, padded to a pointer on 64-bit hosts.
static_assert(offsetof(PanelControl, label) == sizeof(void*), "label follows cid");
static_assert(offsetof(PanelControl, controlClass) == 2 * sizeof(void*), "ctrlclass is the 3rd field");
static_assert(offsetof(PanelDataDescription, dataType) == 2 * sizeof(void*), "datatype is the 3rd field");
static_assert(sizeof(PanelControl) == 3 * sizeof(void*) && sizeof(PanelDataDescription) == 3 * sizeof(void*),
              "three words a row");

}  // namespace host
