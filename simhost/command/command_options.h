// kelto-host's options, in one table for both its commands, a run and
// validate, read by one reader: each option's name, what it takes, its help,
// the commands that take it and what it sets. An option both take has one
// name, one range and one help line. The limits the help quotes come from
// small headers of the rooms they govern, and nothing else of those rooms.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "simhost/command/command_settings.h"

namespace sim {

// What an option takes after its name.
enum class Arity {
    None,      // nothing: a switch
    Once,      // a value, and the option may be given once
    Repeated,  // a value each time it is given
};

// The commands that take an option.
enum class TakenBy { Run, Validate, Both };

// Where an option is shown: in the help and validate's usage line, in the
// help alone (an option given alone, as --list), or nowhere (an option no
// user gives, or a second name).
enum class Shown { Always, HelpOnly, Never };

// Whether an option acts on a scene run, which --info makes none.
enum class Scope { Any, SceneRun };

// What an option sets: "" or one line saying what is wrong with `value`
// (empty for a switch).
typedef std::string (*ApplyOption)(const std::string& option, const std::string& value, CommandSettings& settings);

struct CommandOption {
    const char* name;
    Arity arity;
    const char* value;  // the value's name in the help ("FILE"), "" for a switch
    std::string help;   // its lines in the help, one per "\n"
    TakenBy takenBy;
    Shown shown;
    Scope scope;
    ApplyOption apply;
};

enum class Command { Run, Validate };

// The option of that name, or nullptr.
const CommandOption* findCommandOption(const std::string& name);

// The help of every option shown: a run's, then validate's own, a line or
// more each: "  --scene FILE         scene to run ...".
std::string optionsHelp();

// Validate's options as its usage line shows them: "[--seed N] [--check ID] ...".
std::string validateSynopsis();

// What a command does with an argument that is no option: "" or one line
// saying what is wrong.
using OperandAction = std::function<std::string(const std::string& operand)>;

// Reads a command's arguments in order into the settings. Refuses an option
// the command does not take, one given again that may be given once, and
// one whose value is missing (an option in its place means it was left
// out). "" or one line saying what is wrong.
std::string readArguments(Command command, const std::vector<std::string>& arguments, CommandSettings& settings,
                          const OperandAction& onOperand);

}  // namespace sim
