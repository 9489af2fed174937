// kelto-host's command line, read through the one option table
// (command_options.h): a run's arguments, or validate's after its word. Each
// refusal is one line.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "simhost/command/command_settings.h"

namespace sim {

// The help: both commands' usage and every option shown.
std::string commandHelp();

// A run's settings from its arguments, those after the program's name: ""
// or one line saying what is wrong. The module and the scene not given are
// left empty, for the program to say where its own lie.
std::string readRunCommand(const std::vector<std::string>& arguments, RunSettings& settings);

// Validate's settings from its arguments, those after "validate": "" or one
// line saying what is wrong. Without --seed, a random seed.
std::string readValidateCommand(const std::vector<std::string>& arguments, ValidateSettings& settings);

// The command "validate MODULE [--seed N] [--check ID] [--time-limit S]
// [--json] [--in-this-process]" or "validate --list", its arguments read and
// then run (conformance.h). 0 only when no check failed.
int runValidateCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace sim
