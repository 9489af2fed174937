#include "simhost/scene/old_motion_text.h"

#include <cmath>
#include <limits>
#include <string>

#include "simhost/scene/number_text.h"

namespace sim {

namespace {

const int kVersionOne = 1;
// A version 1 key's numbers after its values: frame, linear flag, tension,
// continuity, bias.
const int kSplineNumbers = 5;
const int kLargestShapeCode = static_cast<int>(SpanShape::Bezier2D);
const double kLinearFlag = 1;
const double kCurvedFlag = 0;

bool isWholeIn(double number, int least, int most) {
    return number >= least && number <= most && number == std::floor(number);
}

// The numbers of a motion, one after another across its lines.
class NumberStream {
public:
    NumberStream(HostSceneInput& input, int keywordLine) : input_(input), lineNumber_(keywordLine) {}

    // The next number; `due` names it for a message when there is none.
    bool next(double& value, const std::string& due) {
        while (at_ >= words_.size()) {
            SceneLine line;
            if (!input_.lines.next(line)) return input_.fail(lineNumber_, "the file ends where " + due + " was due");
            lineNumber_ = line.number;
            splitWords(line.text, words_);
            at_ = 0;
        }
        const std::string_view word = words_[at_++];
        if (readNumber(word, value) == NumberText::Malformed)
            return input_.fail(lineNumber_, quotedLine(word) + " stands where " + due + " was due");
        return input_.number(word, lineNumber_, value);
    }

    bool count(int least, int most, int& value, const std::string& what) {
        double number;
        if (!next(number, what)) return false;
        if (!isWholeIn(number, least, most))
            return input_.fail(
                lineNumber_, what + " is a whole number from " + std::to_string(least) + " to " + std::to_string(most));
        value = static_cast<int>(number);
        return true;
    }

    // Whether the line of the last number holds no more.
    bool finish() {
        if (at_ >= words_.size()) return true;
        return input_.fail(lineNumber_, "more numbers than the counts before them give");
    }

    int line() const { return lineNumber_; }

private:
    HostSceneInput& input_;
    int lineNumber_;
    std::vector<std::string_view> words_;
    size_t at_ = 0;
};

std::string keyDue(size_t key, int keys) { return "key " + std::to_string(key + 1) + " of " + std::to_string(keys); }

// Version 1's keys: every channel's value, then the frame and the spline.
bool readFrameKeys(NumberStream& numbers, HostSceneInput& input, std::vector<Envelope>& channels) {
    int keys;
    if (!numbers.count(1, std::numeric_limits<int>::max(), keys, "the count of keys")) return false;
    std::vector<double> values(channels.size());
    for (size_t key = 0; key < static_cast<size_t>(keys); ++key) {
        const std::string due = keyDue(key, keys);
        for (double& value : values)
            if (!numbers.next(value, due)) return false;
        double spline[kSplineNumbers];
        for (double& number : spline)
            if (!numbers.next(number, due)) return false;
        const double linear = spline[1];
        if (linear != kLinearFlag && linear != kCurvedFlag)
            return input.fail(numbers.line(), "a key's linear flag is 0 or 1");
        for (size_t channel = 0; channel < channels.size(); ++channel) {
            EnvelopeKey k;
            k.value = values[channel];
            k.time = spline[0];
            k.shape = linear == kLinearFlag ? SpanShape::Linear : SpanShape::Tcb;
            k.tension = spline[2];
            k.continuity = spline[3];
            k.bias = spline[4];
            if (!input.addKey(numbers.line())) return false;
            channels[channel].keys.push_back(k);
        }
    }
    return numbers.finish();
}

// Version 2's keys of one channel.
bool readChannelKeys(NumberStream& numbers, HostSceneInput& input, Envelope& channel) {
    int keys;
    if (!numbers.count(1, std::numeric_limits<int>::max(), keys, "the count of keys")) return false;
    for (size_t key = 0; key < static_cast<size_t>(keys); ++key) {
        const std::string due = keyDue(key, keys);
        EnvelopeKey k;
        double code;
        if (!numbers.next(k.value, due) || !numbers.next(k.time, due) || !numbers.next(code, due) ||
            !numbers.next(k.tension, due) || !numbers.next(k.continuity, due) || !numbers.next(k.bias, due))
            return false;
        if (!isWholeIn(code, 0, kLargestShapeCode))
            return input.fail(numbers.line(), "a key's shape is a whole number from 0 to 5");
        SpanShape shape = SpanShape::Tcb;
        spanShapeOfCode(static_cast<int>(code), shape);
        k.shape = shape == SpanShape::Linear || shape == SpanShape::Stepped ? shape : SpanShape::Tcb;
        if (!input.addKey(numbers.line())) return false;
        channel.keys.push_back(k);
    }
    return true;
}

bool readChannels(HostSceneInput& input, int version, int keywordLine, int mostChannels,
                  std::vector<Envelope>& channels) {
    NumberStream numbers(input, keywordLine);
    int count;
    if (!numbers.count(1, mostChannels, count, "the count of channels")) return false;
    channels.assign(static_cast<size_t>(count), Envelope());
    if (version == kVersionOne) return readFrameKeys(numbers, input, channels);
    for (Envelope& channel : channels)
        if (!readChannelKeys(numbers, input, channel)) return false;
    return numbers.finish();
}

}  // namespace

bool readOldMotion(HostSceneInput& input, int version, int keywordLine, std::vector<Envelope>& channels) {
    return readChannels(input, version, keywordLine, kMostOldMotionChannels, channels);
}

bool readOldEnvelope(HostSceneInput& input, int version, int keywordLine, Envelope& envelope) {
    std::vector<Envelope> channels;
    if (!readChannels(input, version, keywordLine, 1, channels)) return false;
    envelope = std::move(channels[0]);
    return true;
}

bool endBehaviourOfCode(int code, Extrapolation& post) {
    switch (code) {
        case 0: post = Extrapolation::Reset; return true;
        case 1: post = Extrapolation::Constant; return true;
        case 2: post = Extrapolation::Repeat; return true;
        default: return false;
    }
}

}  // namespace sim
