#include "simhost/validate/saved_blocks.h"

#include "simhost/modifiers/reference_facts.h"

namespace sim {

namespace {

// The longest line the module's buffer holds with its NUL.
const size_t kLongestLine = reference_facts::kNameBufferSize - 1;

std::string lineProblem(const std::string& line, const std::string& which) {
    if (line.size() > kLongestLine)
        return which + " is " + std::to_string(line.size()) + " bytes, longer than " + std::to_string(kLongestLine);
    return "";
}

std::string lineName(size_t index) { return "line " + std::to_string(index + 1); }

}  // namespace

std::string blockProblem(const ValidatedModifier& modifier, const std::vector<BlockWriter::Unit>& units) {
    const std::vector<std::string> lines = linesOf(units);
    if (lines.size() != modifier.blockLines)
        return "save wrote " + std::to_string(lines.size()) + " lines, not " + std::to_string(modifier.blockLines);
    const std::vector<std::string> keywords = modifier.referenceBlock("", "");
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string problem = lineProblem(lines[i], lineName(i));
        if (!problem.empty()) return problem;
        if (!keywords[i].empty() && lines[i] != keywords[i])
            return lineName(i) + " is \"" + lines[i] + "\", not " + keywords[i];
    }
    return "";
}

std::string linesProblem(const std::vector<BlockWriter::Unit>& units) {
    const std::vector<std::string> lines = linesOf(units);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string problem = lineProblem(lines[i], lineName(i));
        if (!problem.empty()) return problem;
    }
    return "";
}

bool sameLines(const std::vector<BlockWriter::Unit>& a, const std::vector<BlockWriter::Unit>& b) {
    return linesOf(a) == linesOf(b);
}

}  // namespace sim
