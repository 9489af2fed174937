#include "simhost/command/option_setters.h"

#include "simhost/command/option_numbers.h"
#include "simhost/run/plot_series_limit.h"
#include "simhost/scene/scene_edit_text.h"
#include "simhost/services/served_names.h"

namespace sim::option_setters {

namespace {

const char kHostClassic[] = "classic";
const char kHostCurrent[] = "current";

// A pick of a popup entry, or numbers entered in a field.
std::string addPick(const std::string& option, const std::string& value, bool numbers, RunSettings& run) {
    size_t equals = value.find('=');
    if (equals == std::string::npos || equals == 0)
        return option + (numbers ? " takes LABEL=NUMBERS with a label" : " takes LABEL=ENTRY with a label");
    run.run.picks.push_back({value.substr(0, equals), value.substr(equals + 1), numbers});
    return "";
}

}  // namespace

std::string binarySave(const std::string&, const std::string&, CommandSettings& settings) {
    settings.run.run.binarySave = true;
    return "";
}

std::string channel(const std::string& option, const std::string& value, CommandSettings& settings) {
    if (value.empty()) return option + " needs ITEM.CHANNEL";
    settings.run.channel = value;
    return "";
}

std::string server(const std::string& option, const std::string& value, CommandSettings& settings) {
    if (value.empty()) return option + " needs a server name";
    settings.run.run.serverName = value;
    return "";
}

std::string classVersion(const std::string& option, const std::string& value, CommandSettings& settings) {
    return readClassVersion(option, value, settings.run.run.forcedVersion);
}

std::string hostKind(const std::string& option, const std::string& value, CommandSettings& settings) {
    if (value == kHostClassic)
        settings.run.run.host = HostKind::Classic;
    else if (value == kHostCurrent)
        settings.run.run.host = HostKind::Current;
    else
        return option + " takes " + kHostClassic + " or " + kHostCurrent;
    return "";
}

// A name no host serves would be withheld from no one: taken, it would
// change nothing and say so nowhere.
std::string withheld(const std::string& option, const std::string& value, CommandSettings& settings) {
    if (value.empty()) return option + " needs a service name";
    bool served = false;
    for (const ServedName& name : kServedNames) served = served || value == name.name;
    if (!served) return option + " \"" + value + "\": no host serves a service of that name";
    settings.run.run.withheldServices.push_back(value);
    return "";
}

std::string pick(const std::string& option, const std::string& value, CommandSettings& settings) {
    return addPick(option, value, false, settings.run);
}

std::string numbers(const std::string& option, const std::string& value, CommandSettings& settings) {
    return addPick(option, value, true, settings.run);
}

std::string compared(const std::string& option, const std::string& value, CommandSettings& settings) {
    size_t equals = value.find('=');
    if (equals == std::string::npos || equals == 0) return option + " takes LABEL=ENTRY with a label";
    if (settings.run.compared.size() == kMostPlotSeries)
        return option + " may be given at most " + std::to_string(kMostPlotSeries) + " times";
    settings.run.compared.push_back({value.substr(0, equals), value.substr(equals + 1)});
    return "";
}

std::string edit(const std::string& option, const std::string& value, CommandSettings& settings) {
    SceneEdit edit;
    std::string problem;
    if (!parseSceneEdit(value, edit, problem)) return option + ": " + problem;
    settings.run.run.edits.push_back(edit);
    return "";
}

std::string timeLimit(const std::string& option, const std::string& value, CommandSettings& settings) {
    std::string problem = readTimeLimit(option, value, settings.run.timeLimitSeconds);
    settings.validate.timeLimit = settings.run.timeLimitSeconds;
    return problem;
}

std::string seed(const std::string& option, const std::string& value, CommandSettings& settings) {
    settings.validate.seedGiven = true;
    return readSeed(option, value, settings.validate.seed);
}

std::string check(const std::string&, const std::string& value, CommandSettings& settings) {
    settings.validate.checkGiven = true;
    settings.validate.checkId = value;
    return "";
}

std::string verdictTo(const std::string& option, const std::string& value, CommandSettings& settings) {
    settings.validate.verdictGiven = true;
    if (!readVerdictChannelArgument(value, settings.validate.verdictChannel))
        return option + " takes HANDLE:TOKEN, as a check's own process is given it";
    return "";
}

}  // namespace sim::option_setters
