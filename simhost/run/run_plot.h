// The channel of a run drawn as an SVG plot: the value over the frames, on
// axes with round ticks, the frames the modifier left alone in grey.
#pragma once

#include <string>
#include <vector>

#include "simhost/run/run_report.h"
#include "simhost/scene/scene.h"

namespace sim {

// Round tick values that cover [low, high]: steps of 1, 2, 2.5 or 5 times a
// power of ten, at most about `most` of them, the first at or below `low` and
// the last at or above `high`. `whole` keeps steps of 1 and more, for frames.
std::vector<double> roundTicks(double low, double high, int most, bool whole = false);

std::string plotSvg(const Scene& scene, const RunReport& report);

}  // namespace sim
