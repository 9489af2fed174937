// How a check's own process hands its verdict back: on a channel of its
// own, a pipe its parent opened (a descriptor on POSIX, a handle on
// Windows), never the module's output, written once the check has returned.
// The verdict is one record:
//
//     KELTO-VERDICT TOKEN WORD LENGTH\n REASON
//
// TOKEN is made afresh for each check's process, WORD is PASS, FAIL or SKIP,
// and LENGTH counts the reason's bytes, given as they are. A record of
// another token, or bytes that are no record, are no verdict: what a module
// or a process it starts writes there by mistake is never taken for one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "simhost/validate/check_outcome.h"

namespace sim {

// The most of a reason a record carries: a longer one is cut there, on a
// character's boundary.
const size_t kMostReasonBytes = 16 * 1024;
// The most a parent keeps of what its check's channel held: a record whole,
// and one byte more to tell that something followed it.
const size_t kMostVerdictChannelBytes = kMostReasonBytes + 128;

struct VerdictChannel {
    uint64_t handle = 0;  // the descriptor or handle the record is written to
    std::string token;    // the run's own
};

// A token for one check's process: 32 hexadecimal digits from the system's
// random source, mixed with the clock.
std::string newVerdictToken();

// The record of `outcome` under `token`.
std::string verdictRecord(const std::string& token, const CheckOutcome& outcome);

// The outcome that `held`, all that a check's channel held, gives: true
// when it is one record of `token` and nothing else. Otherwise false, and
// `problem` says what it held ("" for nothing at all).
bool readVerdictRecord(const std::string& held, const std::string& token, CheckOutcome& outcome, std::string& problem);

// The channel as validate's --verdict-to names it to a process of this
// program started for one check: "HANDLE:TOKEN".
std::string verdictChannelArgument(const VerdictChannel& channel);
// The channel that argument names; false when it names none.
bool readVerdictChannelArgument(const std::string& argument, VerdictChannel& channel);

// Keeps the channel from any process the module starts: marked close-on-exec
// on POSIX, not inherited on Windows (check_process_*.cpp). A process forked
// from this one is a copy of it and keeps it all the same.
void keepFromChildProcesses(const VerdictChannel& channel);

// Writes the outcome's record to the channel, whole; "" or one line saying
// it could not, and why.
std::string writeVerdict(const VerdictChannel& channel, const CheckOutcome& outcome);
// Writes the bytes to the channel, whole; "" or the system's reason why not
// (check_process_*.cpp).
std::string writeToChannel(const VerdictChannel& channel, const std::string& bytes);

}  // namespace sim
