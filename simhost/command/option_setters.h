// What each of kelto-host's options sets in the command's settings, as the
// option table (command_options.cpp) names them: "" or one line saying what
// is wrong with the value, the option named.
#pragma once

#include <string>

#include "simhost/command/command_settings.h"

namespace sim::option_setters {

template <bool RunSettings::*Field>
std::string runSwitch(const std::string&, const std::string&, CommandSettings& settings) {
    settings.run.*Field = true;
    return "";
}

template <bool ValidateSettings::*Field>
std::string validateSwitch(const std::string&, const std::string&, CommandSettings& settings) {
    settings.validate.*Field = true;
    return "";
}

template <std::string RunSettings::*Field>
std::string fileName(const std::string& option, const std::string& value, CommandSettings& settings) {
    if (value.empty()) return option + " needs a file name";
    settings.run.*Field = value;
    return "";
}

// A run's options.
std::string binarySave(const std::string& option, const std::string& value, CommandSettings& settings);
std::string channel(const std::string& option, const std::string& value, CommandSettings& settings);
std::string server(const std::string& option, const std::string& value, CommandSettings& settings);
std::string classVersion(const std::string& option, const std::string& value, CommandSettings& settings);
std::string hostKind(const std::string& option, const std::string& value, CommandSettings& settings);
std::string withheld(const std::string& option, const std::string& value, CommandSettings& settings);
std::string pick(const std::string& option, const std::string& value, CommandSettings& settings);
std::string numbers(const std::string& option, const std::string& value, CommandSettings& settings);
std::string compared(const std::string& option, const std::string& value, CommandSettings& settings);
std::string edit(const std::string& option, const std::string& value, CommandSettings& settings);
// Both commands': a run's limit, and each of validate's checks'.
std::string timeLimit(const std::string& option, const std::string& value, CommandSettings& settings);
// Validate's.
std::string seed(const std::string& option, const std::string& value, CommandSettings& settings);
std::string check(const std::string& option, const std::string& value, CommandSettings& settings);
std::string verdictTo(const std::string& option, const std::string& value, CommandSettings& settings);

}  // namespace sim::option_setters
