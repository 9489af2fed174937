#include "simhost/scene/host_envelope_block.h"

#include <algorithm>
#include <string>

#include "simhost/scene/number_text.h"

namespace sim {

namespace {

const char kKeyWord[] = "Key";
const char kBehaviorsWord[] = "Behaviors";
const char kKeyUsage[] = "a key is \"Key VALUE TIME SHAPE P1 P2 P3 P4 P5 P6\"";
const char kBehaviorsUsage[] = "the behaviours are \"Behaviors PRE POST\", each from 0 to 5";
// The words of a Key line after "Key": value, time, shape and six parameters.
const size_t kKeyNumbers = 9;
const size_t kParameters = 6;
const int kLargestShapeCode = static_cast<int>(SpanShape::Bezier2D);
const int kLargestBehaviourCode = static_cast<int>(Extrapolation::Linear);
// The shortest Key line: "Key 0 0 0 0 0 0 0 0 0" and its line feed.
const size_t kShortestKeyLine = 22;

// Room for the keys the count says, as far as the file can hold them: a
// count that is not the number of keys costs no more than the file's size.
void reserveKeys(const HostSceneInput& input, const std::vector<std::string_view>& words, Envelope& envelope) {
    long long count;
    if (words.size() != 1 || readNumber(words[0], count) != NumberText::Number || count <= 0) return;
    envelope.keys.reserve(std::min(static_cast<size_t>(count), input.lines.remaining() / kShortestKeyLine));
}

bool readKey(HostSceneInput& input, const SceneLine& line, const std::vector<std::string_view>& words,
             EnvelopeKey& key) {
    if (words.size() != kKeyNumbers + 1) return input.fail(line.number, kKeyUsage);
    long long code;
    double p[kParameters];
    if (!input.number(words[1], line.number, key.value, kKeyUsage) ||
        !input.number(words[2], line.number, key.time, kKeyUsage) ||
        !input.wholeNumber(words[3], line.number, 0, kLargestShapeCode, code, kKeyUsage))
        return false;
    for (size_t n = 0; n < kParameters; ++n)
        if (!input.number(words[4 + n], line.number, p[n], kKeyUsage)) return false;
    spanShapeOfCode(static_cast<int>(code), key.shape);
    if (key.shape == SpanShape::Bezier2D) {
        key.inTime = p[0];
        key.inValue = p[1];
        key.outTime = p[2];
        key.outValue = p[3];
    } else {
        key.tension = p[0];
        key.continuity = p[1];
        key.bias = p[2];
        key.inTangent = p[3];
        key.outTangent = p[4];
    }
    return input.addKey(line.number);
}

bool readBehaviours(HostSceneInput& input, const SceneLine& line, const std::vector<std::string_view>& words,
                    Envelope& envelope) {
    long long pre, post;
    if (words.size() != 3 ||
        !input.wholeNumber(words[1], line.number, 0, kLargestBehaviourCode, pre, kBehaviorsUsage) ||
        !input.wholeNumber(words[2], line.number, 0, kLargestBehaviourCode, post, kBehaviorsUsage))
        return input.fail(line.number, kBehaviorsUsage);
    extrapolationOfCode(static_cast<int>(pre), envelope.pre);
    extrapolationOfCode(static_cast<int>(post), envelope.post);
    return true;
}

}  // namespace

bool readEnvelopeBlock(HostSceneInput& input, const SceneLine& opening, EnvelopeText& block) {
    block = EnvelopeText();
    block.indentation = indentation(opening.text);
    block.ending = opening.ending;
    std::vector<std::string_view> words;
    SceneLine line;
    bool counted = false;
    while (true) {
        if (!input.lines.next(line)) return input.fail(opening.number, "the envelope has no closing \"}\"");
        if (isBlockClosing(line.text)) break;
        if (isBlockOpening(line.text)) {
            if (blockName(line.text) == kChannelHandlerBlockName) {
                block.handlers.emplace_back();
                if (!readChannelHandler(input, line, block.handlers.back())) return false;
            } else if (!input.skipBlock(line)) {
                return false;
            }
            continue;
        }
        splitWords(line.text, words);
        if (words.empty()) continue;
        if (!counted) {
            counted = true;
            reserveKeys(input, words, block.envelope);
        }
        if (words[0] == kKeyWord) {
            block.envelope.keys.emplace_back();
            if (!readKey(input, line, words, block.envelope.keys.back())) return false;
        } else if (words[0] == kBehaviorsWord) {
            if (!readBehaviours(input, line, words, block.envelope)) return false;
        }
    }
    block.close = line.begin;
    std::vector<EnvelopeKey>& keys = block.envelope.keys;
    if (keys.empty()) return input.fail(opening.number, "the envelope has no keys");
    auto earlier = [](const EnvelopeKey& a, const EnvelopeKey& b) { return a.time < b.time; };
    if (!std::is_sorted(keys.begin(), keys.end(), earlier)) std::stable_sort(keys.begin(), keys.end(), earlier);
    return true;
}

}  // namespace sim
