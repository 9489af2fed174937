// Text from scene files, modules and the command line made safe to show: on
// a terminal, where control bytes would move the cursor or recolour the
// screen, and in XML, which forbids them and requires valid UTF-8.
#pragma once

#include <string>

namespace sim {

// The text with every byte that is not part of a printable UTF-8 character
// written as "\xNN": control characters (line breaks included), invalid or
// overlong sequences, surrogates, and the non-characters U+FFFE and U+FFFF.
// The result is valid UTF-8 on one line.
std::string printableText(const std::string& text);

// The same, but line breaks are kept: for text that is made of lines.
std::string printableLines(const std::string& text);

// The text made printable and with & < > " ' written as XML entities, fit
// for an XML attribute or element.
std::string xmlText(const std::string& text);

}  // namespace sim
