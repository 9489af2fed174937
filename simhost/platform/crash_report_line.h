// The line that crash_report.h describes, formed as a signal handler or an
// exception filter must form it: in a buffer of fixed size, with no
// allocation and no locks, ending with the mark of the call in progress.
#pragma once

#include <cstddef>

namespace sim {

class CrashReportLine {
public:
    CrashReportLine();  // "kelto-host: "

    // Text past the buffer's end is dropped.
    CrashReportLine& add(const char* text);
    CrashReportLine& addNumber(unsigned long long value);
    CrashReportLine& addHex(unsigned long long value);  // "0x" and upper-case digits
    // Where it happened, and the line break: " in a call into the module:
    // WHAT", with " at frame N" for an evaluation, " in the simulated
    // host's own WHAT, which the module called in: CALL" inside a
    // HostServiceMark, " in the simulated host's own work: WORK" inside a
    // HostWorkMark, or " outside any call into the module".
    CrashReportLine& addWhere();

    const char* text() const { return text_; }
    size_t length() const { return length_; }

private:
    CrashReportLine& endLine();

    static const size_t kCapacity = 512;
    char text_[kCapacity];
    size_t length_ = 0;
};

// Whether a call into the module, a function of the host's it called, or the
// host's own work is marked now.
bool inMarkedCall();

// The whole line of a run that passed its time limit of `seconds`.
CrashReportLine timeLimitLine(unsigned seconds);

// The whole line of a process the module ended before the run did: with
// its exit status where it is known (`status` not null), or how it ended
// ("quick_exit") where that is known instead.
CrashReportLine earlyEndLine(const int* status, const char* how = nullptr);

}  // namespace sim
