// What a block saved by the module must look like, and how two saves compare.
#pragma once

#include <string>
#include <vector>

#include "simhost/services/block_states.h"
#include "simhost/validate/validated_modifier.h"

namespace sim {

// Why a saved block is not the modifier's block of references: its units,
// each a line whose length counts its NUL, every line but the names as at
// the defaults, and the names within the module's buffer; "".
std::string blockProblem(const ValidatedModifier& modifier, const std::vector<BlockWriter::Unit>& units);

// Why a save is not units each a line whose length counts its NUL, within
// the module's buffer; "".
std::string unitsProblem(const std::vector<BlockWriter::Unit>& units);

// Whether two saves wrote the same units, byte for byte.
bool sameUnits(const std::vector<BlockWriter::Unit>& a, const std::vector<BlockWriter::Unit>& b);

}  // namespace sim
