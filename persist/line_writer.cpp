#include "persist/line_writer.h"

#include <cstring>

namespace kelto {

void writeLine(const host::SaveState& state, const char* text) {
    if (state.write == nullptr) return;
    state.write(state.writeData, text, static_cast<int>(std::strlen(text) + 1));
}

}  // namespace kelto
