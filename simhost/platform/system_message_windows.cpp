#include <windows.h>

#include <algorithm>

#include "simhost/platform/system_message.h"

namespace sim {

namespace {

const DWORD kMessageBytes = 512;
const int kMostInserts = 99;  // a message's inserts run from %1 to %99

// Empty whether an insert is read as narrow or as wide text.
const wchar_t kNoInsert[1] = {};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::string systemMessage(unsigned long code, const std::string& subject) {
    // FormatMessage fills the inserts itself. Each one a message may hold has
    // an argument, so that none is read past the array: "%1" is the subject,
    // the others are left empty.
    DWORD_PTR inserts[kMostInserts];
    std::fill(inserts, inserts + kMostInserts, reinterpret_cast<DWORD_PTR>(kNoInsert));
    inserts[0] = reinterpret_cast<DWORD_PTR>(subject.c_str());
    char text[kMessageBytes] = {0};
    // With the width mask it breaks no line of its own; the message's own
    // breaks become blanks below.
    DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ARGUMENT_ARRAY | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                         nullptr, code, 0, text, sizeof text, reinterpret_cast<va_list*>(inserts));
    std::string message;
    for (DWORD n = 0; n < length; ++n) {
        if (!isBlank(text[n]))
            message += text[n];
        else if (!message.empty() && message.back() != ' ')
            message += ' ';
    }
    if (!message.empty() && message.back() == ' ') message.pop_back();
    return message.empty() ? "error " + std::to_string(code) : message;
}

}  // namespace sim
