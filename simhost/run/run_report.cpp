#include "simhost/run/run_report.h"

#include <cmath>

#include "simhost/scene/scene_file.h"
#include "simhost/text/printable_text.h"
#include "simhost/text/text_format.h"

namespace sim {

namespace {

// Magnitudes from here up are shown with an exponent: in fixed form the
// largest double would take over 300 bytes.
const double kFixedBelow = 1e9;
const int kFrameWidth = 8;
const int kTimeWidth = 11, kTimeDecimals = 4;
const int kValueWidth = 13, kValueDecimals = 6;
const int kExactWidth = 24, kExactDigits = 17;

// `value` in a column `width` wide with `decimals` after the point, in fixed
// form below kFixedBelow and with an exponent from there up.
std::string columnText(double value, int width, int decimals) {
    return formattedText(std::fabs(value) < kFixedBelow ? "%*.*f" : "%*.*e", width, decimals, value);
}

}  // namespace

void writeFrameTable(std::ostream& out, const Scene& scene, const RunReport& report, bool exact) {
    out << "Channel     " << shownText(scene.channelName) << "\n";
    out << "   frame        time         value\n";
    for (const FrameValue& row : report.frames)
        out << formattedText("%*d ", kFrameWidth, row.frame) << columnText(row.time, kTimeWidth, kTimeDecimals) << " "
            << (exact ? formattedText("%*.*g", kExactWidth, kExactDigits, row.value)
                      : columnText(row.value, kValueWidth, kValueDecimals))
            << (row.set ? "" : "  (not set)") << "\n";
}

void writeSavedBlock(std::ostream& out, const RunReport& report) {
    if (report.binarySave) {
        out << "Saved block (binary, " << report.savedBytes.size() << " bytes)\n";
        for (const std::string& line : hexLinesOf(report.savedBytes)) out << "  " << line << "\n";
        return;
    }
    out << "Saved block\n";
    for (const BlockWriter::Unit& unit : report.saved)
        out << "  " << shownText(unit.line()) << "  (" << unit.length << " bytes)\n";
}

}  // namespace sim
