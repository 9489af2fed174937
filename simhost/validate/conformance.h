// `kelto-host validate`: a conformance check for any module that claims to be
// the Kelto or the Kelto Focus channel modifier, in the manner of the plug-in
// validators of audio hosts; which one, its servers' name tells. Each check drives the module file through the
// simulated host as the host would, in a process of its own, and fails on any broken promise, a host check included.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "simhost/validate/validate_settings.h"

namespace sim {

// The command, its options read (command/command_line.h): validate MODULE
// runs the checks of the modifier the module serves: Kelto Focus's for one
// whose servers bear that name alone, else Kelto's; with --check, that check
// alone, refused when it is a check of the modifier the module does not
// serve. Prints a line per check, e.g. "PASS  classic/picks  random panel
// picks ...", "FAIL  ID  TITLE: why" or "SKIP  ID  TITLE: why it does not
// apply", each as soon as it is known, and a closing "N passed, N failed, N
// skipped" line; with --json one JSON document of the same instead
// (validate_report.h). Returns 0 only when no check failed. --list prints
// each check's ID and title, both modifiers'. A check's own process on
// Windows is this command with --verdict-to (check_process.h). A refusal is
// one line on `err`.
int runValidation(const ValidateSettings& settings, std::ostream& out, std::ostream& err);

// What is wrong with the settings taken together beyond what each option
// says alone: a check ID no check has, or --verdict-to outside a check's own
// process; "" when nothing is.
std::string validateSettingsProblem(const ValidateSettings& settings);

}  // namespace sim
