// Modules whose start-up leaves a helper process behind, forked from the
// module's own and sharing its output: one that is broken (its description)
// and whose helper prints a PASS line for every check, at once and again a
// moment later, and one that is Kelto whole and whose helper only holds the
// output open for minutes. Neither helper may change or hold up a verdict.
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "faulty_kelto.h"
#include "helper_processes.h"
#include "host/channel_handler.h"

namespace {

using fault::Entries;

// Adds this process's ID to the file the test named, if it named one.
void recordHelperId() {
    const char* path = std::getenv(fault::kHelperIdsVariable);
    if (path == nullptr) return;
    int file = ::open(path, O_WRONLY | O_APPEND | O_CREAT, 0600);
    if (file < 0) return;
    std::string line = std::to_string(::getpid()) + "\n";
    (void)!::write(file, line.data(), line.size());
    ::close(file);
}

#if defined(FAULT_HELPER_FORGES_PASSES)
// Writes the text whole to standard output, unless the output is gone.
void print(const std::string& text) {
    size_t written = 0;
    while (written < text.size()) {
        ssize_t n = ::write(STDOUT_FILENO, text.data() + written, text.size() - written);
        if (n <= 0) return;
        written += size_t(n);
    }
}

// Long enough for the check's own process to have given its verdict and
// ended, short enough that the helpers are gone soon after the run.
const useconds_t kMomentMicroseconds = 200 * 1000;

std::string forgedLines() {
    const char* path = std::getenv(fault::kForgedLinesVariable);
    std::ifstream in(path != nullptr ? path : "");
    std::stringstream lines;
    lines << in.rdbuf();
    return lines.str();
}

[[noreturn]] void runHelper() {
    recordHelperId();
    const std::string lines = forgedLines();
    print(lines);
    ::usleep(kMomentMicroseconds);
    print(lines);
    ::_exit(0);
}

const char* HOST_CALL describeOtherwise(host::InstanceHandle) { return "KELTO by VEM"; }

void change(int, void* record) { fault::handlerRecord(record).instance->describe = describeOtherwise; }

constexpr host::ActivateFunction kHandler = fault::activateChanged<change>;

#elif defined(FAULT_HELPER_HOLDS_OUTPUT)
// Minutes: far longer than any check's time limit. The test ends the
// helpers once it has seen them outlive the run.
const unsigned kHoldSeconds = 300;

[[noreturn]] void runHelper() {
    recordHelperId();
    ::sleep(kHoldSeconds);
    ::_exit(0);
}

constexpr host::ActivateFunction kHandler = fault::modifierHandler;

#else
#error "helper_faults.cpp: no fault of this file is chosen"
#endif

void* HOST_CALL startWithHelper() {
    if (::fork() == 0) runHelper();
    return fault::startup();
}

constexpr Entries kFault = {kHandler, fault::modifierInterface, startWithHelper, fault::shutdown};

}  // namespace

const fault::Entries fault::kEntries = kFault;

// Run by a test of its own, which sets up the helpers' files and ends them.
FAULT_FAILS("apart")
