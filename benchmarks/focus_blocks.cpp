#include "focus_blocks.h"

namespace bench {

namespace {

std::vector<std::string> focusBlock(const std::string& item, const std::string& camera, const char* measure,
                                    const char* subjectOffset, const char* lag) {
    return {"KELTO_FOCUS_START", "VERSION 1",       "REFERENCE_ITEM", item,
            "REFERENCE_CAMERA",  camera,            measure,          subjectOffset,
            "FOCUS_OFFSET 0",    lag,               "KELTO_FOCUS_END"};
}

}  // namespace

std::vector<std::string> focusStraightBlock(const std::string& item, const std::string& camera) {
    return focusBlock(item, camera, "MEASURE 0", "SUBJECT_OFFSET 0 0 0", "LAG 0");
}

std::vector<std::string> focusAlongViewBlock(const std::string& item, const std::string& camera) {
    return focusBlock(item, camera, "MEASURE 1", "SUBJECT_OFFSET 0.25 0.5 -0.25", "LAG 0");
}

std::vector<std::string> focusLagBlock(const std::string& item, const std::string& camera) {
    return focusBlock(item, camera, "MEASURE 0", "SUBJECT_OFFSET 0 0 0", "LAG 0.5");
}

}  // namespace bench
