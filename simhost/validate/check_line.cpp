#include "simhost/validate/check_line.h"

#include <sstream>

#include "simhost/text/printable_text.h"

namespace sim {

namespace {

const char kGap[] = "  ";
const char kReasonMark[] = ": ";
// What the sanitizers' reports of a fault begin with.
const char* const kSanitizerHeadlines[] = {"ERROR: ", "runtime error: "};

}  // namespace

const char* verdictWord(Verdict verdict) {
    switch (verdict) {
        case Verdict::Pass: return "PASS";
        case Verdict::Fail: return "FAIL";
        case Verdict::Skip: return "SKIP";
    }
    return "";
}

std::string checkLine(const RegisteredCheck& check, const CheckOutcome& outcome) {
    std::string line = std::string(verdictWord(outcome.verdict)) + kGap + check.id + kGap + check.title;
    if (outcome.verdict != Verdict::Pass) line += kReasonMark + printableText(outcome.reason);
    return line;
}

std::string tellingLineOf(const std::string& output) {
    std::istringstream lines(output);
    std::string line, last;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        for (const char* headline : kSanitizerHeadlines)
            if (line.find(headline) != std::string::npos) return printableText(line);
        if (!line.empty()) last = line;
    }
    return printableText(last);
}

}  // namespace sim
