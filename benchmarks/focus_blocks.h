// Kelto Focus blocks for the benchmarks: the references with each setting
// that changes what an evaluation costs.
#pragma once

#include <string>
#include <vector>

namespace bench {

// Straight line, no offsets, no lag: what Kelto computes.
std::vector<std::string> focusStraightBlock(const std::string& item, const std::string& camera);
// Along the camera's view, with a Subject Offset: every axis is asked for.
std::vector<std::string> focusAlongViewBlock(const std::string& item, const std::string& camera);
// Straight line with a lag: seventeen samples an evaluation.
std::vector<std::string> focusLagBlock(const std::string& item, const std::string& camera);

}  // namespace bench
