#include "simhost/validate/saved_blocks.h"

#include "simhost/modifiers/kelto_facts.h"

namespace sim {

std::string blockProblem(const std::vector<BlockWriter::Unit>& units) {
    if (units.size() != kelto_facts::kBlockLines)
        return "save wrote " + std::to_string(units.size()) + " units, not " + std::to_string(kelto_facts::kBlockLines);
    const std::vector<std::string> keywords = kelto_facts::referenceBlock("", "");
    for (size_t i = 0; i < units.size(); ++i) {
        const BlockWriter::Unit& unit = units[i];
        std::string which = "unit " + std::to_string(i + 1);
        if (unit.length != int(unit.line().size()) + 1 || unit.bytes.size() != size_t(unit.length))
            return which + " has length " + std::to_string(unit.length) + " for a line of " +
                   std::to_string(unit.line().size()) + " bytes";
        if (unit.bytes.size() > kelto_facts::kNameBufferSize)
            return which + " is longer than " + std::to_string(kelto_facts::kNameBufferSize) + " bytes";
        if (!keywords[i].empty() && unit.line() != keywords[i])
            return which + " is \"" + unit.line() + "\", not " + keywords[i];
    }
    return "";
}

bool sameUnits(const std::vector<BlockWriter::Unit>& a, const std::vector<BlockWriter::Unit>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].bytes != b[i].bytes || a[i].length != b[i].length) return false;
    return true;
}

}  // namespace sim
