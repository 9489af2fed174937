// What the simulated host knows of the Kelto Focus channel modifier from
// outside: its server name, description, panel controls, the block it saves
// and what it promises of an evaluation beyond the host's rules. Runs and
// checks read them here and never from the module's own code, so that a
// fault there cannot hide itself.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "simhost/modifiers/channel_promises.h"
#include "simhost/modifiers/reference_facts.h"
#include "simhost/services/channel_access_record.h"
#include "simhost/services/served_names.h"
#include "simhost/text/text_format.h"

namespace sim::kelto_focus_facts {

// Both servers, the ChannelHandler and the ChannelInterface, go by it.
inline constexpr char kServerName[] = "Kelto Focus";
// The services the handler's activation refuses to go without: Kelto's.
using reference_facts::kHandlerServices;
// An instance's description: this, three blanks, and the measure's entry.
inline constexpr char kDescriptionStart[] = "KELTO FOCUS";
inline constexpr char kDescriptionGap[] = "   ";

// The options panel: the two reference popups, Kelto's, then the settings.
inline constexpr char kPanelTitle[] = "Kelto Focus";
using reference_facts::kCameraControl;
using reference_facts::kCameraLabel;
using reference_facts::kItemControl;
using reference_facts::kItemLabel;
inline constexpr uint32_t kMeasureControl = 0x8003;
inline constexpr uint32_t kSubjectOffsetControl = 0x8004;
inline constexpr uint32_t kFocusOffsetControl = 0x8005;
inline constexpr uint32_t kLagControl = 0x8006;
inline constexpr char kMeasureLabel[] = "Measure";
inline constexpr char kSubjectOffsetLabel[] = "Subject Offset";
inline constexpr char kFocusOffsetLabel[] = "Focus Offset";
inline constexpr char kLagLabel[] = "Lag";
// The measure popup's entries, by value.
inline constexpr int kStraightLine = 0;
inline constexpr int kAlongView = 1;
inline constexpr const char* kMeasureEntries[] = {"Straight line", "Along view"};
inline constexpr int kMeasureCount = 2;

// The description line of an instance whose measure is `measure`.
inline std::string description(int32_t measure) {
    return std::string(kDescriptionStart) + kDescriptionGap + kMeasureEntries[measure];
}
// Each control's class and the type of its value, as the toolkit pairs them.
inline constexpr size_t kPanelControls = 6;
inline constexpr char kMeasureClass[] = "iPopChoice", kMeasureType[] = "integer";
inline constexpr char kSubjectOffsetClass[] = "distance3", kSubjectOffsetType[] = "distance3";
inline constexpr char kFocusOffsetClass[] = "distance", kFocusOffsetType[] = "distance";
inline constexpr char kLagClass[] = "time", kLagType[] = "time";

// The block in the scene file, one line per setting.
inline constexpr char kBlockStart[] = "KELTO_FOCUS_START";
inline constexpr char kVersionKeyword[] = "VERSION";
using reference_facts::kCameraKeyword;  // the references' lines, as Kelto's
using reference_facts::kItemKeyword;
inline constexpr char kMeasureKeyword[] = "MEASURE";
inline constexpr char kSubjectOffsetKeyword[] = "SUBJECT_OFFSET";
inline constexpr char kFocusOffsetKeyword[] = "FOCUS_OFFSET";
inline constexpr char kLagKeyword[] = "LAG";
inline constexpr char kBlockEnd[] = "KELTO_FOCUS_END";
inline constexpr int kBlockVersion = 1;
// Start, version, the two references as Kelto's, the four settings, end.
inline constexpr size_t kBlockLines = 11;
// Where the names stand among the block's lines.
inline constexpr size_t kItemNameLine = 3, kCameraNameLine = 5;

// The subject offset's axes: the subject's right, up and forward.
inline constexpr int kAxisCount = 3;

// The settings, all zero by default: straight line, no offsets, no lag.
struct Settings {
    int32_t measure = kStraightLine;
    double subjectOffset[kAxisCount] = {0, 0, 0};  // along the subject's right, up and forward
    double focusOffset = 0;                        // added to the measure
    double lag = 0;                                // seconds
};

// A number as the block writes it: 17 significant digits, '.' for the point.
inline std::string blockNumber(double value) { return formattedText("%.17g", value); }

// The block that names `item` and `camera` with `settings`, as it is saved.
inline std::vector<std::string> referenceBlock(const std::string& item, const std::string& camera,
                                               const Settings& settings = Settings()) {
    const double* offset = settings.subjectOffset;
    return {kBlockStart,
            std::string(kVersionKeyword) + " " + std::to_string(kBlockVersion),
            kItemKeyword,
            item,
            kCameraKeyword,
            camera,
            std::string(kMeasureKeyword) + " " + std::to_string(settings.measure),
            std::string(kSubjectOffsetKeyword) + " " + blockNumber(offset[0]) + " " + blockNumber(offset[1]) + " " +
                blockNumber(offset[2]),
            std::string(kFocusOffsetKeyword) + " " + blockNumber(settings.focusOffset),
            std::string(kLagKeyword) + " " + blockNumber(settings.lag),
            kBlockEnd};
}

// The nearest focus it ever sets.
inline constexpr double kNearest = 0.001;
// The lag's mean: samples over [t - lag, t] by the trapezoid rule on this
// many equal steps, summed in time order: (v(t - lag) + v(t)) / 2, then each
// inner sample, the whole divided by the steps.
inline constexpr int kLagSteps = 16;

// Kelto Focus's promises of an evaluation beyond the host's rules: as
// Kelto, it never reads a channel nor asks its name (channel_promises.h),
// its lag's mean included; and it never focuses nearer than kNearest.
inline std::string brokenChannelPromise(const ChannelAccessRecord& access) {
    return sim::brokenChannelPromise(kServerName, access);
}

inline std::string brokenValuePromise(const ChannelAccessRecord& access) {
    for (double value : access.setCalls())
        if (!(value >= kNearest))
            return formattedText("Kelto Focus promises a focus distance of at least %g: it set %.17g", kNearest, value);
    return "";
}

// The first promise of Kelto Focus's that the evaluation broke, as text, or "".
inline std::string brokenPromise(const ChannelAccessRecord& access) {
    std::string call = brokenChannelPromise(access);
    return call.empty() ? brokenValuePromise(access) : call;
}

// The first of the host's rules the evaluation broke, else the first of
// Kelto Focus's promises; "" when it kept both.
inline std::string evaluationProblem(const ChannelAccessRecord& access) {
    std::string rule = access.brokenRule();
    return rule.empty() ? brokenPromise(access) : rule;
}

// The first of the host's rules the evaluation broke, else the promise of
// its value; "" when it kept both. What it called is told apart.
inline std::string valueProblem(const ChannelAccessRecord& access) {
    std::string rule = access.brokenRule();
    return rule.empty() ? brokenValuePromise(access) : rule;
}

}  // namespace sim::kelto_focus_facts
