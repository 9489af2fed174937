// A series' frames as a plot draws them, thinned to a few points a pixel
// column whatever the number of frames, so that a plot of a million frames
// stays small and opens in any viewer. The frames the modifier set and
// those it left alone are drawn apart, each kind in runs of frames that
// follow one another with finite values; in each pixel column a run keeps
// its first and last frame and its least and greatest value, in frame order.
// Where frames are fewer than columns, every frame is a point of its own.
#pragma once

#include <functional>
#include <vector>

#include "simhost/run/run_report.h"

namespace sim {

struct PlotPoint {
    int frame;
    double value;
};

struct PlotRun {
    bool set;                       // whether the modifier set these frames
    std::vector<PlotPoint> points;  // one alone is drawn as a dot
};

// The pixel column a frame falls in.
using ColumnOfFrame = std::function<long long(int frame)>;

// The runs of frames left alone, then those of frames set. A run breaks where
// a frame of the other kind, or one whose value is not finite, stands between
// two columns; within one column it goes on, since no pixel could show the gap.
std::vector<PlotRun> plotRuns(const std::vector<FrameValue>& frames, const ColumnOfFrame& columnOf);

}  // namespace sim
