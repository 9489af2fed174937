#include "simhost/validate/validated_modifier.h"

#include <iterator>

#include "simhost/modifiers/kelto_facts.h"
#include "simhost/modifiers/kelto_focus_facts.h"
#include "simhost/validate/focus_samples.h"

namespace sim {

namespace {

namespace focus = kelto_focus_facts;

// Kelto sets a distance, never below 0.
const double kKeltoLeastValue = 0;

std::string keltoDescriptionProblem(const std::string& line) {
    return line == kelto_facts::kDescription ? "" : "not \"" + std::string(kelto_facts::kDescription) + "\"";
}

// "KELTO FOCUS", three blanks and the measure of a new instance, exactly.
std::string focusDescriptionProblem(const std::string& line) {
    const std::string described = focus::description(focus::kStraightLine);
    return line == described ? "" : "not \"" + described + "\"";
}

std::vector<std::string> keltoBlock(const std::string& item, const std::string& camera) {
    return kelto_facts::referenceBlock(item, camera);
}

std::vector<std::string> focusBlock(const std::string& item, const std::string& camera) {
    return focus::referenceBlock(item, camera);
}

std::vector<std::string> focusSettingsBlock(const std::string& item, const std::string& camera) {
    return focus::referenceBlock(item, camera, settingsOffTheirDefaults());
}

// Names of the check scene, junk and blanks beside the keywords.
std::vector<std::string> piecesAround(const char* start, const char* end, const char* item, const char* camera,
                                      const char* family) {
    return {start,    end,         item,
            camera,   "REFERENCE", family,
            "Ball",   "Ground",    "Tall Tree",
            "Camera", "Close-up",  kelto_facts::kNoneName,
            "",       " ",         std::string(item) + " extra",
            "\t",     "K"};
}

std::vector<std::string> keltoPieces() {
    return piecesAround(kelto_facts::kBlockStart, kelto_facts::kBlockEnd, kelto_facts::kItemKeyword,
                        kelto_facts::kCameraKeyword, "KELTO");
}

// Settings lines are left out: what a random block evaluates to is judged by
// its names alone. Versions and a keyword of a later version are in.
std::vector<std::string> focusPieces() {
    std::vector<std::string> pieces =
        piecesAround(focus::kBlockStart, focus::kBlockEnd, focus::kItemKeyword, focus::kCameraKeyword, "KELTO_FOCUS");
    for (std::string later : {std::string(focus::kVersionKeyword) + " 1", std::string(focus::kVersionKeyword) + " 7",
                              std::string("APERTURE 2.8"), std::string(focus::kBlockStart) + "X"})
        pieces.push_back(later);
    return pieces;
}

}  // namespace

const ValidatedModifier kValidatedKelto = {
    kelto_facts::kServerName,
    "",
    keltoBlock,
    keltoBlock,
    kelto_facts::kBlockLines,
    2,
    4,
    2,
    kelto_facts::kPanelTitle,
    keltoDescriptionProblem,
    kelto_facts::valueProblem,
    kelto_facts::brokenChannelPromise,
    kKeltoLeastValue,
    true,
    keltoPieces,
    {std::begin(kelto_facts::kHandlerServices), std::end(kelto_facts::kHandlerServices)},
};

const ValidatedModifier kValidatedKeltoFocus = {
    focus::kServerName,
    "focus/",
    focusBlock,
    focusSettingsBlock,
    focus::kBlockLines,
    focus::kItemNameLine,
    focus::kCameraNameLine,
    focus::kPanelControls,
    focus::kPanelTitle,
    focusDescriptionProblem,
    focus::valueProblem,
    focus::brokenChannelPromise,
    focus::kNearest,
    false,
    focusPieces,
    {std::begin(focus::kHandlerServices), std::end(focus::kHandlerServices)},
};

const ValidatedModifier* const kValidatedModifiers[2] = {&kValidatedKelto, &kValidatedKeltoFocus};

}  // namespace sim
