#include "simhost/platform/crash_report.h"

#include <atomic>

#include "simhost/platform/crash_report_line.h"

namespace sim {

namespace {

// The marked call, or the host's own work: read by a signal handler, by the
// time limit's thread on Windows, or by a second thread the module started,
// so atomic; relaxed, as only the one line depends on them.
std::atomic<const char*> g_what{nullptr};
std::atomic<const char*> g_work{nullptr};
std::atomic<int> g_frame{0};
std::atomic<bool> g_hasFrame{false};
std::atomic<const char*> g_hostWhat{nullptr};
static_assert(std::atomic<const char*>::is_always_lock_free && std::atomic<int>::is_always_lock_free &&
                  std::atomic<bool>::is_always_lock_free,
              "a signal handler may read only lock-free atomics");

void (*g_afterModuleCall)() = nullptr;

const char kPrefix[] = "kelto-host: ";
const unsigned kDecimal = 10, kHexadecimal = 16;

MarkState savedMarks() {
    return {g_what.load(std::memory_order_relaxed), g_work.load(std::memory_order_relaxed),
            g_frame.load(std::memory_order_relaxed), g_hasFrame.load(std::memory_order_relaxed)};
}

void restoreMarks(const MarkState& state) {
    g_what.store(state.what, std::memory_order_relaxed);
    g_work.store(state.work, std::memory_order_relaxed);
    g_frame.store(state.frame, std::memory_order_relaxed);
    g_hasFrame.store(state.hasFrame, std::memory_order_relaxed);
}

void markFrame(int frame) {
    g_frame.store(frame, std::memory_order_relaxed);
    g_hasFrame.store(true, std::memory_order_relaxed);
}

}  // namespace

ModuleCallMark::ModuleCallMark(const char* what, MarkNesting nesting) : previous_(savedMarks()) {
    if (nesting == MarkNesting::OuterFirst && previous_.what != nullptr) return;
    // A call the host's own work makes keeps the work's frame.
    if (previous_.work == nullptr) g_hasFrame.store(false, std::memory_order_relaxed);
    g_work.store(nullptr, std::memory_order_relaxed);
    g_what.store(what, std::memory_order_relaxed);
}

ModuleCallMark::ModuleCallMark(const char* what, int frame, MarkNesting nesting) : ModuleCallMark(what, nesting) {
    if (g_what.load(std::memory_order_relaxed) == what) markFrame(frame);
}

ModuleCallMark::~ModuleCallMark() {
    restoreMarks(previous_);
    if (g_afterModuleCall != nullptr) g_afterModuleCall();
}

void checkAfterModuleCalls(void (*check)()) { g_afterModuleCall = check; }

HostWorkMark::HostWorkMark(const char* what) : previous_(savedMarks()) {
    g_what.store(nullptr, std::memory_order_relaxed);
    g_hasFrame.store(false, std::memory_order_relaxed);
    g_work.store(what, std::memory_order_relaxed);
}

HostWorkMark::HostWorkMark(const char* what, int frame) : HostWorkMark(what) { markFrame(frame); }

HostWorkMark::~HostWorkMark() { restoreMarks(previous_); }

HostServiceMark::HostServiceMark(const char* what) : previousWhat_(g_hostWhat.load(std::memory_order_relaxed)) {
    g_hostWhat.store(what, std::memory_order_relaxed);
}

HostServiceMark::~HostServiceMark() { g_hostWhat.store(previousWhat_, std::memory_order_relaxed); }

CrashReportLine::CrashReportLine() : text_{} { add(kPrefix); }

CrashReportLine& CrashReportLine::add(const char* text) {
    // One byte is kept for the line break that addWhere ends with.
    for (; text != nullptr && *text != '\0' && length_ + 2 < kCapacity; ++text) text_[length_++] = *text;
    return *this;
}

namespace {

// `value`'s digits in `base`, most significant first, into `digits`.
void digitsOf(unsigned long long value, unsigned base, char (&digits)[24]) {
    char reversed[24];
    size_t count = 0;
    do {
        reversed[count++] = "0123456789ABCDEF"[value % base];
        value /= base;
    } while (value != 0);
    for (size_t n = 0; n < count; ++n) digits[n] = reversed[count - 1 - n];
    digits[count] = '\0';
}

}  // namespace

CrashReportLine& CrashReportLine::addNumber(unsigned long long value) {
    char digits[24];
    digitsOf(value, kDecimal, digits);
    return add(digits);
}

CrashReportLine& CrashReportLine::addHex(unsigned long long value) {
    char digits[24];
    digitsOf(value, kHexadecimal, digits);
    return add("0x").add(digits);
}

CrashReportLine& CrashReportLine::addWhere() {
    const char* what = g_what.load(std::memory_order_relaxed);
    const char* work = g_work.load(std::memory_order_relaxed);
    if (const char* hostWhat = g_hostWhat.load(std::memory_order_relaxed)) {
        // The host's own fault, never the module's: the module's call is only where it came from.
        add(" in the simulated host's own ").add(hostWhat);
        if (what != nullptr) add(", which the module called in: ").add(what);
        return endLine();
    }
    if (what != nullptr)
        add(" in a call into the module: ").add(what);
    else if (work != nullptr)
        add(" in the simulated host's own work: ").add(work);
    else
        return add(" outside any call into the module").endLine();
    if (g_hasFrame.load(std::memory_order_relaxed)) {
        int frame = g_frame.load(std::memory_order_relaxed);
        add(" at frame ");
        if (frame < 0) add("-");
        addNumber(frame < 0 ? 0ull - static_cast<unsigned long long>(frame) : static_cast<unsigned long long>(frame));
    }
    return endLine();
}

CrashReportLine& CrashReportLine::endLine() {
    text_[length_++] = '\n';
    return *this;
}

CrashReportLine timeLimitLine(unsigned seconds) {
    CrashReportLine line;
    line.add("the run passed its time limit of ").addNumber(seconds).add(seconds == 1 ? " second" : " seconds");
    return line.addWhere();
}

bool inMarkedCall() {
    return g_what.load(std::memory_order_relaxed) != nullptr || g_work.load(std::memory_order_relaxed) != nullptr ||
           g_hostWhat.load(std::memory_order_relaxed) != nullptr;
}

CrashReportLine earlyEndLine(const int* status, const char* how) {
    CrashReportLine line;
    line.add("the module ended the process");
    if (status != nullptr) {
        line.add(" (exit status ");
        if (*status < 0) line.add("-");
        line.addNumber(*status < 0 ? 0ull - static_cast<unsigned long long>(*status)
                                   : static_cast<unsigned long long>(*status));
        line.add(")");
    } else if (how != nullptr) {
        line.add(" (").add(how).add(")");
    }
    return line.addWhere();
}

std::string whereNow() {
    CrashReportLine line;
    const size_t prefix = sizeof kPrefix - 1;
    line.addWhere();
    // Without the prefix and the line break.
    return std::string(line.text() + prefix, line.length() - prefix - 1);
}

}  // namespace sim
