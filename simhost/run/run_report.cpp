#include "simhost/run/run_report.h"

#include <sstream>

#include "simhost/text/text_format.h"

namespace sim {

std::string frameTableText(const Scene& scene, const RunReport& report, bool exact) {
    std::ostringstream out;
    out << "Channel     " << scene.channelName << "\n";
    out << "   frame        time         value\n";
    for (const FrameValue& row : report.frames)
        out << formattedText(exact ? "%8d %11.4f %24.17g%s\n" : "%8d %11.4f %13.6f%s\n", row.frame, row.time,
                             row.value, row.set ? "" : "  (not set)");
    return out.str();
}

std::string savedBlockText(const RunReport& report) {
    std::ostringstream out;
    out << "Saved block\n";
    for (const BlockWriter::Unit& unit : report.saved)
        out << "  " << unit.line() << "  (" << unit.length << " bytes)\n";
    return out.str();
}

}  // namespace sim
