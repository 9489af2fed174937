#include <windows.h>

#include "simhost/platform/system_message.h"

namespace sim {

namespace {

const DWORD kMessageBytes = 512;

}  // namespace

std::string systemMessage(unsigned long code, const std::string& subject) {
    char text[kMessageBytes] = {0};
    // Inserts are ignored here, as no arguments are at hand, and filled after.
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                    sizeof text, nullptr);
    std::string message = completedSystemMessage(std::string(text, length), subject);
    return message.empty() ? "error " + std::to_string(code) : message;
}

}  // namespace sim
