#include "persist/reference_lines.h"

#include <cstring>

#include "channel/item_list.h"
#include "channel/item_name.h"
#include "persist/line_writer.h"
#include "persist/token.h"

namespace kelto {

const char kBlockItem[] = "REFERENCE_ITEM";
const char kBlockCamera[] = "REFERENCE_CAMERA";
const char kBlockNoItemName[] = "none";

namespace {

static_assert(kLineSize == static_cast<int>(kNameSize), "name lines are read whole into the name buffers");

// The name to save for one reference: the item's own name, refreshed, while
// there is an item. Without one, a stored name is still the reference (not
// resolved yet, or its item missing from this scene, as when it failed to
// load) and is kept for the scene that has it; a reference that was set to
// no item, or whose item was deleted, has no name left and saves as none.
const char* nameToSave(host::ItemId item, char (&name)[kNameSize]) {
    if (item != nullptr) {
        copyItemName(item, name);
        return name;
    }
    return name[0] != '\0' ? name : kBlockNoItemName;
}

}  // namespace

void saveReferenceLines(ItemReferences& references, const host::SaveState& state) {
    writeLine(state, kBlockItem);
    writeLine(state, nameToSave(references.itemId, references.itemName));
    writeLine(state, kBlockCamera);
    writeLine(state, nameToSave(references.cameraId, references.cameraName));
}

bool readName(const host::LoadState& state, char (&name)[kNameSize]) {
    char line[kNameSize];
    if (!readLine(state, line, kLineSize)) return false;
    // A line that fills the buffer may have been cut, by the host's read or
    // by the buffer's end, inside a character, which no name ends with.
    size_t length = std::strlen(line);
    if (length == kNameSize - 1) line[wholeCharactersLength(line, length)] = '\0';
    std::memcpy(name, line, sizeof name);
    return true;
}

}  // namespace kelto
