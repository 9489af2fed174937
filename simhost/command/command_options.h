// kelto-host's options, in one table for both its commands, a run and
// validate: an option both take has one name, one range and one help line,
// and each command names the options it takes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace sim {

// How long a check under validate may take unless --time-limit says.
const unsigned kDefaultTimeLimitSeconds = 20;

// What an option takes after its name.
enum class Arity {
    None,      // nothing: a switch
    Once,      // a value, and the option may be given once
    Repeated,  // a value each time it is given
};

struct CommandOption {
    const char* name;
    Arity arity;
    const char* value;  // the value's name in the help ("FILE"), "" for a switch
    std::string help;   // its lines in the help, one per "\n"; "" for an option not shown
};

// The options each command takes, in the order its help shows them.
extern const std::vector<std::string> kRunOptions;
extern const std::vector<std::string> kValidateOptions;  // with a module; --list goes alone

// The option of that name, or nullptr.
const CommandOption* findCommandOption(const std::string& name);

// The help of the named options, a line or more each, once each:
// "  --scene FILE         scene to run ...".
std::string optionsHelp(const std::vector<std::string>& names);

// The named options as a usage line shows them: "[--seed N] [--check ID]".
std::string optionsSynopsis(const std::vector<std::string>& names);

// What a command does with an option it takes, and with an argument that is
// no option: "" or one line saying what is wrong.
using OptionAction = std::function<std::string(const CommandOption& option, const std::string& value)>;
using OperandAction = std::function<std::string(const std::string& operand)>;

// Reads a command's arguments in order. Refuses an option the command does
// not take, one given again that may be given once, and one whose value is
// missing (an option in its place means it was left out). "" or one line
// saying what is wrong.
std::string readArguments(const std::vector<std::string>& arguments, const std::vector<std::string>& taken,
                          const OptionAction& onOption, const OperandAction& onOperand);

// The numbers options take, read alike for both commands: "" or one line
// saying what is wrong, the option named.
std::string readTimeLimit(const std::string& option, const std::string& value, unsigned& seconds);
std::string readSeed(const std::string& option, const std::string& value, uint32_t& seed);
std::string readClassVersion(const std::string& option, const std::string& value, int& version);

}  // namespace sim
