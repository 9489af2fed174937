// What a block saved by the module must look like, and how two saves compare.
#pragma once

#include <string>
#include <vector>

#include "simhost/services/block_states.h"

namespace sim {

// Why a saved block is not six units, each a line whose length counts its
// NUL, the keywords in place and the names within the module's buffer; "".
std::string blockProblem(const std::vector<BlockWriter::Unit>& units);

// Whether two saves wrote the same units, byte for byte.
bool sameUnits(const std::vector<BlockWriter::Unit>& a, const std::vector<BlockWriter::Unit>& b);

}  // namespace sim
