// kelto-host validate run as the tests run it, in this process: its human
// text, and its --json document read back.
#pragma once

#include <map>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "simhost/command/command_line.h"
#include "simhost/validate/check_registry.h"
#include "simhost/validate/validated_modifier.h"
#include "tests/e2e/json_reader.h"

namespace e2e {

inline std::string validate(const std::vector<std::string>& arguments, int& exitCode) {
    std::ostringstream out, err;
    exitCode = sim::runValidateCommand(arguments, out, err);
    return out.str() + err.str();
}

inline std::string faultModule(const std::string& name) {
    return std::string(KELTO_FAULT_MODULES_DIR) + "/" + name + ".p";
}

// One check's entry in validate's JSON document.
struct CheckVerdict {
    std::string verdict;  // "pass", "fail" or "skip"
    std::string title;
    std::string reason;
    double seed = -1;
};

// validate --json's document read back: each check by its ID, and whether
// the document is whole and its totals count the checks in it.
struct Verdicts {
    std::string problem;  // why the document did not read, or ""
    std::string module, modifier;
    double seed = -1;
    std::map<std::string, CheckVerdict> checks;
    size_t entries = 0;  // IDs given twice would be fewer checks
    bool totalsAddUp = false;

    std::set<std::string> withVerdict(const std::string& verdict) const {
        std::set<std::string> ids;
        for (const auto& check : checks)
            if (check.second.verdict == verdict) ids.insert(check.first);
        return ids;
    }
    // Whether it holds every check of the modifier, each once.
    bool coversEvery(const sim::ValidatedModifier& heldTo) const {
        return entries == checks.size() && checks.size() == sim::checksOf(heldTo).size();
    }
};

inline Verdicts readVerdicts(const std::string& document) {
    Verdicts read;
    json::Value root;
    if (!json::read(document, root, read.problem)) return read;
    read.module = root["module"].text;
    read.modifier = root["modifier"].text;
    read.seed = root["seed"].number;
    for (const json::Value& check : root["checks"].items) {
        read.checks[check["id"].text] = {check["verdict"].text, check["title"].text, check["reason"].text,
                                         check["seed"].number};
        ++read.entries;
    }
    const json::Value& summary = root["summary"];
    read.totalsAddUp = summary["passed"].number == read.withVerdict("pass").size() &&
                       summary["failed"].number == read.withVerdict("fail").size() &&
                       summary["skipped"].number == read.withVerdict("skip").size() && read.entries > 0;
    return read;
}

// Runs validate with --json: its standard output must be the document alone.
inline Verdicts validateJson(std::vector<std::string> arguments, int& exitCode) {
    arguments.push_back("--json");
    std::ostringstream out, err;
    exitCode = sim::runValidateCommand(arguments, out, err);
    Verdicts verdicts = readVerdicts(out.str());
    if (!verdicts.problem.empty()) verdicts.problem += " in:\n" + out.str() + err.str();
    return verdicts;
}

inline std::ostream& operator<<(std::ostream& out, const Verdicts& verdicts) {
    if (!verdicts.problem.empty()) return out << verdicts.problem;
    for (const auto& check : verdicts.checks)
        out << check.second.verdict << "  " << check.first << ": " << check.second.reason << "\n";
    return out;
}

}  // namespace e2e
