#include "focus_blocks.h"

#include "simhost/modifiers/kelto_focus_facts.h"

namespace bench {

namespace {

namespace facts = sim::kelto_focus_facts;

std::string line(const char* keyword, const char* values) { return std::string(keyword) + " " + values; }

std::vector<std::string> focusBlock(const std::string& item, const std::string& camera, const char* measure,
                                    const char* subjectOffset, const char* lag) {
    return {facts::kBlockStart,
            line(facts::kVersionKeyword, "1"),
            facts::kItemKeyword,
            item,
            facts::kCameraKeyword,
            camera,
            line(facts::kMeasureKeyword, measure),
            line(facts::kSubjectOffsetKeyword, subjectOffset),
            line(facts::kFocusOffsetKeyword, "0"),
            line(facts::kLagKeyword, lag),
            facts::kBlockEnd};
}

}  // namespace

std::vector<std::string> focusStraightBlock(const std::string& item, const std::string& camera) {
    return focusBlock(item, camera, "0", "0 0 0", "0");
}

std::vector<std::string> focusAlongViewBlock(const std::string& item, const std::string& camera) {
    return focusBlock(item, camera, "1", "0.25 0.5 -0.25", "0");
}

std::vector<std::string> focusLagBlock(const std::string& item, const std::string& camera) {
    return focusBlock(item, camera, "0", "0 0 0", "0.5");
}

}  // namespace bench
