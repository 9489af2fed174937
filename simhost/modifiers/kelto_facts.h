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
// A reference name's buffer, NUL included: longer names are cut to fit.
inline constexpr size_t kNameBufferSize = 256;

// The options panel: a title and two popups, each listing "(none)" first.
inline constexpr char kPanelTitle[] = "Zivov Udiruvu";
inline constexpr uint32_t kItemControl = 0x8001;
inline constexpr uint32_t kCameraControl = 0x8002;
inline constexpr char kItemLabel[] = "Reference Item";
inline constexpr char kCameraLabel[] = "Reference Camera";
inline constexpr char kPopupControlClass[] = "iPopChoice";
inline constexpr char kPopupDataType[] = "integer";
inline constexpr char kNoneEntry[] = "(none)";

// The block in the scene file: six lines.
inline constexpr char kBlockStart[] = "KELTO_START";
inline constexpr char kItemKeyword[] = "REFERENCE_ITEM";
inline constexpr char kCameraKeyword[] = "REFERENCE_CAMERA";
inline constexpr char kBlockEnd[] = "KELTO_END";
inline constexpr char kNoneName[] = "none";  // a reference of "(none)", as saved
inline constexpr size_t kBlockLines = 6;

// The block that names `item` and `camera`.
inline std::vector<std::string> referenceBlock(const std::string& item, const std::string& camera) {
    return {kBlockStart, kItemKeyword, item, kCameraKeyword, camera, kBlockEnd};
}

// The services the handler's activation refuses to go without: the item
// info it works with, and the messages and textures it holds though it never
// calls them, a promise of its own.
inline constexpr Service kHandlerServices[] = {Service::Messages, Service::Textures, Service::ItemInfo};

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
