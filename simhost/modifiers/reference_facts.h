// What the simulated host knows from outside of the reference popups, names
// and services that Kelto and Kelto Focus share (Kelto's, which Kelto Focus
// is built on): the popups' controls and texts, the name a reference of
// "(none)" is saved as, the names' buffer, the references' lines in a block
// and the services the handlers refuse to go without. The checks that hold
// both modifiers read them here, knowing neither.
#pragma once

#include <cstddef>
#include <cstdint>

#include "simhost/services/served_names.h"

namespace sim::reference_facts {

// A reference name's buffer, NUL included: longer names are cut to fit.
inline constexpr size_t kNameBufferSize = 256;

// The two popups, each listing "(none)" first.
inline constexpr uint32_t kItemControl = 0x8001;
inline constexpr uint32_t kCameraControl = 0x8002;
inline constexpr char kItemLabel[] = "Reference Item";
inline constexpr char kCameraLabel[] = "Reference Camera";
inline constexpr char kPopupControlClass[] = "iPopChoice";
inline constexpr char kPopupDataType[] = "integer";
inline constexpr char kNoneEntry[] = "(none)";

// The references' lines in a block, and a reference of "(none)" as saved.
inline constexpr char kItemKeyword[] = "REFERENCE_ITEM";
inline constexpr char kCameraKeyword[] = "REFERENCE_CAMERA";
inline constexpr char kNoneName[] = "none";

// The services the handlers' activation refuses to go without: the item info
// they work with, and the messages and textures they hold though they never
// call them, a promise of their own.
inline constexpr Service kHandlerServices[] = {Service::Messages, Service::Textures, Service::ItemInfo};

}  // namespace sim::reference_facts
