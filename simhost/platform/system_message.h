// The system's own words for an error, complete: Windows keeps "%1" and like
// inserts in its messages for the caller to fill, and breaks long ones over
// lines; kelto-host reports every failure on one line.
#pragma once

#include <string>

namespace sim {

// `raw` as FormatMessage gives it with its inserts ignored, made one complete
// line: "%1" becomes `subject` (the file the call was about), other inserts
// go, "%%" "%." "%!" become their character, "%0" ends the text, and line
// breaks and runs of blanks become one blank.
std::string completedSystemMessage(const std::string& raw, const std::string& subject);

#if defined(_WIN32)
// The system's message for an error code, completed for `subject`.
std::string systemMessage(unsigned long code, const std::string& subject);
#endif

}  // namespace sim
