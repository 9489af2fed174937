#include "simhost/platform/system_message.h"

#include <cctype>

namespace sim {

namespace {

const char kInsertMark = '%';
const char kFormatMark = '!';  // "%1!s!": a printf format after the insert
const int kMaxInsertDigits = 2;

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Each of these after '%' is a blank: new line, carriage return, tab, space.
bool isBlankEscape(char c) { return c == 'n' || c == 'r' || c == 't' || c == 'b'; }

// One blank for every run of blanks and line breaks; none at either end.
std::string oneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        bool blank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (!blank) line += c;
        else if (!line.empty() && line.back() != ' ') line += ' ';
    }
    if (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

}  // namespace

std::string completedSystemMessage(const std::string& raw, const std::string& subject) {
    std::string text;
    size_t at = 0;
    while (at < raw.size()) {
        char c = raw[at++];
        if (c != kInsertMark || at == raw.size()) {
            text += c;
            continue;
        }
        char escape = raw[at];
        if (escape == '0') break;
        if (isDigit(escape)) {
            size_t start = at;
            while (at < raw.size() && at - start < kMaxInsertDigits && isDigit(raw[at])) ++at;
            if (raw.compare(start, at - start, "1") == 0) text += subject;
            if (at < raw.size() && raw[at] == kFormatMark) {
                size_t end = raw.find(kFormatMark, at + 1);
                at = end == std::string::npos ? raw.size() : end + 1;
            }
        } else if (isBlankEscape(escape)) {
            text += ' ';
            ++at;
        } else if (escape == kInsertMark || escape == '.' || escape == kFormatMark) {
            text += escape;
            ++at;
        } else {
            text += c;
        }
    }
    return oneLine(text);
}

}  // namespace sim
