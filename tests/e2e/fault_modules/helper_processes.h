// What the modules that start a helper process at start-up
// (helper_faults.cpp) and the tests that run them agree on: the environment
// variables through which a test hands a helper its lines and learns its
// process ID.
#pragma once

namespace fault {

// A file of lines that a forging helper prints, as they are, to the output
// its module's process had.
const char kForgedLinesVariable[] = "KELTO_FORGED_LINES";
// A file each helper adds its process ID to, a line each, so that a test can
// see it outlive the run and end it.
const char kHelperIdsVariable[] = "KELTO_HELPER_IDS";

}  // namespace fault
