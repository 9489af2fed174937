#include "persist/instance_block.h"

#include "persist/line_writer.h"
#include "persist/token.h"

namespace kelto {

void saveInstanceBlock(DistanceInstance& instance, const host::SaveState& state) {
    writeLine(state, kBlockStart);
    saveReferenceLines(instance, state);
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
    unresolveReferences(instance);
}

}  // namespace kelto
