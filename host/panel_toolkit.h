// The panel toolkit: the module describes its controls and data; the host draws the panel and calls
// back for the values while the user works with it.
#pragma once

#include <cstddef>

#include "host/host_types.h"

namespace host {

// The service's names, newest first; the functions below keep their positions and the hint tags
// their meaning in every one.
#define HOST_PANEL_TOOLKIT_SERVICE_3 "LWXPanel 3"
#define HOST_PANEL_TOOLKIT_SERVICE_2 "LWXPanel 2"
#define HOST_PANEL_TOOLKIT_SERVICE "LWXPanel"

// Panel type whose values the toolkit reads and writes through get and set.
const int kPanelTypeViewer = 1;

// Control ID that stands for the panel itself, for hints and user data.
const uint32_t kPanelControlId = 0;

// One row of the control list handed to create; an all-zero row ends it. The rows and their strings
// stay the module's and must stay valid while it is loaded.
struct PanelControl {
    // Control ID, also the ID of the control's value; nonzero.
    uint32_t id;
    // Label the host draws beside the control.
    const char* label;
    // Toolkit control class, e.g. "iPopChoice" (a popup of choices).
    const char* controlClass;
};

// One row of the data description handed to describe; an all-zero row ends it. Ownership as for the
// control list.
struct PanelDataDescription {
    // Value ID, matching a control.
    uint32_t id;
    // Value name.
    const char* name;
    // Toolkit data type; "integer" values are int32_t.
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

// Data types, for PanelDataDescription::dataType: what get returns a pointer to and set hands a
// pointer to.

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

// A hint list is a sequence of pointer-sized words: a tag, then as many argument words as the tag
// takes. A zero word where a tag would stand ends the list. The toolkit reads the list during the
// hint call and may read it again while the panel exists, so it stays the module's and valid while
// it is loaded.
typedef uintptr_t PanelHintWord;

// Hint tags and the argument words each takes.

// 3 words: control ID, NUL-terminated text, 0.
const PanelHintWord kHintLabel = 0x3D000B03u;
// 3 words: control ID, PopupCountFunction, PopupNameFunction.
const PanelHintWord kHintPopupFuncs = 0x3D016203u;
// 1 word: control ID.
const PanelHintWord kHintPopupOption = 0x3D01F984u;
// 3 words: control ID of a popup, its entries (an array of NUL-terminated texts ended by a null
// pointer, read as the hint list is), 0. The popup's value is the index of the chosen entry.
const PanelHintWord kHintStringList = 0x3D014503u;

// Popup entry functions named in a popup hint; called by the host whenever it draws the popup, with
// the panel's user data for control 0. The count includes every entry; the host asks only for
// indices below it. The name is read at once; the host keeps no pointer to it.
// No thread is promised.
typedef int (HOST_CALL* PopupCountFunction)(void* userData);
typedef const char* (HOST_CALL* PopupNameFunction)(void* userData, int index);

// Value functions named in describe; called by the host while the panel is open, with the instance
// handed to viewInstance. get returns a pointer to the value (an int32_t for "integer"), owned by
// the module and read at once, or null for none. set hands a pointer to the new value, owned by the
// host and valid during the call, and returns a PanelRefresh code. No thread is promised.
typedef void* (HOST_CALL* PanelGetFunction)(void* instance, uint32_t id);
typedef int (HOST_CALL* PanelSetFunction)(void* instance, uint32_t id, void* value);

// What the toolkit redraws after a set.
enum PanelRefresh : int {
    // Nothing.
    kRefreshNone = 0,
    // Every control, from get.
    kRefreshValues = 1,
};

// Process-wide table owned by the host, valid while the module is loaded. Its functions may be
// called during an interface activation.
struct PanelToolkit {
    // The toolkit's version, for the module to read.
    int version;
    // Host function not declared here.
    const void* slot2;
    // Builds a panel of `type` with the controls; the host owns it; null on failure.
    // Main thread, during an interface activation.
    PanelId (HOST_CALL* create)(int type, const PanelControl* controls);
    // Host function not declared here.
    const void* slot4;
    // Binds the values of the panel's controls to get and set.
    // Main thread, during an interface activation.
    void (HOST_CALL* describe)(PanelId panel, const PanelDataDescription* data,
                               PanelGetFunction get, PanelSetFunction set);
    // Applies a hint list to control `id` (0: the panel).
    // Main thread, during an interface activation.
    void (HOST_CALL* hint)(PanelId panel, uint32_t id, const PanelHintWord* hints);
    // Host function not declared here.
    const void* slot7;
    // Sets what the popup functions receive; the toolkit only passes it on.
    // Main thread, during an interface activation.
    void (HOST_CALL* userData)(PanelId panel, uint32_t id, void* data);
    // Host function not declared here.
    const void* slot9;
    // Host function not declared here.
    const void* slot10;
    // Sets what get and set receive; the toolkit only passes it on.
    // Main thread, during an interface activation.
    void (HOST_CALL* viewInstance)(PanelId panel, void* instance);
};

// The positions above are the host's; a miscounted slot must not compile.
static_assert(offsetof(PanelToolkit, create) == 2 * sizeof(void*), "create is the 3rd field");
static_assert(offsetof(PanelToolkit, describe) == 4 * sizeof(void*), "describe is the 5th field");
static_assert(offsetof(PanelToolkit, hint) == 5 * sizeof(void*), "hint is the 6th field");
static_assert(offsetof(PanelToolkit, userData) == 7 * sizeof(void*), "userData is the 8th field");
static_assert(offsetof(PanelToolkit, viewInstance) == 10 * sizeof(void*),
              "viewInstance is the 11th field");

}  // namespace host
