#include "run_report.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "printable_text.h"
#include "text_format.h"

namespace sim {

namespace {

// Halves of two doubles never overflow when subtracted, their whole values may.
double halfDifference(double high, double low) { return high / 2 - low / 2; }

// The point a fraction of the way from `from` to `to`, without forming their
// difference, which may overflow.
double between(double from, double to, double fraction) { return from * (1 - fraction) + to * fraction; }

}  // namespace

std::vector<std::string> RunReport::savedLines() const {
    std::vector<std::string> lines;
    for (const BlockWriter::Unit& unit : saved) lines.push_back(unit.line());
    return lines;
}

std::string formatFrameTable(const Scene& scene, const RunReport& report, bool exact) {
    std::ostringstream out;
    out << "Channel     " << scene.channelName << "\n";
    out << "   frame        time         value\n";
    for (const FrameValue& row : report.frames)
        out << formattedText(exact ? "%8d %11.4f %24.17g%s\n" : "%8d %11.4f %13.6f%s\n", row.frame, row.time,
                             row.value, row.set ? "" : "  (not set)");
    return out.str();
}

std::string formatSavedBlock(const RunReport& report) {
    std::ostringstream out;
    out << "Saved block\n";
    for (const BlockWriter::Unit& unit : report.saved)
        out << "  " << unit.line() << "  (" << unit.length << " bytes)\n";
    return out.str();
}

std::string plotSvg(const Scene& scene, const RunReport& report) {
    const double width = 760, height = 380, left = 80, right = 24, top = 44, bottom = 56;
    const int ticks = 4;
    double low = 0, high = 1;
    size_t notFinite = 0;
    for (const FrameValue& row : report.frames) {
        if (!std::isfinite(row.value)) ++notFinite;
        else high = std::max(high, row.value), low = std::min(low, row.value);
    }
    double firstFrame = scene.firstFrame;
    double frameSpan = std::max(1.0, static_cast<double>(scene.lastFrame) - firstFrame);
    double valueHalfSpan = halfDifference(high, low);
    auto x = [&](double frame) { return left + (frame - firstFrame) / frameSpan * (width - left - right); };
    auto y = [&](double value) {
        return height - bottom - halfDifference(value, low) / valueHalfSpan * (height - top - bottom);
    };

    std::ostringstream out;
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
        << "\" font-family=\"sans-serif\" font-size=\"12\">\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    out << "<text x=\"" << width / 2 << "\" y=\"24\" text-anchor=\"middle\" font-size=\"14\">"
        << xmlText(scene.channelName) << "</text>\n";
    for (int t = 0; t <= ticks; ++t) {
        double fraction = static_cast<double>(t) / ticks;
        double value = between(low, high, fraction);
        double frame = firstFrame + frameSpan * fraction;
        out << "<line x1=\"" << left << "\" y1=\"" << y(value) << "\" x2=\"" << width - right << "\" y2=\"" << y(value)
            << "\" stroke=\"#ddd\"/>\n";
        out << "<text x=\"" << left - 8 << "\" y=\"" << y(value) + 4 << "\" text-anchor=\"end\">" << value << "</text>\n";
        out << "<text x=\"" << x(frame) << "\" y=\"" << height - bottom + 18 << "\" text-anchor=\"middle\">" << frame
            << "</text>\n";
    }
    out << "<text x=\"" << (left + width - right) / 2 << "\" y=\"" << height - 12
        << "\" text-anchor=\"middle\">frame</text>\n";
    // A value that is not a number or infinite has no place on the axis: it
    // is left out, breaking the line, and counted in a note.
    if (notFinite > 0)
        out << "<text x=\"" << width - right << "\" y=\"24\" text-anchor=\"end\" fill=\"#b22\">" << notFinite
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
        out << "<polyline fill=\"none\" stroke=\"" << (set ? "#1f6fb2" : "#999") << "\" stroke-width=\"2\" points=\"";
        for (; row < report.frames.size() && report.frames[row].set == set && std::isfinite(report.frames[row].value);
             ++row)
            out << x(report.frames[row].frame) << "," << y(report.frames[row].value) << " ";
        out << "\"/>\n";
    }
    out << "</svg>\n";
    return out.str();
}

}  // namespace sim
