#include "simhost/run/plot_points.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

// What a run keeps of the frames that fall in one pixel column.
class ColumnPoints {
public:
    void add(const FrameValue& row) {
        PlotPoint point{row.frame, row.value};
        if (empty_) first_ = least_ = most_ = point;
        if (point.value < least_.value) least_ = point;
        if (point.value > most_.value) most_ = point;
        last_ = point;
        empty_ = false;
    }

    // Appends the kept points in frame order, each frame once, and empties.
    void moveTo(std::vector<PlotPoint>& points) {
        if (empty_) return;
        PlotPoint kept[] = {first_, least_, most_, last_};
        std::sort(std::begin(kept), std::end(kept),
                  [](const PlotPoint& a, const PlotPoint& b) { return a.frame < b.frame; });
        for (const PlotPoint& point : kept)
            if (points.empty() || points.back().frame != point.frame) points.push_back(point);
        empty_ = true;
    }

private:
    bool empty_ = true;
    PlotPoint first_{}, least_{}, most_{}, last_{};
};

void addRuns(const std::vector<FrameValue>& frames, const ColumnOfFrame& columnOf, bool set,
             std::vector<PlotRun>& runs) {
    ColumnPoints column;
    bool open = false;
    long long at = 0, lastFrame = 0;  // wide: a frame may be the largest int
    for (const FrameValue& row : frames) {
        if (row.set != set || !std::isfinite(row.value)) continue;
        long long rowColumn = columnOf(row.frame);
        if (open && rowColumn != at) {
            column.moveTo(runs.back().points);
            open = row.frame == lastFrame + 1;
        }
        if (!open) runs.push_back({set, {}});
        open = true;
        at = rowColumn;
        lastFrame = row.frame;
        column.add(row);
    }
    if (open) column.moveTo(runs.back().points);
}

}  // namespace

std::vector<PlotRun> plotRuns(const std::vector<FrameValue>& frames, const ColumnOfFrame& columnOf) {
    std::vector<PlotRun> runs;
    // Frames set are drawn last, over those left alone.
    addRuns(frames, columnOf, false, runs);
    addRuns(frames, columnOf, true, runs);
    return runs;
}

}  // namespace sim
