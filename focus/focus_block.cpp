#include "focus/focus_block.h"

#include <cstring>

#include "focus/number_lines.h"
#include "persist/block_keywords.h"
#include "persist/line_writer.h"
#include "persist/reference_lines.h"
#include "persist/token.h"

namespace kelto {

const char kFocusBlockStart[] = "KELTO_FOCUS_START";
const char kFocusBlockVersion[] = "VERSION";
const char kFocusBlockMeasure[] = "MEASURE";
const char kFocusBlockSubjectOffset[] = "SUBJECT_OFFSET";
const char kFocusBlockFocusOffset[] = "FOCUS_OFFSET";
const char kFocusBlockLag[] = "LAG";
const char kFocusBlockEnd[] = "KELTO_FOCUS_END";

namespace {

bool readMeasure(const char* arguments, FocusSettings& settings) {
    int32_t measure = 0;
    return parseInteger(arguments, measure) && setMeasure(settings, measure);
}

bool readSubjectOffset(const char* arguments, FocusSettings& settings) {
    double offset[kAxisCount];
    return parseNumbers(arguments, offset, kAxisCount) && setSubjectOffset(settings, offset);
}

bool readFocusOffset(const char* arguments, FocusSettings& settings) {
    double offset = 0;
    return parseNumbers(arguments, &offset, 1) && setFocusOffset(settings, offset);
}

bool readLag(const char* arguments, FocusSettings& settings) {
    double lag = 0;
    return parseNumbers(arguments, &lag, 1) && setLag(settings, lag);
}

struct SettingLine {
    const char* keyword;
    bool (*read)(const char* arguments, FocusSettings& settings);
};

const SettingLine kSettingLines[] = {
    {kFocusBlockMeasure, readMeasure},
    {kFocusBlockSubjectOffset, readSubjectOffset},
    {kFocusBlockFocusOffset, readFocusOffset},
    {kFocusBlockLag, readLag},
};

// A line that fills the read buffer may have lost its end to the host's
// read (the rest of a longer line is dropped), and a number cut short still
// reads: such a line is refused whole.
bool mayBeCut(const char* line) { return std::strlen(line) >= static_cast<size_t>(kLineSize - 1); }

// A setting's line read into the settings; a line of no setting, or one that
// is refused, changes nothing.
void readSettingLine(const char* line, FocusSettings& settings) {
    for (const SettingLine& setting : kSettingLines)
        if (const char* arguments = argumentsAfter(setting.keyword, line)) {
            setting.read(arguments, settings);
            return;
        }
}

bool isLineOf(const char* keyword, const char* line) { return argumentsAfter(keyword, line) != nullptr; }

// A name keeps its blanks, but a carriage return at its end is what is left
// of a line break written on Windows, and no name the host saves ends so.
bool readFocusName(const host::LoadState& state, char (&name)[kNameSize]) {
    if (!readName(state, name)) return false;
    size_t length = std::strlen(name);
    while (length > 0 && name[length - 1] == '\r') name[--length] = '\0';
    return true;
}

// The blocks read: Kelto Focus's own, and Kelto's, whose references a scene
// moved from Kelto keeps, with every setting at its default.
struct BlockKind {
    const char* start;
    const char* end;
    bool hasSettings;
};

const BlockKind kBlockKinds[] = {
    {kFocusBlockStart, kFocusBlockEnd, true},
    {kBlockStart, kBlockEnd, false},
};

const BlockKind* blockStartedBy(const char* line) {
    for (const BlockKind& kind : kBlockKinds)
        if (isLineOf(kind.start, line)) return &kind;
    return nullptr;
}

}  // namespace

void saveFocusBlock(FocusInstance& instance, const host::SaveState& state) {
    const FocusSettings& settings = instance.settings;
    writeLine(state, kFocusBlockStart);
    writeIntegerLine(state, kFocusBlockVersion, kFocusBlockVersionNumber);
    saveReferenceLines(instance, state);
    writeIntegerLine(state, kFocusBlockMeasure, settings.measure);
    writeNumberLine(state, kFocusBlockSubjectOffset, settings.subjectOffset, kAxisCount);
    writeNumberLine(state, kFocusBlockFocusOffset, &settings.focusOffset, 1);
    writeNumberLine(state, kFocusBlockLag, &settings.lag, 1);
    writeLine(state, kFocusBlockEnd);
}

void loadFocusBlock(FocusInstance& instance, const host::LoadState& state) {
    char buffer[kLineSize];
    if (!readLine(state, buffer, kLineSize)) return;
    const BlockKind* kind = blockStartedBy(trimBlanks(buffer));
    if (kind == nullptr) return;
    FocusSettings settings = {};
    while (readLine(state, buffer, kLineSize)) {
        bool cut = mayBeCut(buffer);
        const char* line = trimBlanks(buffer);
        if (isLineOf(kind->end, line)) break;
        if (isLineOf(kBlockItem, line)) {
            if (!readFocusName(state, instance.itemName)) break;
        } else if (isLineOf(kBlockCamera, line)) {
            if (!readFocusName(state, instance.cameraName)) break;
        } else if (kind->hasSettings && !cut) {
            readSettingLine(line, settings);
        }
    }
    instance.settings = settings;
    unresolveReferences(instance);
}

}  // namespace kelto
