#include "simhost/validate/verdict_channel.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <random>

#include "simhost/text/printable_text.h"
#include "simhost/validate/check_line.h"

namespace sim {

namespace {

const char kRecordMark[] = "KELTO-VERDICT ";
const char kFieldGap = ' ';
const char kHeaderEnd = '\n';
const char kArgumentGap = ':';
const int kTokenWords = 4;  // of 32 bits each
const Verdict kVerdicts[] = {Verdict::Pass, Verdict::Fail, Verdict::Skip};

// `text` as a whole number and nothing else.
bool readNumber(const std::string& text, uint64_t& number) {
    const char* end = text.data() + text.size();
    auto read = std::from_chars(text.data(), end, number);
    return !text.empty() && read.ec == std::errc() && read.ptr == end;
}

// The record's header read into `outcome` and the reason's length; the
// header is "WORD LENGTH" after the mark and the token.
bool readHeader(const std::string& header, CheckOutcome& outcome, uint64_t& length) {
    size_t gap = header.find(kFieldGap);
    if (gap == std::string::npos || !readNumber(header.substr(gap + 1), length) || length > kMostReasonBytes)
        return false;
    for (Verdict verdict : kVerdicts)
        if (header.compare(0, gap, verdictWord(verdict)) == 0) {
            outcome.verdict = verdict;
            return true;
        }
    return false;
}

}  // namespace

std::string newVerdictToken() {
    std::random_device source;
    uint64_t clock = uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
    std::string token;
    for (int word = 0; word < kTokenWords; ++word) {
        uint32_t bits = source() ^ uint32_t(clock >> (word % 2 * 32));
        char digits[9];
        std::snprintf(digits, sizeof digits, "%08x", unsigned(bits));
        token += digits;
    }
    return token;
}

std::string verdictRecord(const std::string& token, const CheckOutcome& outcome) {
    std::string reason = outcome.reason.substr(0, characterCut(outcome.reason, kMostReasonBytes));
    return kRecordMark + token + kFieldGap + verdictWord(outcome.verdict) + kFieldGap + std::to_string(reason.size()) +
           kHeaderEnd + reason;
}

bool readVerdictRecord(const std::string& held, const std::string& token, CheckOutcome& outcome, std::string& problem) {
    problem = held.empty()
                  ? ""
                  : "its verdict channel held " + std::to_string(held.size()) + " bytes that are not its verdict";
    const std::string start = kRecordMark + token + kFieldGap;
    size_t headerEnd = held.find(kHeaderEnd);
    if (token.empty() || held.compare(0, start.size(), start) != 0 || headerEnd == std::string::npos) return false;
    CheckOutcome read;
    uint64_t length = 0;
    if (!readHeader(held.substr(start.size(), headerEnd - start.size()), read, length) ||
        held.size() != headerEnd + 1 + length)
        return false;
    read.reason = held.substr(headerEnd + 1);
    outcome = read;
    problem.clear();
    return true;
}

std::string writeVerdict(const VerdictChannel& channel, const CheckOutcome& outcome) {
    std::string why = writeToChannel(channel, verdictRecord(channel.token, outcome));
    return why.empty() ? "" : "the verdict could not be written: " + why;
}

std::string verdictChannelArgument(const VerdictChannel& channel) {
    return std::to_string(channel.handle) + kArgumentGap + channel.token;
}

bool readVerdictChannelArgument(const std::string& argument, VerdictChannel& channel) {
    size_t gap = argument.find(kArgumentGap);
    if (gap == std::string::npos || gap + 1 == argument.size()) return false;
    if (!readNumber(argument.substr(0, gap), channel.handle)) return false;
    channel.token = argument.substr(gap + 1);
    return channel.token.find_first_not_of("0123456789abcdef") == std::string::npos;
}

}  // namespace sim
