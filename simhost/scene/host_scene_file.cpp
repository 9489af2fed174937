#include "simhost/scene/host_scene_file.h"

#include <cmath>
#include <limits>
#include <memory>
#include <unordered_map>
#include <utility>

#include "host/host_types.h"
#include "simhost/scene/host_envelope_block.h"
#include "simhost/scene/host_item_references.h"
#include "simhost/scene/host_scene_input.h"
#include "simhost/scene/host_scene_text.h"
#include "simhost/scene/number_text.h"
#include "simhost/scene/old_motion_text.h"
#include "simhost/scene/unmodelled_motion.h"

namespace sim {

namespace {

const char kMagic[] = "LWSC";
const char kByteOrderMark[] = "\xEF\xBB\xBF";
const int kOldestVersion = 1;
const int kNewestVersion = 8;
// Versions before this one key their motions as bare numbers.
const int kBlockVersion = 3;
const int kNumberedVersion = 4;
const size_t kNone = static_cast<size_t>(-1);

const int kDefaultFirstFrame = 1;
const int kDefaultLastFrame = 60;
const double kDefaultFramesPerSecond = 30;

const double kDegreesPerRadian = 180 / 3.14159265358979323846;
// An item number on a declaring line: eight hexadecimal digits.
const size_t kItemNumberDigits = 8;

const char kEnvelopeMark[] = "(envelope)";
const char kImplicitCamera[] = "Camera";
const char kDefaultLightName[] = "Light";
const char kDefaultBoneName[] = "Bone";
const char kDefaultNullName[] = "Null";
const char kMotionPluginClass[] = "ItemMotionHandler";
const char kPluginEnd[] = "EndPlugin";
const char kPluginEnabled[] = "PluginEnabled";
const char kNumChannels[] = "NumChannels";

// Channels the scene has, not an item, though their lines stand among an
// item's (the host's documents list them with the scene's settings).
const char* const kSceneChannels[] = {
    "AmbIntensity", "AmbientIntensity", "GlobalFlareIntensity", "GlobalLightIntensity", "FGDissolve",
    "FogMinDist",   "FogMaxDist",       "FogMinDistance",       "FogMaxDistance",       "FogMinAmount",
    "FogMaxAmount", "Saturation",       "GlowIntensity",        "GlowRadius",
};

bool isSceneChannel(std::string_view name) {
    for (const char* channel : kSceneChannels)
        if (name == channel) return true;
    return false;
}

// Its file's name without folder and extension.
std::string objectName(std::string_view path) {
    path = trimmed(path);
    const size_t slash = path.find_last_of("/\\:");
    if (slash != std::string_view::npos) path = path.substr(slash + 1);
    const size_t dot = path.rfind('.');
    if (dot != std::string_view::npos && dot > 0) path = path.substr(0, dot);
    return std::string(path);
}

bool isItemNumber(std::string_view word) {
    return word.size() == kItemNumberDigits &&
           word.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
}

// The line ending just before `at`.
std::string endingBefore(const std::string& text, size_t at) {
    if (at >= 2 && text.compare(at - 2, 2, "\r\n") == 0) return "\r\n";
    if (at >= 1 && (text[at - 1] == '\n' || text[at - 1] == '\r')) return std::string(1, text[at - 1]);
    return "";
}

struct MotionKeyword {
    const char* keyword;
    int typeCode;
};

const MotionKeyword kMotionKeywords[] = {
    {"ObjectMotion", host::kItemTypeObject},
    {"LightMotion", host::kItemTypeLight},
    {"CameraMotion", host::kItemTypeCamera},
    {"BoneMotion", host::kItemTypeBone},
};

const char* typeName(int typeCode) {
    switch (typeCode) {
        case host::kItemTypeLight: return "a light";
        case host::kItemTypeCamera: return "a camera";
        case host::kItemTypeBone: return "a bone";
        default: return "an object";
    }
}

// An envelope that version 1's and 2's behaviour lines after it set: a
// motion channel of an item, or a channel of its by name.
struct OldEnvelope {
    size_t item = kNone;
    int channel = -1;  // a motion channel; -1 for `name`
    std::string name;
};

// Where a camera's section has the lines the host writes its focal
// distance after.
struct CameraAnchors {
    size_t depthOfField = kNone, aperture = kNone, motion = kNone, declaration = kNone;
    bool focalDistance = false;
    size_t valueLine = kNone;  // its "FocalDistance VALUE" line among the kept ones
};

class Reader {
public:
    Reader(const std::string& text, const std::string& source, size_t maxKeys)
        : text_(text), source_(source), input_(text, startOf(text), maxKeys) {}

    SceneParse read() {
        kept_->text = text_;
        if (header()) {
            SceneLine line;
            while (!input_.failed() && input_.lines.next(line)) statement(line);
            if (!input_.failed()) finish();
        }
        if (input_.failed()) {
            SceneParse failed;
            failed.error = source_ + ":" + std::to_string(input_.faultLine()) + ": " + input_.fault();
            return failed;
        }
        result_.scene.hostText = std::move(kept_);
        return std::move(result_);
    }

private:
    using Handler = void (Reader::*)(const SceneLine& line, std::string_view rest);

    static size_t startOf(const std::string& text) {
        return text.compare(0, sizeof kByteOrderMark - 1, kByteOrderMark) == 0 ? sizeof kByteOrderMark - 1 : 0;
    }

    Scene& scene() { return result_.scene; }
    SceneItem& item(size_t declared) {
        const DeclaredItem& d = items_[declared];
        return (*scene().list(d.typeCode))[d.index];
    }
    bool fail(const SceneLine& line, const std::string& what) { return input_.fail(line.number, what); }

    // The first two lines, and a NUL anywhere: names and a module's lines
    // reach the module as C strings, which would end there.
    bool header() {
        const size_t nul = text_.find('\0');
        if (nul != std::string::npos) {
            SceneLines lines(text_);
            SceneLine line;
            while (lines.next(line) && line.end() <= nul) {}
            return input_.fail(line.number, "a line holds a NUL byte");
        }
        SceneLine line;
        if (!input_.lines.next(line) || trimmed(line.text) != kMagic)
            return input_.fail(1, "the host's scene file begins with the line \"LWSC\"");
        kept_->ending = std::string(line.ending);
        long long version;
        if (!input_.lines.next(line)) return input_.fail(2, "the file ends before the version's line");
        if (!input_.wholeNumber(trimmed(line.text), line.number, kOldestVersion, kNewestVersion, version,
                                "the version of the host's scene files"))
            return false;
        version_ = static_cast<int>(version);
        kept_->version = version_;
        Scene& s = scene();
        s.clock = MotionClock::Seconds;
        s.firstFrame = kDefaultFirstFrame;
        s.lastFrame = kDefaultLastFrame;
        s.frameStep = 1;
        s.framesPerSecond = kDefaultFramesPerSecond;
        if (version_ == kOldestVersion) {
            declare(line, host::kItemTypeCamera, kImplicitCamera);
            current_ = kNone;  // its section begins at its motion
        }
        return true;
    }

    // The reader of each statement's keyword, but for motions, controllers
    // and named envelopes.
    static const std::vector<std::pair<const char*, Handler>>& statementHandlers() {
        static const std::vector<std::pair<const char*, Handler>> kHandlers = {
            {"LoadObject", &Reader::loadObject},
            {"LoadObjectLayer", &Reader::loadObjectLayer},
            {"AddNullObject", &Reader::addNull},
            {"AddLight", &Reader::addLight},
            {"AddCamera", &Reader::addCamera},
            {"AddBone", &Reader::addBone},
            {"LightName", &Reader::itemName},
            {"CameraName", &Reader::itemName},
            {"BoneName", &Reader::itemName},
            {"ShowCamera", &Reader::showCamera},
            {"Channel", &Reader::channel},
            {"EndBehavior", &Reader::endBehavior},
            {"Pre/PostBehavior", &Reader::prePostBehavior},
            {"PreBehavior", &Reader::preOrPostBehavior},
            {"PostBehavior", &Reader::preOrPostBehavior},
            {"ParentItem", &Reader::parentItem},
            {"ParentObject", &Reader::parentObject},
            {"PivotPoint", &Reader::pivot},
            {"PivotPosition", &Reader::pivot},
            {"PivotRotation", &Reader::pivotRotation},
            {"TargetItem", &Reader::target},
            {"TargetObject", &Reader::target},
            {"GoalItem", &Reader::goal},
            {"GoalObject", &Reader::goal},
            {"IKAnchor", &Reader::ikAnchor},
            {"Plugin", &Reader::plugin},
            {"FocalDistance", &Reader::focalDistance},
            {"DepthOfField", &Reader::depthOfField},
            {"ApertureHeight", &Reader::apertureHeight},
            {"FirstFrame", &Reader::firstFrame},
            {"LastFrame", &Reader::lastFrame},
            {"FrameStep", &Reader::frameStep},
            {"FramesPerSecond", &Reader::framesPerSecond},
        };
        return kHandlers;
    }

    void statement(const SceneLine& line) {
        std::string_view rest;
        const std::string_view keyword = firstWord(line.text, rest);
        if (keyword.empty()) return;
        if (isBlockOpening(line.text)) return block(line);
        if (trimmed(rest) == kEnvelopeMark) return namedEnvelope(line, keyword);
        for (const auto& handler : statementHandlers())
            if (keyword == handler.first) return (this->*handler.second)(line, rest);
        for (const MotionKeyword& motion : kMotionKeywords)
            if (keyword == motion.keyword) return this->motion(line, motion);
        if (isControllerKeyword(keyword)) return controller(line, keyword, rest);
    }

    // Items.

    // Adds an item of the type to its list and makes its section the
    // current one.
    bool declare(const SceneLine& line, int typeCode, const std::string& name, std::string_view number = {}) {
        if (items_.size() >= kMaxSceneItems)
            return fail(line, "more than " + std::to_string(kMaxSceneItems) + " items");
        DeclaredItem declared;
        declared.typeCode = typeCode;
        declared.line = line.number;
        if (!number.empty()) {
            declared.numbered = true;
            if (!input_.itemNumber(number, line.number, declared.number)) return false;
        }
        if (typeCode == host::kItemTypeBone) {
            if (lastObject_ == kNone) return fail(line, "a bone before any object");
            declared.owner = lastObject_;
            declared.place = items_[lastObject_].bones.size();
            items_[lastObject_].bones.push_back(items_.size());
        } else {
            declared.place = scene().list(typeCode)->size();
        }
        scene().add(typeCode, name);
        declared.index = scene().list(typeCode)->size() - 1;
        if (typeCode == host::kItemTypeObject) lastObject_ = items_.size();
        current_ = items_.size();
        motion_ = kNone;
        items_.push_back(std::move(declared));
        channelsSeen_.push_back(0);
        if (typeCode == host::kItemTypeCamera) {
            cameras_.resize(scene().cameras.size());
            cameras_.back().declaration = line.end();
        }
        return true;
    }

    // From version 4 on, the item's number before the rest of the line.
    std::string_view itemNumberOf(std::string_view& rest) {
        if (version_ < kNumberedVersion) return {};
        std::string_view after;
        const std::string_view word = firstWord(rest, after);
        if (!isItemNumber(word)) return {};
        rest = after;
        return word;
    }

    void loadObject(const SceneLine& line, std::string_view rest) {
        const std::string_view number = itemNumberOf(rest);
        declare(line, host::kItemTypeObject, objectName(rest), number);
    }

    void loadObjectLayer(const SceneLine& line, std::string_view rest) {
        firstWord(rest, rest);  // the layer
        const std::string_view number = itemNumberOf(rest);
        declare(line, host::kItemTypeObject, objectName(rest), number);
    }

    void addNull(const SceneLine& line, std::string_view rest) {
        const std::string_view number = itemNumberOf(rest);
        const std::string_view name = trimmed(rest);
        declare(line, host::kItemTypeObject, name.empty() ? kDefaultNullName : std::string(name), number);
    }

    void addLight(const SceneLine& line, std::string_view rest) {
        declare(line, host::kItemTypeLight, kDefaultLightName, itemNumberOf(rest));
    }

    void addCamera(const SceneLine& line, std::string_view rest) {
        declare(line, host::kItemTypeCamera, kImplicitCamera, itemNumberOf(rest));
    }

    void addBone(const SceneLine& line, std::string_view rest) {
        declare(line, host::kItemTypeBone, kDefaultBoneName, itemNumberOf(rest));
    }

    void itemName(const SceneLine& line, std::string_view rest) {
        static const std::pair<const char*, int> kNameTypes[] = {
            {"LightName", host::kItemTypeLight},
            {"CameraName", host::kItemTypeCamera},
            {"BoneName", host::kItemTypeBone},
        };
        std::string_view ignored;
        const std::string_view keyword = firstWord(line.text, ignored);
        for (const auto& nameType : kNameTypes)
            if (keyword == nameType.first && current_ != kNone && items_[current_].typeCode == nameType.second)
                item(current_).name = std::string(trimmed(rest));
    }

    // Version 1's one camera has its section from here.
    void showCamera(const SceneLine&, std::string_view) {
        if (version_ == kOldestVersion) enterImplicitCamera();
    }

    void enterImplicitCamera() {
        current_ = 0;
        motion_ = kNone;
    }

    // An item must be current for its lines; none is before the first.
    bool needItem(const SceneLine& line, std::string_view keyword) {
        if (current_ != kNone) return true;
        return fail(line, std::string(keyword) + " before any item");
    }

    // Motions.

    void motion(const SceneLine& line, const MotionKeyword& motion) {
        if (version_ == kOldestVersion && motion.typeCode == host::kItemTypeCamera) enterImplicitCamera();
        if (current_ == kNone || items_[current_].typeCode != motion.typeCode)
            return (void)fail(line,
                              std::string(motion.keyword) + " outside the section of " + typeName(motion.typeCode));
        motion_ = current_;
        SceneLine next;
        std::string_view nextRest;
        if (version_ >= kBlockVersion || (input_.lines.peek(next) && firstWord(next.text, nextRest) == kNumChannels))
            return;
        std::vector<Envelope> channels;
        if (!readOldMotion(input_, version_, line.number, channels)) return;
        oldEnvelopes_.clear();
        for (size_t channel = 0; channel < channels.size(); ++channel) {
            item(current_).motion.channels[channel] = std::move(channels[channel]);
            oldEnvelopes_.push_back({current_, static_cast<int>(channel), ""});
        }
        noteMotionEnd(current_);
    }

    // A camera's motion ends here, so far: the last place the host may
    // write its focal distance after.
    void noteMotionEnd(size_t declared) {
        if (items_[declared].typeCode == host::kItemTypeCamera)
            cameras_[items_[declared].index].motion = input_.lines.offset();
    }

    // Reads the "{ Envelope" block that must follow `line`.
    bool envelopeAfter(const SceneLine& line, EnvelopeText& envelope) {
        SceneLine opening;
        if (!input_.lines.next(opening) || !isBlockOpening(opening.text) ||
            blockName(opening.text) != kEnvelopeBlockName)
            return fail(line, quotedLine(trimmed(line.text)) + " is not followed by its \"{ Envelope\" block");
        return readEnvelopeBlock(input_, opening, envelope);
    }

    void channel(const SceneLine& line, std::string_view rest) {
        long long index;
        if (!input_.wholeNumber(trimmed(rest), line.number, 0, std::numeric_limits<int>::max(), index,
                                "a motion's channel is \"Channel N\""))
            return;
        if (motion_ == kNone) return (void)fail(line, "a channel outside any item's motion");
        EnvelopeText envelope;
        if (!envelopeAfter(line, envelope)) return;
        // Channels the host does not have are read, for their faults, and
        // left.
        if (index >= kMotionChannels) return;
        unsigned& seen = channelsSeen_[motion_];
        const unsigned bit = 1u << index;
        if (seen & bit) return (void)fail(line, "a second Channel " + std::to_string(index) + " of this motion");
        seen |= bit;
        if (index >= kHeading && index <= kBank) toDegrees(envelope.envelope);
        const std::string name = motionChannelName(static_cast<int>(index));
        keep(motion_, name, envelope, true);
        item(motion_).motion.channels[index] = std::move(envelope.envelope);
        noteMotionEnd(motion_);
    }

    static void toDegrees(Envelope& envelope) {
        for (EnvelopeKey& key : envelope.keys) {
            key.value *= kDegreesPerRadian;
            key.inTangent *= kDegreesPerRadian;
            key.outTangent *= kDegreesPerRadian;
            key.inValue *= kDegreesPerRadian;
            key.outValue *= kDegreesPerRadian;
        }
    }

    // Keeps the envelope's place and its channel modifiers' blocks; those
    // on an item's motion move it as the simulated host does not.
    void keep(size_t declared, const std::string& channel, EnvelopeText& envelope, bool motion) {
        const size_t serial = declared == kNone ? kNoItem : item(declared).serial;
        EnvelopePlace place;
        place.item = serial;
        place.channel = channel;
        place.indentation = envelope.indentation;
        place.close = envelope.close;
        place.ending = std::string(envelope.ending);
        for (ChannelHandlerText& handler : envelope.handlers) {
            place.handlers.push_back({handler.server, handler.begin, handler.end});
            if (motion && !(handler.flags & kChannelHandlerDisabled))
                noteUnmodelled(item(declared), motionModifierNote(handler.server, channel));
            ChannelModifierBlock block;
            block.item = serial;
            block.channel = channel;
            block.server = std::move(handler.server);
            block.flags = handler.flags;
            block.lines = std::move(handler.lines);
            block.lineNumber = handler.lineNumber;
            scene().channelModifiers.push_back(std::move(block));
        }
        // A motion's channels cannot be given twice (channel() refuses a second).
        if (!motion) {
            size_t& kept = named(declared, channel).envelope;
            if (kept != kNone) return (void)(kept_->envelopes[kept] = std::move(place));
            kept = kept_->envelopes.size();
        }
        kept_->envelopes.push_back(std::move(place));
    }

    // Where an item's channel by name, or the scene's (kNone), is kept: found
    // in one step, so that a file of many channels costs each one.
    struct NamedPlaces {
        size_t channel = kNone;   // in the item's channels
        size_t envelope = kNone;  // in the kept envelopes
    };

    NamedPlaces& named(size_t declared, const std::string& name) {
        std::string key(reinterpret_cast<const char*>(&declared), sizeof declared);
        return named_[key.append(name)];
    }

    // Whether the item (or the scene, kNone) has the channel already; a
    // second would leave which one a run and a write take to guesswork, and
    // the host writes none.
    bool given(const SceneLine& line, size_t owner, const std::string& name) {
        if (named(owner, name).channel == kNone && named(owner, name).envelope == kNone) return false;
        fail(line, "a second " + name + (owner == kNone ? " of the scene" : " of this item"));
        return true;
    }

    // A channel of the current item's besides its motion, or the scene's.
    void namedEnvelope(const SceneLine& line, std::string_view keyword) {
        const std::string name(keyword);
        const size_t owner = isSceneChannel(name) ? kNone : current_;
        if (given(line, owner, name)) return;
        Envelope value;
        if (version_ >= kBlockVersion) {
            EnvelopeText envelope;
            if (!envelopeAfter(line, envelope)) return;
            keep(owner, name, envelope, false);
            value = std::move(envelope.envelope);
        } else {
            if (!readOldEnvelope(input_, version_, line.number, value)) return;
            oldEnvelopes_.assign(1, {owner, -1, name});
        }
        if (owner == kNone) return;
        if (name == kFocalDistanceChannel && items_[owner].typeCode == host::kItemTypeCamera)
            cameras_[items_[owner].index].focalDistance = true;
        setChannel(owner, name, std::move(value));
    }

    void setChannel(size_t declared, const std::string& name, Envelope value) {
        std::vector<NamedChannel>& channels = item(declared).channels;
        size_t& kept = named(declared, name).channel;
        if (kept != kNone) return (void)(channels[kept].value = std::move(value));
        kept = channels.size();
        channels.push_back({name, std::move(value)});
    }

    Envelope* oldEnvelope(const OldEnvelope& old) {
        if (old.item == kNone) return nullptr;
        SceneItem& owner = item(old.item);
        if (old.channel >= 0) return &owner.motion.channels[old.channel];
        const size_t kept = named(old.item, old.name).channel;
        return kept == kNone ? nullptr : &owner.channels[kept].value;
    }

    void endBehavior(const SceneLine& line, std::string_view rest) {
        long long code;
        Extrapolation post;
        if (!input_.wholeNumber(trimmed(rest), line.number, 0, 2, code,
                                "\"EndBehavior N\": 0 reset, 1 constant, 2 repeat"))
            return;
        endBehaviourOfCode(static_cast<int>(code), post);
        for (const OldEnvelope& old : oldEnvelopes_)
            if (Envelope* envelope = oldEnvelope(old)) envelope->post = post;
    }

    // Behaviour codes, as many as `count` asks for.
    bool behaviourCodes(const SceneLine& line, std::string_view rest, std::vector<Extrapolation>& codes,
                        const std::string& usage) {
        std::vector<std::string_view> words;
        splitWords(rest, words);
        codes.clear();
        for (std::string_view word : words) {
            long long code;
            if (!input_.wholeNumber(word, line.number, 0, static_cast<int>(Extrapolation::Linear), code, usage))
                return false;
            codes.emplace_back();
            extrapolationOfCode(static_cast<int>(code), codes.back());
        }
        return true;
    }

    // Version 2: a pair, before and after the keys, for each channel.
    void prePostBehavior(const SceneLine& line, std::string_view rest) {
        std::vector<Extrapolation> codes;
        const std::string usage = "\"Pre/PostBehavior\" gives two behaviours, each from 0 to 5, for each channel";
        if (!behaviourCodes(line, rest, codes, usage)) return;
        if (codes.size() != 2 * oldEnvelopes_.size()) return (void)fail(line, usage);
        for (size_t n = 0; n < oldEnvelopes_.size(); ++n)
            if (Envelope* envelope = oldEnvelope(oldEnvelopes_[n])) {
                envelope->pre = codes[2 * n];
                envelope->post = codes[2 * n + 1];
            }
    }

    // One behaviour for every channel, or one for each.
    void preOrPostBehavior(const SceneLine& line, std::string_view rest) {
        std::string_view keywordRest;
        const bool pre = firstWord(line.text, keywordRest) == "PreBehavior";
        std::vector<Extrapolation> codes;
        const std::string usage = "one behaviour from 0 to 5 for all channels, or one for each";
        if (!behaviourCodes(line, rest, codes, usage)) return;
        if (codes.size() != 1 && codes.size() != oldEnvelopes_.size()) return (void)fail(line, usage);
        for (size_t n = 0; n < oldEnvelopes_.size(); ++n)
            if (Envelope* envelope = oldEnvelope(oldEnvelopes_[n]))
                (pre ? envelope->pre : envelope->post) = codes[codes.size() == 1 ? 0 : n];
    }

    // Hierarchy and pivots.

    void parentItem(const SceneLine& line, std::string_view rest) {
        if (!needItem(line, "ParentItem")) return;
        ItemReference& parent = items_[current_].parent;
        if (!input_.itemNumber(trimmed(rest), line.number, parent.value)) return;
        parent.kind = ReferenceKind::ItemNumber;
        parent.line = line.number;
        parent.text = std::string(trimmed(line.text));
    }

    void parentObject(const SceneLine& line, std::string_view rest) {
        if (!needItem(line, "ParentObject")) return;
        long long place;
        if (!input_.wholeNumber(trimmed(rest), line.number, 0, std::numeric_limits<uint32_t>::max(), place,
                                "\"ParentObject N\" counts objects from 1"))
            return;
        ItemReference& parent = items_[current_].parent;
        parent.kind =
            items_[current_].typeCode == host::kItemTypeBone ? ReferenceKind::BonePlace : ReferenceKind::ObjectPlace;
        parent.value = static_cast<uint32_t>(place);
        parent.line = line.number;
        parent.text = std::string(trimmed(line.text));
    }

    bool threeNumbers(const SceneLine& line, std::string_view rest, double (&numbers)[3], const std::string& usage) {
        std::vector<std::string_view> words;
        splitWords(rest, words);
        if (words.size() != 3) return fail(line, usage);
        for (size_t n = 0; n < 3; ++n)
            if (!input_.number(words[n], line.number, numbers[n], usage)) return false;
        return true;
    }

    void pivot(const SceneLine& line, std::string_view rest) {
        double p[3];
        if (!needItem(line, "a pivot") || !threeNumbers(line, rest, p, "a pivot is three numbers: X Y Z")) return;
        item(current_).pivot = {p[0], p[1], p[2]};
    }

    void pivotRotation(const SceneLine& line, std::string_view rest) {
        double r[3];
        if (!needItem(line, "PivotRotation") ||
            !threeNumbers(line, rest, r, "a pivot's rotation is three angles in degrees: HEADING PITCH BANK"))
            return;
        item(current_).pivotRotation = {r[0], r[1], r[2]};
    }

    // What the simulated host does not compute.

    void target(const SceneLine& line, std::string_view) {
        if (needItem(line, "a target")) noteUnmodelled(item(current_), targetingNote(trimmed(line.text)));
    }

    void goal(const SceneLine& line, std::string_view) {
        if (!needItem(line, "an IK goal")) return;
        items_[current_].goal = std::string(trimmed(line.text));
        noteUnmodelled(item(current_), goalNote(trimmed(line.text)));
    }

    void ikAnchor(const SceneLine& line, std::string_view rest) {
        long long anchor;
        if (needItem(line, "IKAnchor") &&
            input_.wholeNumber(trimmed(rest), line.number, 0, 1, anchor, "\"IKAnchor 1\" anchors a chain"))
            items_[current_].ikAnchor = anchor != 0;
    }

    void controller(const SceneLine& line, std::string_view keyword, std::string_view rest) {
        long long code;
        if (!needItem(line, keyword) ||
            !input_.wholeNumber(trimmed(rest), line.number, 0, std::numeric_limits<int>::max(), code,
                                "a controller is a whole number, 0 for keyframes"))
            return;
        const std::string note = controllerNote(keyword, code);
        if (!note.empty()) noteUnmodelled(item(current_), note);
    }

    // "Plugin CLASS N SERVER", the plug-in's data, "EndPlugin", and
    // "PluginEnabled 0" after it if the plug-in is off.
    void plugin(const SceneLine& line, std::string_view rest) {
        std::string_view server;
        const std::string_view pluginClass = firstWord(rest, server);
        firstWord(server, server);  // its place among its class's
        SceneLine data;
        do {
            if (!input_.lines.next(data))
                return (void)fail(line, "the plug-in's data has no \"EndPlugin\" line after it");
        } while (trimmed(data.text) != kPluginEnd);
        SceneLine next;
        std::vector<std::string_view> words;
        if (input_.lines.peek(next)) splitWords(next.text, words);
        const bool disabled = words.size() == 2 && words[0] == kPluginEnabled && words[1] == "0";
        if (pluginClass == kMotionPluginClass && current_ != kNone && !disabled)
            noteUnmodelled(item(current_), motionPluginNote(trimmed(server)));
    }

    // A block at the level of the scene's lines: passed over, but a motion
    // plug-in in one still moves its item.
    void block(const SceneLine& line) {
        std::string_view rest;
        firstWord(trimmed(line.text).substr(1), rest);
        std::string_view server;
        if (blockName(line.text) == "Plugin" && firstWord(rest, server) == kMotionPluginClass && current_ != kNone)
            noteUnmodelled(item(current_), motionPluginNote(trimmed(server)));
        input_.skipBlock(line);
    }

    // Cameras.

    void focalDistance(const SceneLine& line, std::string_view rest) {
        if (current_ == kNone || items_[current_].typeCode != host::kItemTypeCamera) return;
        double value;
        const std::string_view word = trimmed(rest);
        if (!input_.number(word, line.number, value, "\"FocalDistance METRES\" or \"FocalDistance (envelope)\"") ||
            given(line, current_, kFocalDistanceChannel))
            return;
        setChannel(current_, kFocalDistanceChannel, Envelope::constant(value));
        cameras_[items_[current_].index].focalDistance = true;
        ValueLinePlace place;
        place.item = item(current_).serial;
        place.begin = line.begin;
        place.end = line.begin + line.text.size();
        place.value = std::string(word);
        size_t& kept = cameras_[items_[current_].index].valueLine;
        if (kept != kNone) return (void)(kept_->focalDistanceValues[kept] = std::move(place));
        kept = kept_->focalDistanceValues.size();
        kept_->focalDistanceValues.push_back(std::move(place));
    }

    void depthOfField(const SceneLine& line, std::string_view) {
        if (current_ != kNone && items_[current_].typeCode == host::kItemTypeCamera)
            cameras_[items_[current_].index].depthOfField = line.end();
    }

    void apertureHeight(const SceneLine& line, std::string_view) {
        if (current_ != kNone && items_[current_].typeCode == host::kItemTypeCamera)
            cameras_[items_[current_].index].aperture = line.end();
    }

    // The frames.

    void frameNumber(const SceneLine& line, std::string_view rest, int least, int& frame, int& frameLine,
                     std::string_view usage = "a frame is a whole number") {
        long long value;
        if (!input_.wholeNumber(trimmed(rest), line.number, least, std::numeric_limits<int>::max(), value, usage))
            return;
        frame = static_cast<int>(value);
        frameLine = line.number;
    }

    void firstFrame(const SceneLine& line, std::string_view rest) {
        frameNumber(line, rest, std::numeric_limits<int>::min(), scene().firstFrame, framesLine_);
    }

    void lastFrame(const SceneLine& line, std::string_view rest) {
        frameNumber(line, rest, std::numeric_limits<int>::min(), scene().lastFrame, framesLine_);
    }

    void frameStep(const SceneLine& line, std::string_view rest) {
        int ignored;
        frameNumber(line, rest, 1, scene().frameStep, ignored, "a run evaluates every FrameStep-th frame");
    }

    void framesPerSecond(const SceneLine& line, std::string_view rest) {
        const std::string usage = "\"FramesPerSecond N\" with N above 0";
        double rate;
        if (!input_.number(trimmed(rest), line.number, rate, usage)) return;
        if (!(rate > 0)) return (void)fail(line, usage);
        scene().framesPerSecond = rate;
        fpsLine_ = line.number;
    }

    // After the last line.

    void finish() {
        Scene& s = scene();
        const long long count = static_cast<long long>(s.lastFrame) - s.firstFrame + 1;
        if (count < 1) return (void)input_.fail(framesLine_, "the last frame comes before the first");
        if (count > kMaxFrames)
            return (void)input_.fail(framesLine_, "more than " + std::to_string(kMaxFrames) + " frames");
        for (int frame : {s.firstFrame, s.lastFrame})
            if (!std::isfinite(s.timeOfFrame(frame)))
                return (void)input_.fail(fpsLine_, "frame " + std::to_string(frame) + " at " +
                                                       formatNumber(s.framesPerSecond) +
                                                       " frames a second has no finite time");
        if (version_ == kOldestVersion && !framesToSeconds()) return;
        defaultFocalDistances();
        if (!resolveHierarchy(input_, version_, items_, s)) return;
    }

    // Version 1 keys frames.
    bool framesToSeconds() {
        Scene& s = scene();
        for (std::vector<SceneItem>* list : {&s.objects, &s.lights, &s.cameras, &s.bones})
            for (SceneItem& each : *list) {
                for (Envelope& channel : each.motion.channels)
                    if (!framesToSeconds(channel)) return false;
                for (NamedChannel& channel : each.channels)
                    if (!framesToSeconds(channel.value)) return false;
            }
        return true;
    }

    bool framesToSeconds(Envelope& envelope) {
        for (EnvelopeKey& key : envelope.keys) {
            key.time = scene().timeOfFrame(key.time);
            if (!std::isfinite(key.time))
                return input_.fail(fpsLine_, "a key's frame at " + formatNumber(scene().framesPerSecond) +
                                                 " frames a second has no finite time");
        }
        return true;
    }

    void defaultFocalDistances() {
        for (size_t declared = 0; declared < items_.size(); ++declared) {
            if (items_[declared].typeCode != host::kItemTypeCamera) continue;
            const CameraAnchors& anchors = cameras_[items_[declared].index];
            if (anchors.focalDistance) continue;
            setChannel(declared, kFocalDistanceChannel, Envelope::constant(kDefaultFocalDistance));
            size_t at = anchors.declaration;
            for (size_t anchor : {anchors.motion, anchors.aperture, anchors.depthOfField})
                if (anchor != kNone) at = anchor;
            kept_->focalDistanceInserts.push_back({item(declared).serial, at, endingBefore(text_, at)});
        }
    }

    const std::string& text_;
    std::string source_;
    HostSceneInput input_;
    SceneParse result_;
    std::shared_ptr<HostSceneText> kept_ = std::make_shared<HostSceneText>();
    int version_ = 0;
    std::vector<DeclaredItem> items_;
    std::vector<CameraAnchors> cameras_;  // by place in the scene's list
    std::vector<unsigned> channelsSeen_;  // the motion channels read, a bit each, by place among the declared
    size_t current_ = kNone;              // the item whose section this is, as its place among the declared
    size_t motion_ = kNone;               // the item whose motion's channels follow
    size_t lastObject_ = kNone;           // the object the next bone belongs to
    std::vector<OldEnvelope> oldEnvelopes_;
    std::unordered_map<std::string, NamedPlaces> named_;  // by the item's place among the declared and the name
    int framesLine_ = 0;
    int fpsLine_ = 0;
};

}  // namespace

bool isHostSceneText(const std::string& text) {
    const size_t start =
        text.compare(0, sizeof kByteOrderMark - 1, kByteOrderMark) == 0 ? sizeof kByteOrderMark - 1 : 0;
    return text.compare(start, sizeof kMagic - 1, kMagic) == 0;
}

SceneParse parseHostScene(const std::string& text, const std::string& sourceName, size_t maxKeys) {
    return Reader(text, sourceName, maxKeys).read();
}

}  // namespace sim
