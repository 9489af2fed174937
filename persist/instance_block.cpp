#include "persist/instance_block.h"

#include <cstring>

#include "channel/item_list.h"
#include "persist/token.h"

namespace kelto {

const char kBlockStart[] = "KELTO_START";
const char kBlockItem[] = "REFERENCE_ITEM";
const char kBlockCamera[] = "REFERENCE_CAMERA";
const char kBlockEnd[] = "KELTO_END";
const char kBlockNoItemName[] = "none";

namespace {

static_assert(kLineSize == static_cast<int>(kNameSize), "name lines are read whole into the name buffers");

void writeLine(const host::SaveState& state, const char* text) {
    if (state.write == nullptr) return;
    state.write(state.writeData, text, static_cast<int>(std::strlen(text) + 1));
}

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

// Reads a name line; the stored name changes only when a line came.
bool readName(const host::LoadState& state, char (&name)[kNameSize]) {
    char line[kNameSize];
    if (!readLine(state, line, kLineSize)) return false;
    std::memcpy(name, line, sizeof name);
    return true;
}

}  // namespace

void saveInstanceBlock(DistanceInstance& instance, const host::SaveState& state) {
    writeLine(state, kBlockStart);
    writeLine(state, kBlockItem);
    writeLine(state, nameToSave(instance.itemId, instance.itemName));
    writeLine(state, kBlockCamera);
    writeLine(state, nameToSave(instance.cameraId, instance.cameraName));
    writeLine(state, kBlockEnd);
}

void loadInstanceBlock(DistanceInstance& instance, const host::LoadState& state) {
    Token token;
    if (!readToken(state, token) || !keywordMatches(kBlockStart, token)) return;
    while (readToken(state, token) && !keywordMatches(kBlockEnd, token)) {
        if (keywordMatches(kBlockItem, token)) {
            if (!readName(state, instance.itemName)) break;
        } else if (keywordMatches(kBlockCamera, token)) {
            if (!readName(state, instance.cameraName)) break;
        }
    }
    instance.itemId = nullptr;
    instance.cameraId = nullptr;
    instance.resolved = 0;
}

}  // namespace kelto
