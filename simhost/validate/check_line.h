// A check's line in the conformance check's output:
//
//     PASS  classic/picks  random panel picks take effect, ...
//     FAIL  ID  TITLE: why it failed
//     SKIP  ID  TITLE: why it does not apply
#pragma once

#include <string>

#include "simhost/validate/check_outcome.h"
#include "simhost/validate/check_registry.h"

namespace sim {

// The word a check's line begins with: "PASS", "FAIL" or "SKIP".
const char* verdictWord(Verdict verdict);

// The check's line, without its line break; the reason is made printable,
// so the line is one line whatever the module put in it.
std::string checkLine(const RegisteredCheck& check, const CheckOutcome& outcome);

// What a process that gave no verdict said that tells most, made printable:
// a sanitizer's headline ("ERROR: ..." or "runtime error: ..."), else its
// last non-empty line.
std::string tellingLineOf(const std::string& output);

}  // namespace sim
