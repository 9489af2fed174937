// The four lines of a block that name the two references, alike in every
// modifier's block:
//
//     REFERENCE_ITEM
//     <item name, or "none">
//     REFERENCE_CAMERA
//     <camera name, or "none">
//
// A name is its line whole, spaces included, at most 255 bytes, never cut
// inside a UTF-8 character.
#pragma once

#include "channel/item_references.h"
#include "host/scene_file_states.h"

namespace kelto {

extern const char kBlockItem[];        // "REFERENCE_ITEM"
extern const char kBlockCamera[];      // "REFERENCE_CAMERA"
extern const char kBlockNoItemName[];  // "none"

// Writes the four lines. Names are refreshed from the items first, so a
// renamed item is saved by its new name; a reference without an item saves
// the name it holds, or "none" when it holds none.
void saveReferenceLines(ItemReferences& references, const host::SaveState& state);

// Reads the line after a reference keyword into `name`; the stored name
// changes only when a line came. A line that fills the buffer loses a last
// character it holds in part. False at the end of the data.
bool readName(const host::LoadState& state, char (&name)[kNameSize]);

}  // namespace kelto
