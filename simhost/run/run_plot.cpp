#include "simhost/run/run_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <sstream>

#include "simhost/run/plot_points.h"
#include "simhost/text/printable_text.h"
#include "simhost/text/text_format.h"

namespace sim {

namespace {

// The right margin holds half the widest frame label, "1000000".
const double kWidth = 760, kHeight = 380, kLeft = 84, kRight = 40, kTop = 44, kBottom = 56;
const int kMostValueTicks = 6;
const int kMostFrameTicks = 8;
const double kStepMultiples[] = {1, 2, 2.5, 5};
// The series' colours, in turn; the first is a lone run's.
const char* const kLineColours[kMostPlotSeries] = {"#1f6fb2", "#d95f02", "#1b9e77", "#7570b3"};
const char kLeftAloneColour[] = "#999";
const double kLineWidth = 2, kDotRadius = 2.5;
// The legend stands below the axes, a row for each series and one for the
// frames left alone, so that it hides no line.
const double kLegendTop = 16, kLegendRowHeight = 18, kLegendLineLength = 24;
const double kLegendGap = 6, kLegendTextDrop = 4;  // the label after its line, centred on it
// A text longer than this is cut: at a 12-pixel sans-serif font, wider
// letters included, the legend's and the title's room.
const size_t kMostLegendBytes = 80;
const size_t kMostTitleBytes = 80;
const char kCutMark[] = "\xE2\x80\xA6";  // an ellipsis, in UTF-8
const char kLeftAloneLabel[] = "not set by the modifier: the channel keeps its own value";
const char kNeverSetNote[] = " (never set)";
// A tick label longer than this in fixed form takes an exponent.
const size_t kMostFixedTickChars = 10;
const int kMostTickDigits = 17;

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

// The values' range, widened to hold 0 and 1. A run with a value that is not
// finite fails, and no plot of it is written; such a value is left out here
// all the same, rather than spoil the axis.
struct ValueRange {
    double low = 0, high = 1;
};

ValueRange valueRange(const std::vector<PlotSeries>& series) {
    ValueRange range;
    for (const PlotSeries& one : series)
        for (const FrameValue& row : one.report->frames)
            if (std::isfinite(row.value))
                range.high = std::max(range.high, row.value), range.low = std::min(range.low, row.value);
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
    const std::vector<std::string> valueLabels = tickLabels(valueTicks), frameLabels = tickLabels(frameTicks);
    for (size_t n = 0; n < valueTicks.size(); ++n) {
        double y = scale.y(valueTicks[n]);
        out << "<line x1=\"" << kLeft << "\" y1=\"" << y << "\" x2=\"" << kWidth - kRight << "\" y2=\"" << y
            << "\" stroke=\"#ddd\"/>\n";
        out << "<text x=\"" << kLeft - 8 << "\" y=\"" << y + 4 << "\" text-anchor=\"end\">" << valueLabels[n]
            << "</text>\n";
    }
    for (size_t n = 0; n < frameTicks.size(); ++n)
        out << "<text x=\"" << scale.x(frameTicks[n]) << "\" y=\"" << kHeight - kBottom + 18
            << "\" text-anchor=\"middle\">" << frameLabels[n] << "</text>\n";
    out << "<text x=\"" << (kLeft + kWidth - kRight) / 2 << "\" y=\"" << kHeight - 12
        << "\" text-anchor=\"middle\">frame</text>\n";
    out << "<text transform=\"translate(18 " << (kTop + kHeight - kBottom) / 2
        << ") rotate(-90)\" text-anchor=\"middle\">value (scene units)</text>\n";
}

// `text` cut to at most `most` bytes, never inside a character, with a mark
// where it was cut, and made fit for XML.
std::string fittedText(const std::string& text, size_t most) {
    if (text.size() <= most) return xmlText(text);
    return xmlText(text.substr(0, characterCut(text, most - (sizeof kCutMark - 1))) + kCutMark);
}

bool anySet(const std::vector<FrameValue>& frames) {
    return std::any_of(frames.begin(), frames.end(), [](const FrameValue& row) { return row.set; });
}

bool anyLeftAlone(const std::vector<PlotSeries>& series) {
    for (const PlotSeries& one : series)
        for (const FrameValue& row : one.report->frames)
            if (!row.set) return true;
    return false;
}

// Each run of frames the modifier set as a line in the series' colour, each
// of frames it left alone in grey, and a run of one frame as a dot; values
// that are not finite not at all. A few points a pixel column at most.
void drawSeries(std::ostringstream& out, const PlotScale& scale, const std::vector<FrameValue>& frames,
                const char* colour) {
    const ColumnOfFrame columnOf = [&scale](int frame) { return static_cast<long long>(std::floor(scale.x(frame))); };
    for (const PlotRun& run : plotRuns(frames, columnOf)) {
        const char* stroke = run.set ? colour : kLeftAloneColour;
        if (run.points.size() == 1) {
            out << "<circle cx=\"" << scale.x(run.points[0].frame) << "\" cy=\"" << scale.y(run.points[0].value)
                << "\" r=\"" << kDotRadius << "\" fill=\"" << stroke << "\"/>\n";
            continue;
        }
        out << "<polyline fill=\"none\" stroke=\"" << stroke << "\" stroke-width=\"" << kLineWidth << "\" points=\"";
        for (const PlotPoint& point : run.points) out << scale.x(point.frame) << "," << scale.y(point.value) << " ";
        out << "\"/>\n";
    }
}

// The legend's rows: a sample of the line and its label.
struct LegendRow {
    const char* colour;
    std::string label;
};

// A row for each labelled series (in grey, and saying so, for one the
// modifier never set), and one for the frames left alone where there are any.
std::vector<LegendRow> legendRows(const std::vector<PlotSeries>& series) {
    std::vector<LegendRow> rows;
    for (size_t n = 0; n < series.size(); ++n) {
        if (series[n].label.empty()) continue;
        bool set = anySet(series[n].report->frames);
        rows.push_back({set ? kLineColours[n] : kLeftAloneColour, series[n].label + (set ? "" : kNeverSetNote)});
    }
    if (anyLeftAlone(series)) rows.push_back({kLeftAloneColour, kLeftAloneLabel});
    return rows;
}

double legendHeight(const std::vector<LegendRow>& rows) {
    return rows.empty() ? 0 : kLegendTop + kLegendRowHeight * static_cast<double>(rows.size());
}

// Below the axes' names, a row at a time.
void drawLegend(std::ostringstream& out, const std::vector<LegendRow>& rows) {
    for (size_t n = 0; n < rows.size(); ++n) {
        double y = kHeight + kLegendTop + kLegendRowHeight * static_cast<double>(n);
        out << "<line x1=\"" << kLeft << "\" y1=\"" << y << "\" x2=\"" << kLeft + kLegendLineLength << "\" y2=\"" << y
            << "\" stroke=\"" << rows[n].colour << "\" stroke-width=\"" << kLineWidth << "\"/>\n";
        out << "<text x=\"" << kLeft + kLegendLineLength + kLegendGap << "\" y=\"" << y + kLegendTextDrop << "\">"
            << fittedText(rows[n].label, kMostLegendBytes) << "</text>\n";
    }
}

// A tick in fixed form or with an exponent (where 0 is plainly "0").
std::string tickText(double tick, bool exponent, int digits) {
    if (exponent && tick == 0) return "0";
    return formattedText(exponent ? "%.*e" : "%.*f", digits, tick);
}

bool tellsApart(const std::vector<double>& ticks, bool exponent, int digits) {
    // Within a millionth of a step, a tick reads as itself.
    const double tolerance = ticks.size() > 1 ? std::fabs(halfDifference(ticks[1], ticks[0])) * 2e-6 : 0;
    for (double tick : ticks)
        if (!(std::fabs(std::strtod(tickText(tick, exponent, digits).c_str(), nullptr) - tick) <= tolerance))
            return false;
    return true;
}

}  // namespace

std::vector<std::string> tickLabels(const std::vector<double>& ticks) {
    double largest = 0;
    for (double tick : ticks) largest = std::max(largest, std::fabs(tick));
    bool exponent = !(largest < kFixedFormBelow);
    int digits = 0;
    while (digits < kMostTickDigits && !tellsApart(ticks, exponent, digits)) ++digits;
    if (!exponent && formattedText("%.*f", digits, -largest).size() > kMostFixedTickChars) {
        exponent = true;
        for (digits = 0; digits < kMostTickDigits && !tellsApart(ticks, exponent, digits);) ++digits;
    }
    std::vector<std::string> labels;
    for (double tick : ticks) labels.push_back(tickText(tick, exponent, digits));
    return labels;
}

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
    std::vector<double> frameTicks =
        roundTicks(scene.firstFrame, std::max<double>(scene.lastFrame, scene.firstFrame + 1.0), kMostFrameTicks, true);
    PlotScale scale{frameTicks.front(), frameTicks.back() - frameTicks.front(), valueTicks.front(),
                    halfDifference(valueTicks.back(), valueTicks.front())};
    const std::vector<LegendRow> legend = legendRows(series);
    std::ostringstream out;
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kWidth << "\" height=\""
        << kHeight + legendHeight(legend)
        << "\" font-family=\"sans-serif\" font-size=\"12\">\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    out << "<text x=\"" << kWidth / 2 << "\" y=\"24\" text-anchor=\"middle\" font-size=\"14\">"
        << fittedText(scene.channelName, kMostTitleBytes) << "</text>\n";
    drawAxes(out, scale, valueTicks, frameTicks);
    for (size_t n = 0; n < series.size(); ++n) drawSeries(out, scale, series[n].report->frames, kLineColours[n]);
    drawLegend(out, legend);
    out << "</svg>\n";
    return out.str();
}

}  // namespace sim
