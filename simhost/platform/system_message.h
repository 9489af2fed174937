// The system's own words for an error, complete and on one line: Windows
// keeps "%1" in some of its messages for the file the call was about, and
// breaks long ones over lines; kelto-host reports every failure on one line.
#pragma once

#include <string>

namespace sim {

#if defined(_WIN32)
// The system's message for an error code, its "%1" filled with `subject`.
std::string systemMessage(unsigned long code, const std::string& subject);
#endif

}  // namespace sim
