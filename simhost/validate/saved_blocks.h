// What a block saved by the module must look like, and how two saves compare:
// by the lines the scene file holds. The length a module hands an ASCII write
// is not one of them: the host takes a line's length from its string.
#pragma once

#include <string>
#include <vector>

#include "simhost/services/block_states.h"
#include "simhost/validate/validated_modifier.h"

namespace sim {

// Why a saved block is not the modifier's block of references: its lines,
// every line but the names as at the defaults, each within the module's
// buffer; "".
std::string blockProblem(const ValidatedModifier& modifier, const std::vector<BlockWriter::Unit>& units);

// Why a save holds a line longer than the module's buffer holds; "".
std::string linesProblem(const std::vector<BlockWriter::Unit>& units);

// Whether two saves wrote the same lines, byte for byte.
bool sameLines(const std::vector<BlockWriter::Unit>& a, const std::vector<BlockWriter::Unit>& b);

}  // namespace sim
