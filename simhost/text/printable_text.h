// Text from scene files, modules and the command line made safe to show: on
// a terminal, where control bytes would move the cursor or recolour the
// screen, and in XML, which forbids them and requires valid UTF-8.
#pragma once

#include <cstddef>
#include <string>

namespace sim {

// The most of a name or a value's text that is shown: a name the module can
// keep whole is shown whole.
const size_t kShownBytes = 255;
// The most shown of a line that several names make up.
const size_t kShownLineBytes = 16 * kShownBytes;

// The text with every byte that is not part of a printable UTF-8 character
// written as "\xNN": control characters (line breaks included), the
// bidirectional controls (U+061C, U+200E, U+200F, U+202A to U+202E, U+2066 to
// U+2069), invalid or overlong sequences, surrogates, and the non-characters
// U+FFFE and U+FFFF.
// The result is valid UTF-8 on one line.
std::string printableText(const std::string& text);

// The same, but line breaks are kept: for text that is made of lines.
std::string printableLines(const std::string& text);

// The length of the longest start of `text` of at most `most` bytes that
// ends on a UTF-8 character boundary; text that is no UTF-8 there (more
// continuation bytes than a character has) is cut at `most`.
size_t characterCut(const std::string& text, size_t most);

// A name or another text from the scene, the module or the command line, as
// one printable line (printableText) of bounded length: text longer than
// `most` bytes is shown as its first `most` bytes, cut before a character
// that would not fit whole, then "... (N bytes)".
std::string shownText(const std::string& text, size_t most = kShownBytes);

// The text made printable and with & < > " ' written as XML entities, fit
// for an XML attribute or element.
std::string xmlText(const std::string& text);

}  // namespace sim
