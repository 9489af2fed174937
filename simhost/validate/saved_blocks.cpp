#include "simhost/validate/saved_blocks.h"

#include "simhost/modifiers/kelto_facts.h"

namespace sim {

namespace {

std::string unitProblem(const BlockWriter::Unit& unit, const std::string& which) {
    if (unit.length != int(unit.line().size()) + 1 || unit.bytes.size() != size_t(unit.length))
        return which + " has length " + std::to_string(unit.length) + " for a line of " +
               std::to_string(unit.line().size()) + " bytes";
    if (unit.bytes.size() > kelto_facts::kNameBufferSize)
        return which + " is longer than " + std::to_string(kelto_facts::kNameBufferSize) + " bytes";
    return "";
}

std::string unitName(size_t index) { return "unit " + std::to_string(index + 1); }

}  // namespace

std::string blockProblem(const ValidatedModifier& modifier, const std::vector<BlockWriter::Unit>& units) {
    if (units.size() != modifier.blockLines)
        return "save wrote " + std::to_string(units.size()) + " units, not " + std::to_string(modifier.blockLines);
    const std::vector<std::string> keywords = modifier.referenceBlock("", "");
    for (size_t i = 0; i < units.size(); ++i) {
        const BlockWriter::Unit& unit = units[i];
        std::string problem = unitProblem(unit, unitName(i));
        if (!problem.empty()) return problem;
        if (!keywords[i].empty() && unit.line() != keywords[i])
            return unitName(i) + " is \"" + unit.line() + "\", not " + keywords[i];
    }
    return "";
}

std::string unitsProblem(const std::vector<BlockWriter::Unit>& units) {
    for (size_t i = 0; i < units.size(); ++i) {
        std::string problem = unitProblem(units[i], unitName(i));
        if (!problem.empty()) return problem;
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
