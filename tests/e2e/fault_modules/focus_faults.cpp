// Faults of Kelto Focus's own promises: its value, its lag, its block and
// its description line. Built with FAULTY_KELTO_FOCUS, around Kelto Focus.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>

#include "faulty_kelto.h"
#include "focus/focus_instance.h"
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

#elif defined(FAULT_FOCUS_ALONG_VIEW_AS_STRAIGHT) || defined(FAULT_FOCUS_OFFSET_IGNORED)
// A setting is set aside for the evaluation and put back after it.
kelto::FocusSettings g_kept;

void setAside(host::InstanceHandle instance) {
    kelto::FocusSettings& settings = settingsOf(instance);
    g_kept = settings;
#if defined(FAULT_FOCUS_ALONG_VIEW_AS_STRAIGHT)
    settings.measure = 0;  // the measure along the view is taken as the straight line
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

#elif defined(FAULT_FOCUS_STOPS_AT_UNKNOWN_LINES) || defined(FAULT_FOCUS_NEGATIVE_LAG_READ)
// The lines load reads are changed on their way to the modifier.
const host::LoadState* g_load = nullptr;
const char*(HOST_CALL* g_loadOperation)(host::InstanceHandle, const host::LoadState*) = nullptr;

#if defined(FAULT_FOCUS_STOPS_AT_UNKNOWN_LINES)
// The block ends at the first line of a keyword this version does not know:
// the settings after it are never read.
const char* const kKnown[] = {"KELTO_FOCUS_START", "VERSION", "REFERENCE_ITEM",
                              "REFERENCE_CAMERA",  "MEASURE", "SUBJECT_OFFSET",
                              "FOCUS_OFFSET",      "LAG",     "KELTO_FOCUS_END"};
bool g_nameNext = false, g_ended = false;

bool known(const char* line) {
    size_t keyword = std::strcspn(line, " ");
    for (const char* word : kKnown)
        if (std::strlen(word) == keyword && std::strncmp(line, word, keyword) == 0) return true;
    return false;
}

int readChanged(char* buffer, int read) {
    bool name = g_nameNext;
    g_nameNext =
        read >= 0 && (std::strcmp(buffer, "REFERENCE_ITEM") == 0 || std::strcmp(buffer, "REFERENCE_CAMERA") == 0);
    if (read >= 0 && !name && !known(buffer)) g_ended = true;
    return g_ended ? host::kReadEndOfData : read;
}

void startBlock() { g_nameNext = g_ended = false; }
#else
// A negative lag is read as its size.
const char kNegativeLag[] = "LAG -";

int readChanged(char* buffer, int read) {
    const size_t start = sizeof kNegativeLag - 1;
    if (read < 0 || std::strncmp(buffer, kNegativeLag, start) != 0) return read;
    std::memmove(buffer + start - 1, buffer + start, std::strlen(buffer + start) + 1);
    return read - 1;
}

void startBlock() {}
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

#else
#error "focus_faults.cpp: no fault of this file is chosen"
#endif

constexpr Entries kFault = {fault::activateChanged<change>, fault::modifierInterface, fault::startup, fault::shutdown};

}  // namespace

const fault::Entries fault::kEntries = kFault;
