// Reading the instance's block back, line by line, and matching keywords.
#pragma once

#include "host/scene_file_states.h"

namespace kelto {

// Every line is read with this buffer size, terminating NUL included.
const int kLineSize = 256;

// The keyword of a line: its text up to the first space, or all of it.
struct Token {
    char text[kLineSize];
};

// Reads the next line into `buffer`, which is cleared first and always ends
// NUL-terminated inside `size`. False once the host reports the end of the data.
// In ASCII mode the host's read hands over a line; in binary mode it reads the
// bytes asked for and no more, so a line is read a byte at a time up to the
// NUL that save wrote after it, and what does not fit is read and dropped,
// as the ASCII read drops the rest of a long line.
bool readLine(const host::LoadState& state, char* buffer, int size);

// Reads the next line and keeps its keyword. False at the end of the data.
bool readToken(const host::LoadState& state, Token& token);

// A token matches a keyword when it is a prefix of it: the empty token matches
// every keyword, and a token longer than the keyword matches none.
bool keywordMatches(const char* keyword, const Token& token);

// The stricter reading: when the line's keyword (its text up to the first
// blank, or all of it) is exactly `keyword`, the text after that blank, or ""
// for a line of the keyword alone; null for any other line.
const char* argumentsAfter(const char* keyword, const char* line);

// A blank of the stricter reading: a space, a tab or a carriage return, which
// a hand edit or a file moved between systems leaves alike.
bool isBlank(char c);

// The line without its leading and trailing blanks: the trailing ones are cut
// in place, and the start of what is left is returned.
char* trimBlanks(char* line);

}  // namespace kelto
