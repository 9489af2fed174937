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
const char kLineColour[] = "#1f6fb2";
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

std::string plotSvg(const Scene& scene, const RunReport& report) {
    double low = 0, high = 1;
    size_t notFinite = 0;
    for (const FrameValue& row : report.frames) {
        if (!std::isfinite(row.value)) ++notFinite;
        else high = std::max(high, row.value), low = std::min(low, row.value);
    }
    std::vector<double> valueTicks = roundTicks(low, high, kMostValueTicks);
    std::vector<double> frameTicks = roundTicks(scene.firstFrame, std::max<double>(scene.lastFrame, scene.firstFrame + 1.0),
                                                kMostFrameTicks, true);
    double valueFrom = valueTicks.front(), valueHalfSpan = halfDifference(valueTicks.back(), valueTicks.front());
    double frameFrom = frameTicks.front(), frameSpan = frameTicks.back() - frameTicks.front();
    auto x = [&](double frame) { return kLeft + (frame - frameFrom) / frameSpan * (kWidth - kLeft - kRight); };
    auto y = [&](double value) {
        return kHeight - kBottom - halfDifference(value, valueFrom) / valueHalfSpan * (kHeight - kTop - kBottom);
    };

    std::ostringstream out;
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\"" << kHeight
        << "\" font-family=\"sans-serif\" font-size=\"12\">\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    out << "<text x=\"" << kWidth / 2 << "\" y=\"24\" text-anchor=\"middle\" font-size=\"14\">"
        << xmlText(scene.channelName) << "</text>\n";
    for (double value : valueTicks) {
        out << "<line x1=\"" << kLeft << "\" y1=\"" << y(value) << "\" x2=\"" << kWidth - kRight << "\" y2=\""
            << y(value) << "\" stroke=\"#ddd\"/>\n";
        out << "<text x=\"" << kLeft - 8 << "\" y=\"" << y(value) + 4 << "\" text-anchor=\"end\">" << value
            << "</text>\n";
    }
    for (double frame : frameTicks)
        out << "<text x=\"" << x(frame) << "\" y=\"" << kHeight - kBottom + 18 << "\" text-anchor=\"middle\">" << frame
            << "</text>\n";
    out << "<text x=\"" << (kLeft + kWidth - kRight) / 2 << "\" y=\"" << kHeight - 12
        << "\" text-anchor=\"middle\">frame</text>\n";
    out << "<text transform=\"translate(18 " << (kTop + kHeight - kBottom) / 2
        << ") rotate(-90)\" text-anchor=\"middle\">value (scene units)</text>\n";
    // A value that is not a number or infinite has no place on the axis: it
    // is left out, breaking the line, and counted in a note.
    if (notFinite > 0)
        out << "<text x=\"" << kWidth - kRight << "\" y=\"24\" text-anchor=\"end\" fill=\"#b22\">" << notFinite
            << (notFinite == 1 ? " frame" : " frames") << " not drawn: value not finite</text>\n";
    // One line for each run of frames the modifier set; frames it left alone
    // are drawn apart, in grey.
    size_t row = 0;
    while (row < report.frames.size()) {
        if (!std::isfinite(report.frames[row].value)) {
            ++row;
            continue;
        }
        bool set = report.frames[row].set;
        out << "<polyline fill=\"none\" stroke=\"" << (set ? kLineColour : kLeftAloneColour)
            << "\" stroke-width=\"2\" points=\"";
        for (; row < report.frames.size() && report.frames[row].set == set && std::isfinite(report.frames[row].value);
             ++row)
            out << x(report.frames[row].frame) << "," << y(report.frames[row].value) << " ";
        out << "\"/>\n";
    }
    out << "</svg>\n";
    return out.str();
}

}  // namespace sim
