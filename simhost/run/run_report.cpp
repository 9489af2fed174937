#include "simhost/run/run_report.h"

#include <cmath>

#include "simhost/scene/scene_file.h"
#include "simhost/text/printable_text.h"
#include "simhost/text/text_format.h"

namespace sim {

namespace {

const int kFrameWidth = 8;
const int kTimeWidth = 11, kTimeDecimals = 4;
const int kValueWidth = 13, kValueDecimals = 6;
const int kExactWidth = 24, kExactDigits = 17;

// `value` in a column `width` wide with `decimals` after the point, in fixed
// form below kFixedBelow and with an exponent from there up.
std::string columnText(double value, int width, int decimals) {
    return formattedText(std::fabs(value) < kFixedFormBelow ? "%*.*f" : "%*.*e", width, decimals, value);
}

}  // namespace

void FrameTableWriter::write(const FrameValue& row) {
    if (!headWritten_) {
        out_ << "\nChannel     " << shownText(scene_.channelName) << "\n";
        out_ << "   frame        time         value\n";
        headWritten_ = true;
    }
    out_ << formattedText("%*d ", kFrameWidth, row.frame) << columnText(row.time, kTimeWidth, kTimeDecimals) << " "
         << (exact_ ? formattedText("%*.*g", kExactWidth, kExactDigits, row.value)
                    : columnText(row.value, kValueWidth, kValueDecimals))
         << (row.set ? "" : "  (not set)") << "\n";
    // Flushed row by row: a crash or the time limit ends the run without
    // flushing what is buffered.
    out_.flush();
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
