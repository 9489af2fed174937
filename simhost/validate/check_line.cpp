#include "simhost/validate/check_line.h"

#include <sstream>

#include "simhost/text/printable_text.h"

namespace sim {

namespace {

const char kGap[] = "  ";
const char kReasonMark[] = ": ";
const Verdict kVerdicts[] = {Verdict::Pass, Verdict::Fail, Verdict::Skip};
// What the sanitizers' reports of a fault begin with.
const char* const kSanitizerHeadlines[] = {"ERROR: ", "runtime error: "};

std::string lineStart(Verdict verdict, const RegisteredCheck& check) {
    return std::string(verdictWord(verdict)) + kGap + check.id + kGap + check.title;
}

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
    std::string line = lineStart(outcome.verdict, check);
    if (outcome.verdict != Verdict::Pass) line += kReasonMark + printableText(outcome.reason);
    return line;
}

bool readCheckLine(const std::string& output, const RegisteredCheck& check, CheckOutcome& outcome) {
    std::istringstream lines(output);
    std::string line;
    bool found = false;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        for (Verdict verdict : kVerdicts) {
            std::string start = lineStart(verdict, check);
            size_t at = line.find(start);
            if (at == std::string::npos) continue;
            std::string rest = line.substr(at + start.size());
            if (verdict != Verdict::Pass && rest.compare(0, sizeof kReasonMark - 1, kReasonMark) != 0) continue;
            outcome.verdict = verdict;
            outcome.reason = verdict == Verdict::Pass ? "" : rest.substr(sizeof kReasonMark - 1);
            found = true;
        }
    }
    return found;
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
