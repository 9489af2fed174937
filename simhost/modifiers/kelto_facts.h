// What the simulated host knows of the Kelto channel modifier from outside:
// its names, control IDs, texts and sizes, the block it saves, the services
// it needs, and what it promises of an evaluation beyond the host's rules.
// Checks read them here and never from the module's own code, so that a
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

namespace sim::kelto_facts {

// Both servers, the ChannelHandler and the ChannelInterface, go by it.
inline constexpr char kServerName[] = "Kelto";
// One of its servers as messages name it, e.g. ChannelHandler "Kelto".
inline std::string serverText(const std::string& className) { return sim::serverText(className, kServerName); }
// An instance's description line, and the buffer it must fit, NUL included.
inline constexpr char kDescription[] = "KELTO   by VEM";
inline constexpr size_t kDescriptionSize = 100;
// The reference popups, names and services both modifiers share.
using reference_facts::kNameBufferSize;

// The options panel: a title and two popups, each listing "(none)" first.
inline constexpr char kPanelTitle[] = "Zivov Udiruvu";
using reference_facts::kCameraControl;
using reference_facts::kCameraLabel;
using reference_facts::kItemControl;
using reference_facts::kItemLabel;
using reference_facts::kNoneEntry;
using reference_facts::kPopupControlClass;
using reference_facts::kPopupDataType;

// The block in the scene file: six lines.
inline constexpr char kBlockStart[] = "KELTO_START";
using reference_facts::kCameraKeyword;
using reference_facts::kItemKeyword;
inline constexpr char kBlockEnd[] = "KELTO_END";
using reference_facts::kNoneName;
inline constexpr size_t kBlockLines = 6;

// The block that names `item` and `camera`.
inline std::vector<std::string> referenceBlock(const std::string& item, const std::string& camera) {
    return {kBlockStart, kItemKeyword, item, kCameraKeyword, camera, kBlockEnd};
}

using reference_facts::kHandlerServices;

// Kelto's promises of an evaluation beyond the host's rules: the host lets a
// modifier read channels and ask their names; Kelto needs neither
// (channel_promises.h), and sets the channel to a distance alone.
inline std::string brokenChannelPromise(const ChannelAccessRecord& access) {
    return sim::brokenChannelPromise(kServerName, access);
}

inline std::string brokenValuePromise(const ChannelAccessRecord& access) {
    for (double value : access.setCalls())
        if (value < 0) return "Kelto promises a distance, never below 0: it set " + formattedText("%.17g", value);
    return "";
}

// The first promise of Kelto's that the evaluation broke, as text, or "".
inline std::string brokenPromise(const ChannelAccessRecord& access) {
    std::string call = brokenChannelPromise(access);
    return call.empty() ? brokenValuePromise(access) : call;
}

// The first of the host's rules the evaluation broke, else the first of
// Kelto's promises; "" when it kept both.
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

}  // namespace sim::kelto_facts
