#include "simhost/run/run_plot.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>

#include "simhost/text/printable_text.h"

namespace sim {

namespace {

const double kWidth = 760, kHeight = 380, kLeft = 84, kRight = 24, kTop = 44, kBottom = 56;
const int kMostValueTicks = 6;
const int kMostFrameTicks = 8;
const double kStepMultiples[] = {1, 2, 2.5, 5};
// The series' colours, in turn; the first is a lone run's.
const char* const kLineColours[kMostPlotSeries] = {"#1f6fb2", "#d95f02", "#1b9e77", "#7570b3"};
// The legend stands in the plot's bottom right corner, where a distance
// that keeps above 0 leaves room.
const double kLegendWidth = 150, kLegendRowHeight = 18, kLegendLineLength = 24, kLegendMargin = 12;
const double kLegendGap = 6, kLegendTextDrop = 4;  // the label after its line, centred on it
const char kLeftAloneColour[] = "#999";

// Halves of two doubles never overflow when subtracted, their whole values may.
double halfDifference(double high, double low) { return high / 2 - low / 2; }

// A round step: a multiple of 1, 2, 2.5 or 5 and a power of ten.
struct Step {
    double multiple;
    int exponent;
    double value() const { return scaled(1); }
    // k steps, formed so that a decimal tick comes out as the nearest double
    // to its decimal value (0.1 * 3 would not).
    double scaled(double k) const {
        double units = k * multiple;
        return exponent >= 0 ? units * std::pow(10.0, exponent) : units / std::pow(10.0, -exponent);
    }
};

// The smallest round step that covers the span in at most `most` steps.
Step roundStep(double halfSpan, int most, bool whole) {
    double raw = halfSpan / most * 2;
    if (!(raw > 0) || !std::isfinite(raw)) return {1, 0};
    int exponent = static_cast<int>(std::floor(std::log10(raw)));
    for (int e = exponent; e <= exponent + 1; ++e)
        for (double multiple : kStepMultiples) {
            Step step{multiple, e};
            if (step.value() >= raw && (!whole || (step.value() >= 1 && std::floor(step.value()) == step.value())))
                return step;
        }
    return {1, exponent + 2};
}

// The finite values' range, widened to hold 0 and 1, and how many are not finite.
struct ValueRange {
    double low = 0, high = 1;
    size_t notFinite = 0;
};

ValueRange valueRange(const std::vector<PlotSeries>& series) {
    ValueRange range;
    for (const PlotSeries& one : series)
        for (const FrameValue& row : one.report->frames) {
            if (!std::isfinite(row.value)) ++range.notFinite;
            else range.high = std::max(range.high, row.value), range.low = std::min(range.low, row.value);
        }
    return range;
}

// Where a frame and a value land on the plot, the axes spanning the ticks.
struct PlotScale {
    double frameFrom, frameSpan;
    double valueFrom, valueHalfSpan;  // halved, so that no span of doubles overflows

    double x(double frame) const { return kLeft + (frame - frameFrom) / frameSpan * (kWidth - kLeft - kRight); }
    double y(double value) const {
        return kHeight - kBottom - halfDifference(value, valueFrom) / valueHalfSpan * (kHeight - kTop - kBottom);
    }
};

// A grid line and label at each value tick, a label at each frame tick, and
// the axes' names.
void drawAxes(std::ostringstream& out, const PlotScale& scale, const std::vector<double>& valueTicks,
              const std::vector<double>& frameTicks) {
    for (double value : valueTicks) {
        out << "<line x1=\"" << kLeft << "\" y1=\"" << scale.y(value) << "\" x2=\"" << kWidth - kRight << "\" y2=\""
            << scale.y(value) << "\" stroke=\"#ddd\"/>\n";
        out << "<text x=\"" << kLeft - 8 << "\" y=\"" << scale.y(value) + 4 << "\" text-anchor=\"end\">" << value
            << "</text>\n";
    }
    for (double frame : frameTicks)
        out << "<text x=\"" << scale.x(frame) << "\" y=\"" << kHeight - kBottom + 18 << "\" text-anchor=\"middle\">"
            << frame << "</text>\n";
    out << "<text x=\"" << (kLeft + kWidth - kRight) / 2 << "\" y=\"" << kHeight - 12
        << "\" text-anchor=\"middle\">frame</text>\n";
    out << "<text transform=\"translate(18 " << (kTop + kHeight - kBottom) / 2
        << ") rotate(-90)\" text-anchor=\"middle\">value (scene units)</text>\n";
}

// One line for each run of frames the modifier set; frames it left alone
// are drawn apart, in grey, and values that are not finite not at all.
void drawSeries(std::ostringstream& out, const PlotScale& scale, const std::vector<FrameValue>& frames,
                const char* colour) {
    size_t row = 0;
    while (row < frames.size()) {
        if (!std::isfinite(frames[row].value)) {
            ++row;
            continue;
        }
        bool set = frames[row].set;
        out << "<polyline fill=\"none\" stroke=\"" << (set ? colour : kLeftAloneColour)
            << "\" stroke-width=\"2\" points=\"";
        for (; row < frames.size() && frames[row].set == set && std::isfinite(frames[row].value); ++row)
            out << scale.x(frames[row].frame) << "," << scale.y(frames[row].value) << " ";
        out << "\"/>\n";
    }
}

// A sample of each labelled series' line and its label, in rows.
void drawLegend(std::ostringstream& out, const std::vector<PlotSeries>& series) {
    const double left = kWidth - kRight - kLegendWidth;
    const double top = kHeight - kBottom - kLegendMargin - kLegendRowHeight * static_cast<double>(series.size() - 1);
    for (size_t n = 0; n < series.size(); ++n) {
        if (series[n].label.empty()) continue;
        double y = top + kLegendRowHeight * static_cast<double>(n);
        out << "<line x1=\"" << left << "\" y1=\"" << y << "\" x2=\"" << left + kLegendLineLength
            << "\" y2=\"" << y << "\" stroke=\"" << kLineColours[n] << "\" stroke-width=\"2\"/>\n";
        out << "<text x=\"" << left + kLegendLineLength + kLegendGap << "\" y=\"" << y + kLegendTextDrop << "\">"
            << xmlText(series[n].label) << "</text>\n";
    }
}

}  // namespace

std::vector<double> roundTicks(double low, double high, int most, bool whole) {
    if (high < low) std::swap(low, high);
    Step step = roundStep(halfDifference(high, low), most, whole);
    double first = std::floor(low / step.value()), last = std::ceil(high / step.value());
    std::vector<double> ticks;
    // Huge values leave few steps; the count stays bounded whatever they are.
    for (double k = first; k <= last && ticks.size() <= size_t(most) + 2; ++k) {
        double tick = step.scaled(k);
        // Past the largest double a round tick gives way to the end value.
        ticks.push_back(std::isfinite(tick) ? tick : tick < 0 ? low : high);
    }
    if (ticks.size() < 2) ticks = {low, high};
    return ticks;
}

std::string plotSvg(const Scene& scene, const RunReport& report) { return plotSvg(scene, {{"", &report}}); }

std::string plotSvg(const Scene& scene, const std::vector<PlotSeries>& given) {
    const std::vector<PlotSeries> series(given.begin(), given.begin() + std::min(given.size(), kMostPlotSeries));
    ValueRange range = valueRange(series);
    std::vector<double> valueTicks = roundTicks(range.low, range.high, kMostValueTicks);
    std::vector<double> frameTicks = roundTicks(scene.firstFrame, std::max<double>(scene.lastFrame, scene.firstFrame + 1.0),
                                                kMostFrameTicks, true);
    PlotScale scale{frameTicks.front(), frameTicks.back() - frameTicks.front(), valueTicks.front(),
                    halfDifference(valueTicks.back(), valueTicks.front())};
    std::ostringstream out;
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\"" << kHeight
        << "\" font-family=\"sans-serif\" font-size=\"12\">\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    out << "<text x=\"" << kWidth / 2 << "\" y=\"24\" text-anchor=\"middle\" font-size=\"14\">"
        << xmlText(scene.channelName) << "</text>\n";
    drawAxes(out, scale, valueTicks, frameTicks);
    // A value that is not a number or infinite has no place on the axis: it
    // is left out, breaking the line, and counted in a note.
    if (range.notFinite > 0)
        out << "<text x=\"" << kWidth - kRight << "\" y=\"24\" text-anchor=\"end\" fill=\"#b22\">" << range.notFinite
            << (range.notFinite == 1 ? " frame" : " frames") << " not drawn: value not finite</text>\n";
    for (size_t n = 0; n < series.size(); ++n) drawSeries(out, scale, series[n].report->frames, kLineColours[n]);
    drawLegend(out, series);
    out << "</svg>\n";
    return out.str();
}

}  // namespace sim
