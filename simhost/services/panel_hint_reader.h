// Reads a hint list as the toolkit does: each tag takes the words its
// encoding says, then its zero-ended list if it has one; a call tag's list is
// read in its place. Every well-formed tag is taken, whether or not the
// toolkit acts on it; what is not a tag, or a list that runs past the most
// words the toolkit reads, ends the reading with a problem.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/panel_hint_tags.h"

namespace sim {

// One hint as read: its tag, the control its list applies to, its required
// words and its zero-ended list (without the zero).
struct ReadHint {
    host::PanelHintWord tag = 0;
    uint32_t target = 0;
    std::vector<host::PanelHintWord> words;
    std::vector<host::PanelHintWord> list;
};

struct HintReading {
    std::vector<ReadHint> hints;
    // Why the reading stopped short; "" when the list ended where it should.
    std::string problem;
};

// Words read from one list, its call tags' lists included, before it is taken
// as one that runs past its end.
const size_t kMaxHintWords = 4096;
// Lists called within called lists, deepest; a list that calls itself ends here.
const size_t kMaxHintCallDepth = 16;

// `hints` as applied to control `target` (0: the panel); a null list is empty.
HintReading readHints(const host::PanelHintWord* hints, uint32_t target);

// The toolkit's name for a tag, e.g. "XPTAG_LABEL", or, for a well-formed tag
// it does not define, "tag 7 (2 words, then a list)".
std::string hintTagName(host::PanelHintWord tag);

}  // namespace sim
