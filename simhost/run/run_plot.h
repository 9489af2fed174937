// The channel of a run drawn as an SVG plot: the value over the frames, on
// axes with round ticks, the frames the modifier left alone in grey and
// named so in a legend below; or the channel of several runs of one scene, a
// line and a colour each, named in the legend. A few points a pixel column
// at most (plot_points.h), however many frames; a lone frame is a dot.
#pragma once

#include <string>
#include <vector>

#include "simhost/run/plot_series_limit.h"
#include "simhost/run/run_report.h"
#include "simhost/scene/scene.h"

namespace sim {

// Round tick values that cover [low, high]: steps of 1, 2, 2.5 or 5 times a
// power of ten, at most about `most` of them, the first at or below `low` and
// the last at or above `high`. `whole` keeps steps of 1 and more, for frames.
std::vector<double> roundTicks(double low, double high, int most, bool whole = false);

// The ticks' labels, alike in form: each in the fewest digits that tell the
// ticks apart, fixed while short and below kFixedFormBelow ("800000",
// "1000000"), else all with an exponent ("2.5e+149").
std::vector<std::string> tickLabels(const std::vector<double>& ticks);

std::string plotSvg(const Scene& scene, const RunReport& report);

// One run's line in a plot of several, and its name in the legend.
struct PlotSeries {
    std::string label;
    const RunReport* report;
};

// Every series on the same axes, in the order given; the first
// kMostPlotSeries of them. One series without a label is drawn as plotSvg
// draws its run.
std::string plotSvg(const Scene& scene, const std::vector<PlotSeries>& series);

}  // namespace sim
