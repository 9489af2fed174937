// How many runs one plot tells apart, each by a colour of its own (run_plot.h);
// apart from the plot so that the options that quote it need nothing else of it.
#pragma once

#include <cstddef>

namespace sim {

const size_t kMostPlotSeries = 4;

}  // namespace sim
