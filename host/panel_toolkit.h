// The panel toolkit "LWXPanel": the module describes its controls and data,
// and the host draws the panel and calls back for the values.
#pragma once

#include "host/host_types.h"

namespace host {

#define HOST_PANEL_TOOLKIT_SERVICE "LWXPanel"

// Panel type that the toolkit drives through get and set.
const int kPanelTypeViewer = 1;

// Control ID of the panel itself, for hints and user data.
const uint32_t kPanelControlId = 0;

// One row of the control list handed to create; ended by an all-zero row. The
// list and its strings are owned by the module and stay valid while it is loaded.
struct PanelControl {
    uint32_t id;               // control ID, also the value ID of its data
    const char* label;         // label drawn by the host
    const char* controlClass;  // toolkit control class, e.g. "iPopChoice"
};

// One row of the data description handed to describe; ended by an all-zero row.
struct PanelDataDescription {
    uint32_t id;               // value ID, matching a control
    const char* name;          // value name
    const char* dataType;      // toolkit data type, e.g. "integer"
};

// Hint lists are sequences of pointer-sized words: tags followed by their
// arguments, ended by zero words.
typedef uintptr_t PanelHintWord;

// Hint tags.
const PanelHintWord kHintLabel = 0x3D000B03u;       // control ID, text
const PanelHintWord kHintPopupFuncs = 0x3D016203u;  // control ID, count function, name function
const PanelHintWord kHintPopupOption = 0x3D01F984u; // control ID, then the toolkit's own arguments

// Popup entry functions named in a popup hint; called by the host whenever it
// draws the popup. `userData` is the panel's user data. The name is owned by
// the host or the module and read by the toolkit at once.
typedef int (HOST_CALL* PopupCountFunction)(void* userData);
typedef const char* (HOST_CALL* PopupNameFunction)(void* userData, int index);

// Data functions named in describe; called by the host while the panel is open,
// with the instance handed to viewInstance. get returns a pointer into the
// instance (owned by it) or null; set returns a refresh code.
typedef void* (HOST_CALL* PanelGetFunction)(void* instance, uint32_t id);
typedef int (HOST_CALL* PanelSetFunction)(void* instance, uint32_t id, void* value);

// Refresh codes returned by set.
enum PanelRefresh : int {
    kRefreshNone = 0,
    kRefreshValues = 1,
};

// Function table owned by the host; the module calls it only while building a panel.
struct PanelToolkit {
    int version;                                                                 // toolkit version; not read by the module
    const void* reserved2;                                                       // not used by the module
    PanelId (HOST_CALL* create)(int type, const PanelControl* controls);         // builds a panel; the host owns it; null on failure
    const void* reserved4;                                                       // not used by the module
    void (HOST_CALL* describe)(PanelId panel, const PanelDataDescription* data,
                               PanelGetFunction get, PanelSetFunction set);      // binds the data rows and callbacks; the rows stay the module's
    void (HOST_CALL* hint)(PanelId panel, uint32_t id, const PanelHintWord* hints);  // applies a hint list; the list stays the module's
    const void* reserved7;                                                       // not used by the module
    void (HOST_CALL* userData)(PanelId panel, uint32_t id, void* data);          // sets the user data passed to popup functions; not owned by the toolkit
    const void* reserved9;                                                       // not used by the module
    const void* reserved10;                                                      // not used by the module
    void (HOST_CALL* viewInstance)(PanelId panel, void* instance);               // sets the instance passed to get and set; still owned by the host's handler
};

}  // namespace host
