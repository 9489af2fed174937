// The modifiers the conformance check knows, and what its shared checks need
// of each: the servers' name, the block a pair of names is saved as, the
// panel's size and title, the least value set, the description of a new
// instance and what an empty line in the block does.
// Each is made from its facts (simhost/modifiers/), never from its code.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "simhost/services/channel_access_record.h"
#include "simhost/services/served_names.h"
#include "simhost/text/text_format.h"

namespace sim {

struct ValidatedModifier {
    const char* name;      // both its servers', "Kelto" or "Kelto Focus"
    const char* idPrefix;  // before each of its checks' IDs: "" or "focus/"
    // The block saved for references of these names and every other setting
    // at its default.
    std::vector<std::string> (*referenceBlock)(const std::string& item, const std::string& camera);
    // The same with every setting it has off its default.
    std::vector<std::string> (*settingsBlock)(const std::string& item, const std::string& camera);
    size_t blockLines;
    size_t itemNameLine, cameraNameLine;  // where the names stand in the block
    size_t panelControls;
    const char* panelTitle;
    // Why a description line is not one of an instance at its defaults, or "".
    std::string (*descriptionProblem)(const std::string& line);
    // The first of the host's rules, or the modifier's promises of the value
    // set, that an evaluation broke, or "".
    std::string (*evaluationProblem)(const ChannelAccessRecord& access);
    // The promise an evaluation broke by what it called (a channel read, a
    // channel's name), or "": the calls check's alone to hold.
    std::string (*channelPromise)(const ChannelAccessRecord& access);
    // The least value it sets: the host's distance is raised to it.
    double leastValue;
    // Whether an empty line inside its block ends the block (Kelto's), or is
    // skipped as a line of a later version (Kelto Focus's).
    bool emptyLineEndsBlock;
    // Lines of its block, whole, cut or spoilt, that random blocks are made of.
    std::vector<std::string> (*blockPieces)();
    // The services the handler's activation refuses to go without.
    std::vector<Service> handlerServices;

    // One of its servers as messages name it, e.g. ChannelHandler "Kelto".
    std::string serverText(const std::string& className) const { return sim::serverText(className, name); }
};

extern const ValidatedModifier kValidatedKelto;
extern const ValidatedModifier kValidatedKeltoFocus;

// Both, Kelto first.
extern const ValidatedModifier* const kValidatedModifiers[2];

}  // namespace sim
