// Faults of Kelto Focus's own promises: its value, its lag, its block and
// its description line. Built with FAULTY_KELTO_FOCUS, around Kelto Focus.
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>

#include "channel/held_services.h"
#include "faulty_kelto.h"
#include "focus/focus_instance.h"
#include "focus/focus_value.h"
#include "host/item_info.h"
#include "host/scene_file_states.h"
#include "module/instance_handle.h"

namespace {

using fault::Entries;

[[maybe_unused]] kelto::FocusSettings& settingsOf(host::InstanceHandle instance) {
    return kelto::instanceAs<kelto::FocusInstance>(instance)->settings;
}

#if defined(FAULT_FOCUS_ONE_STEP_OFF) || defined(FAULT_FOCUS_LAG_KEEPS_STATE)
// The value the modifier sets is changed on its way to the host.
host::InstanceHandle g_evaluated = nullptr;
void(HOST_CALL* g_setClassic)(host::ChannelId, double) = nullptr;
void(HOST_CALL* g_setCurrent)(void*, host::ChannelId, double) = nullptr;

#if defined(FAULT_FOCUS_ONE_STEP_OFF)
// One step of a double above the value: close, but not Kelto's bits.
double changed(double value) { return std::nextafter(value, HUGE_VAL); }
#else
// Smoothed towards the value set before, as a damping that keeps state from
// one evaluation to the next: the value depends on the order of evaluation.
const double kDamping = 0.5;
double g_last = NAN;

double changed(double value) {
    if (!(settingsOf(g_evaluated).lag > 0)) return value;
    g_last = std::isnan(g_last) ? value : g_last + (value - g_last) * kDamping;
    return g_last;
}
#endif

void HOST_CALL setChangedClassic(host::ChannelId channel, double value) { g_setClassic(channel, changed(value)); }
void HOST_CALL setChangedCurrent(void* hostData, host::ChannelId channel, double value) {
    g_setCurrent(hostData, channel, changed(value));
}

template <typename Access>
void HOST_CALL evaluateChanged(host::InstanceHandle instance, const Access* access) {
    Access changing = *access;
    g_evaluated = instance;
    if constexpr (std::is_same_v<Access, host::ChannelAccess>) {
        g_setClassic = access->setChannel;
        changing.setChannel = setChangedClassic;
    } else {
        g_setCurrent = access->setChannel;
        changing.setChannel = setChangedCurrent;
    }
    fault::ModifierEvaluate<Access>::function(instance, &changing);
}

void change(int version, void* record) {
    fault::wrapEvaluate<nullptr, nullptr>(version, record);
    if (version == host::kCurrentClassVersion)
        fault::currentRecord(record).evaluate = evaluateChanged<host::ChannelAccessCurrent>;
    else
        fault::handlerRecord(record).evaluate = evaluateChanged<host::ChannelAccess>;
}

#elif defined(FAULT_FOCUS_ALONG_VIEW_AS_STRAIGHT) || defined(FAULT_FOCUS_OFFSET_IGNORED) || \
    defined(FAULT_FOCUS_FOCUS_OFFSET_REVERSED)
// A setting is set aside for the evaluation and put back after it.
kelto::FocusSettings g_kept;

void setAside(host::InstanceHandle instance) {
    kelto::FocusSettings& settings = settingsOf(instance);
    g_kept = settings;
#if defined(FAULT_FOCUS_ALONG_VIEW_AS_STRAIGHT)
    settings.measure = 0;  // the measure along the view is taken as the straight line
#elif defined(FAULT_FOCUS_FOCUS_OFFSET_REVERSED)
    settings.focusOffset = -settings.focusOffset;  // a positive offset focuses before the subject
#else
    for (double& offset : settings.subjectOffset) offset = 0;  // the subject's own point is left out
#endif
}

void putBack(host::InstanceHandle instance) { settingsOf(instance) = g_kept; }

void change(int version, void* record) { fault::wrapEvaluate<setAside, putBack>(version, record); }

#elif defined(FAULT_FOCUS_SAVES_SIX_DIGITS)
// The focus offset is saved with six significant digits: it no longer reads
// back to what was loaded.
const char kFocusOffsetLine[] = "FOCUS_OFFSET ";
const int kDigits = 6;
const host::SaveState* g_save = nullptr;
const char*(HOST_CALL* g_saveOperation)(host::InstanceHandle, const host::SaveState*) = nullptr;

void HOST_CALL writeRounded(void* writeData, const char* bytes, int length) {
    const size_t keyword = sizeof kFocusOffsetLine - 1;
    if (length <= 0 || std::strncmp(bytes, kFocusOffsetLine, keyword) != 0)
        return g_save->write(writeData, bytes, length);
    char line[64];
    std::snprintf(line, sizeof line, "%s%.*g", kFocusOffsetLine, kDigits, std::strtod(bytes + keyword, nullptr));
    g_save->write(writeData, line, int(std::strlen(line)) + 1);
}

const char* HOST_CALL saveRounded(host::InstanceHandle instance, const host::SaveState* state) {
    host::SaveState rounding = *state;
    rounding.write = writeRounded;
    g_save = state;
    return g_saveOperation(instance, &rounding);
}

void change(int, void* record) {
    g_saveOperation = fault::handlerRecord(record).instance->save;
    fault::handlerRecord(record).instance->save = saveRounded;
}

#elif defined(FAULT_FOCUS_STOPS_AT_UNKNOWN_LINES) || defined(FAULT_FOCUS_NEGATIVE_LAG_READ) || \
    defined(FAULT_FOCUS_LONG_LINE_READ) || defined(FAULT_FOCUS_NAMES_TRIMMED) ||               \
    defined(FAULT_FOCUS_IGNORES_KELTO_BLOCK) || defined(FAULT_FOCUS_TABS_NOT_BLANKS)
// The lines load reads are changed on their way to the modifier.
const host::LoadState* g_load = nullptr;
const char*(HOST_CALL* g_loadOperation)(host::InstanceHandle, const host::LoadState*) = nullptr;

#if defined(FAULT_FOCUS_STOPS_AT_UNKNOWN_LINES)
// The block ends at the first line of a keyword this version does not know:
// the settings after it are never read.
const char* const kKnown[] = {"KELTO_FOCUS_START", "VERSION",        "REFERENCE_ITEM", "REFERENCE_CAMERA",
                              "MEASURE",           "SUBJECT_OFFSET", "FOCUS_OFFSET",   "LAG",
                              "KELTO_FOCUS_END",   "KELTO_START",    "KELTO_END"};
bool g_nameNext = false, g_ended = false;

// A line's keyword, between the blanks the modifier reads alike.
std::string keywordOf(const char* line) {
    const char* const kBlanks = " \t\r";
    line += std::strspn(line, kBlanks);
    return std::string(line, std::strcspn(line, kBlanks));
}

// An empty line is no keyword at all.
bool known(const std::string& keyword) {
    if (keyword.empty()) return true;
    for (const char* word : kKnown)
        if (keyword == word) return true;
    return false;
}

int readChanged(char* buffer, int read) {
    bool name = g_nameNext;
    const std::string keyword = read >= 0 ? keywordOf(buffer) : "";
    g_nameNext = keyword == "REFERENCE_ITEM" || keyword == "REFERENCE_CAMERA";
    if (read >= 0 && !name && !known(keyword)) g_ended = true;
    return g_ended ? host::kReadEndOfData : read;
}

void startBlock() { g_nameNext = g_ended = false; }
#elif defined(FAULT_FOCUS_NEGATIVE_LAG_READ)
// A negative lag is read as its size.
const char kNegativeLag[] = "LAG -";

int readChanged(char* buffer, int read) {
    const size_t start = sizeof kNegativeLag - 1;
    if (read < 0 || std::strncmp(buffer, kNegativeLag, start) != 0) return read;
    std::memmove(buffer + start - 1, buffer + start, std::strlen(buffer + start) + 1);
    return read - 1;
}

void startBlock() {}
#elif defined(FAULT_FOCUS_LONG_LINE_READ)
// A setting's line of 255 bytes or more, which the host may have cut, is
// read as its value: its numbers are written again short.
const size_t kMayBeCut = 255;

int readChanged(char* buffer, int read) {
    if (read < 0 || std::strlen(buffer) < kMayBeCut) return read;
    char* end = std::strchr(buffer, ' ');
    if (end == nullptr) return read;
    std::string line(buffer, size_t(end - buffer));
    for (char* next = end; *next != '\0'; next = end) {
        double number = std::strtod(next, &end);
        if (end == next) return read;
        char text[32];
        std::snprintf(text, sizeof text, " %.17g", number);
        line += text;
    }
    const int shorter = int(std::strlen(buffer) - line.size());
    std::memcpy(buffer, line.c_str(), line.size() + 1);
    return read - shorter;
}

void startBlock() {}
#elif defined(FAULT_FOCUS_IGNORES_KELTO_BLOCK)
// Kelto's block is not read: a scene moved from Kelto loses its references.
bool g_firstLine = true;

int readChanged(char* buffer, int read) {
    bool first = g_firstLine;
    g_firstLine = false;
    return first && read >= 0 && std::strcmp(buffer, "KELTO_START") == 0 ? host::kReadEndOfData : read;
}

void startBlock() { g_firstLine = true; }
#elif defined(FAULT_FOCUS_TABS_NOT_BLANKS)
// A tab in a keyword's line is taken for a letter, not a blank: the line no
// longer reads. Name lines are read as they are.
bool g_nameNext = false;

int readChanged(char* buffer, int read) {
    bool name = g_nameNext;
    g_nameNext =
        read >= 0 && (std::strcmp(buffer, "REFERENCE_ITEM") == 0 || std::strcmp(buffer, "REFERENCE_CAMERA") == 0);
    if (read < 0 || name) return read;
    for (char* at = buffer; *at != '\0'; ++at)
        if (*at == '\t') *at = '_';
    return read;
}

void startBlock() { g_nameNext = false; }
#else
// A name's trailing blanks are left out of the name looked up.
bool g_nameNext = false;

int readChanged(char* buffer, int read) {
    bool name = g_nameNext;
    g_nameNext =
        read >= 0 && (std::strcmp(buffer, "REFERENCE_ITEM") == 0 || std::strcmp(buffer, "REFERENCE_CAMERA") == 0);
    if (read < 0 || !name) return read;
    const size_t whole = std::strlen(buffer);
    size_t length = whole;
    while (length > 0 && (buffer[length - 1] == ' ' || buffer[length - 1] == '\t')) buffer[--length] = '\0';
    return read - int(whole - length);
}

void startBlock() { g_nameNext = false; }
#endif

int HOST_CALL readChanging(void* readData, char* buffer, int maxLength) {
    int read = g_load->read(readData, buffer, maxLength);
    return readChanged(buffer, read);
}

const char* HOST_CALL loadChanged(host::InstanceHandle instance, const host::LoadState* state) {
    if (state == nullptr) return g_loadOperation(instance, state);
    host::LoadState changing = *state;
    changing.read = readChanging;
    g_load = state;
    startBlock();
    return g_loadOperation(instance, &changing);
}

void change(int, void* record) {
    g_loadOperation = fault::handlerRecord(record).instance->load;
    fault::handlerRecord(record).instance->load = loadChanged;
}

#elif defined(FAULT_FOCUS_DESCRIPTION_FIXED)
// The description names the straight line whatever the measure.
const char* HOST_CALL describeFixed(host::InstanceHandle) { return "KELTO FOCUS   Straight line"; }

void change(int, void* record) { fault::handlerRecord(record).instance->describe = describeFixed; }

#elif defined(FAULT_FOCUS_DESCRIPTION_ONE_BLANK)
// The description names the measure in force after one blank, not three.
const char* const kOneBlank[] = {"KELTO FOCUS Straight line", "KELTO FOCUS Along view"};

const char* HOST_CALL describeOneBlank(host::InstanceHandle instance) {
    return kOneBlank[settingsOf(instance).measure == kelto::kMeasureAlongView ? 1 : 0];
}

void change(int, void* record) { fault::handlerRecord(record).instance->describe = describeOneBlank; }

#elif defined(FAULT_FOCUS_FLOOR_PER_SAMPLE) || defined(FAULT_FOCUS_SETS_INFINITY) || \
    defined(FAULT_FOCUS_FORWARD_NOT_RESCALED)
// The value is worked out again around the modifier's own, wrongly, and set
// in its place.
using kelto::FocusInstance;

#if defined(FAULT_FOCUS_FLOOR_PER_SAMPLE)
// The near limit holds for each of the lag's samples, not for their mean.
bool faultyValue(FocusInstance& instance, double time, double& value) {
    kelto::FocusSettings& settings = instance.settings;
    if (!(settings.lag > 0)) return kelto::evaluateFocus(instance, time, value);
    const double lag = settings.lag, step = lag / kelto::kLagSteps;
    settings.lag = 0;
    double samples[kelto::kLagSteps + 1];
    bool valued = true;
    for (int k = 0; k <= kelto::kLagSteps && valued; ++k)
        valued = kelto::evaluateFocus(instance, time - (kelto::kLagSteps - k) * step, samples[k]);
    settings.lag = lag;
    if (!valued) return false;
    double sum = (samples[0] + samples[kelto::kLagSteps]) / 2;
    for (int k = 1; k < kelto::kLagSteps; ++k) sum += samples[k];
    value = sum / kelto::kLagSteps;
    return true;
}
#elif defined(FAULT_FOCUS_SETS_INFINITY)
// Where the modifier keeps the channel with both references found, its
// distance overflowed: infinity is set.
bool faultyValue(FocusInstance& instance, double time, double& value) {
    if (kelto::evaluateFocus(instance, time, value)) return true;
    value = HUGE_VAL;
    return instance.itemId != nullptr && instance.cameraId != nullptr;
}
#else
// The camera's forward is never rescaled: one whose squared length falls
// below the normal numbers counts as of no length, so the measure along the
// view falls back to the straight line.
bool faultyValue(FocusInstance& instance, double time, double& value) {
    kelto::FocusSettings& settings = instance.settings;
    const host::ItemInfoService* info = kelto::heldHostServices().itemInfo;
    kelto::resolveReferences(instance);
    if (settings.measure != kelto::kMeasureAlongView || instance.cameraId == nullptr || info == nullptr)
        return kelto::evaluateFocus(instance, time, value);
    double forward[3] = {0, 0, 0};
    info->param(instance.cameraId, host::kItemParamForward, time, forward);
    double squared = (forward[0] * forward[0] + forward[1] * forward[1]) + forward[2] * forward[2];
    if (squared >= DBL_MIN) return kelto::evaluateFocus(instance, time, value);
    settings.measure = kelto::kMeasureStraightLine;
    bool valued = kelto::evaluateFocus(instance, time, value);
    settings.measure = kelto::kMeasureAlongView;
    return valued;
}
#endif

template <typename Access>
void HOST_CALL evaluateFaulty(host::InstanceHandle handle, const Access* access) {
    double value = 0;
    if (!faultyValue(*kelto::instanceAs<FocusInstance>(handle), access->time, value)) return;
    if constexpr (std::is_same_v<Access, host::ChannelAccess>)
        access->setChannel(access->channel, value);
    else
        access->setChannel(access->hostData, access->channel, value);
}

void change(int version, void* record) {
    if (version == host::kCurrentClassVersion)
        fault::currentRecord(record).evaluate = evaluateFaulty<host::ChannelAccessCurrent>;
    else
        fault::handlerRecord(record).evaluate = evaluateFaulty<host::ChannelAccess>;
}

#else
#error "focus_faults.cpp: no fault of this file is chosen"
#endif

constexpr Entries kFault = {fault::activateChanged<change>, fault::modifierInterface, fault::startup, fault::shutdown};

}  // namespace

const fault::Entries fault::kEntries = kFault;

// What each fails.
#if defined(FAULT_FOCUS_ONE_STEP_OFF)
FAULT_FAILS("classic/straight-line")
#elif defined(FAULT_FOCUS_ALONG_VIEW_AS_STRAIGHT) || defined(FAULT_FOCUS_OFFSET_IGNORED)
FAULT_FAILS("classic/measure classic/hierarchy-view")
#elif defined(FAULT_FOCUS_SETS_INFINITY) || defined(FAULT_FOCUS_FORWARD_NOT_RESCALED)
FAULT_FAILS("classic/measure")
#elif defined(FAULT_FOCUS_FOCUS_OFFSET_REVERSED)
// The focus offset is in the value of both measures and of the lag's mean.
FAULT_FAILS("classic/measure classic/lag")
#elif defined(FAULT_FOCUS_LAG_KEEPS_STATE) || defined(FAULT_FOCUS_FLOOR_PER_SAMPLE)
FAULT_FAILS("classic/lag")
#elif defined(FAULT_FOCUS_SAVES_SIX_DIGITS)
FAULT_FAILS("classic/block-round-trip")
#elif defined(FAULT_FOCUS_STOPS_AT_UNKNOWN_LINES)
FAULT_FAILS("classic/later-versions")
#elif defined(FAULT_FOCUS_NEGATIVE_LAG_READ) || defined(FAULT_FOCUS_LONG_LINE_READ)
FAULT_FAILS("classic/refusals")
#elif defined(FAULT_FOCUS_DESCRIPTION_FIXED)
FAULT_FAILS("classic/description-measure")
#elif defined(FAULT_FOCUS_DESCRIPTION_ONE_BLANK)
// The description line exact, blanks and all: the new instance's, and the
// one of each measure.
FAULT_FAILS("classic/description classic/description-measure")
#elif defined(FAULT_FOCUS_IGNORES_KELTO_BLOCK)
FAULT_FAILS("classic/kelto-block")
#elif defined(FAULT_FOCUS_TABS_NOT_BLANKS)
FAULT_FAILS("classic/blanks")
#elif defined(FAULT_FOCUS_NAMES_TRIMMED)
// A name is its line whole: "Ball " is not "Ball".
FAULT_FAILS("classic/missing-references")
#endif
