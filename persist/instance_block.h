// The instance's block in the host's scene file: six lines naming the
// reference item and camera.
//
//     KELTO_START
//     REFERENCE_ITEM
//     <item name, or "none">
//     REFERENCE_CAMERA
//     <camera name, or "none">
//     KELTO_END
#pragma once

#include "channel/distance_instance.h"
#include "host/scene_file_states.h"
#include "persist/block_keywords.h"
#include "persist/reference_lines.h"

namespace kelto {

// Writes the block, each line one unit whose length counts its NUL. Names are
// refreshed from the items first, so a renamed item is saved by its new name;
// a reference without an item saves the name it holds, or "none" when it
// holds none.
void saveInstanceBlock(DistanceInstance& instance, const host::SaveState& state);

// Reads the names back and leaves the instance unresolved, so the next
// evaluation finds the items. Data that does not begin with the start keyword
// leaves the instance untouched.
void loadInstanceBlock(DistanceInstance& instance, const host::LoadState& state);

}  // namespace kelto
