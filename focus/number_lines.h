// Block lines that carry numbers after their keyword, "KEYWORD v1 v2 v3",
// written and read the same on every platform and in every locale: a decimal
// point is always '.', and a double is written with 17 significant digits, so
// that it reads back to the same bits.
#pragma once

#include <cstdint>

#include "host/scene_file_states.h"

namespace kelto {

// The most values one line carries.
const int kMostValuesPerLine = 3;

// Writes "KEYWORD v1 ... vN", one space before each value. Non-finite values
// are written too ("inf", "nan"), which the reader refuses.
void writeNumberLine(const host::SaveState& state, const char* keyword, const double* values, int count);

// Writes "KEYWORD n".
void writeIntegerLine(const host::SaveState& state, const char* keyword, int32_t value);

// Reads exactly `count` decimal numbers from `text`, separated by blanks
// (isBlank), with blanks allowed before and after and nothing else. On success every value is
// written; otherwise none is, and false is returned. "inf" and "nan" read as
// numbers: what they mean is the caller's to judge.
bool parseNumbers(const char* text, double* values, int count);

// Reads one decimal integer that fits in 32 bits, blanks allowed around it.
bool parseInteger(const char* text, int32_t& value);

}  // namespace kelto
