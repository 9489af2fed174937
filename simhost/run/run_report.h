// What a scene run produced, and its text forms: the frame table and the
// saved block (run_plot.h draws it). Each is written as it is formed, and
// each line of it is bounded: a row of the table by its columns' widths (a
// number too large for its column is shown with an exponent), a name or a
// saved line by shownText.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "simhost/scene/scene.h"
#include "simhost/services/block_states.h"

namespace sim {

struct FrameValue {
    int frame;
    double time;
    double value;  // the channel after the modifier
    bool set;      // whether the modifier set it
};

struct RunReport {
    std::string error;  // why the run stopped, empty when it ran through
    std::vector<FrameValue> frames;
    std::vector<BlockWriter::Unit> saved;  // what the final save wrote, a unit each
    bool binarySave = false;               // whether it was saved in binary mode: then savedBytes holds it
    std::string savedBytes;
    std::string saveError;                    // the error text the final save returned; empty for none
    std::vector<std::string> violations;      // breaches of the host's rules, which hold for any module
    std::vector<std::string> brokenPromises;  // of Kelto or Kelto Focus, when the run drives one
};

// Magnitudes from here up are shown with an exponent, in the table and on a
// plot's axes: in fixed form the largest double would take over 300 bytes.
const double kFixedFormBelow = 1e9;

// The frame table, frame, time and value, written a row at a time as each
// frame is evaluated, after a blank line and its head; `exact` prints every
// value with 17 significant digits, enough to tell any two apart. Each row
// is flushed, so a run that ends in a crash or at its time limit has shown
// every row it made.
class FrameTableWriter {
public:
    FrameTableWriter(std::ostream& out, const Scene& scene, bool exact = false)
        : out_(out), scene_(scene), exact_(exact) {}
    void write(const FrameValue& row);

private:
    std::ostream& out_;
    const Scene& scene_;
    bool exact_;
    bool headWritten_ = false;
};
// The saved block, a unit a line with its length, or a binary block's bytes in hex.
void writeSavedBlock(std::ostream& out, const RunReport& report);

}  // namespace sim
