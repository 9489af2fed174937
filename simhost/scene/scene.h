// A scene of the simulated host: its items in the host's four lists, each
// with its motion, pivot and parent; the frame range; the channel that
// carries the modifier, with its own value and the lines the scene file
// holds for the modifier; and the edits of its items that a run makes
// between evaluations. Both scene formats read into it: the simulated
// host's own (scene_file.h) and the host's (host_scene_file.h).
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "simhost/scene/envelope.h"
#include "simhost/scene/item_motion.h"
#include "simhost/scene/scene_edit_text.h"

namespace sim {

struct HostSceneText;

// No item: a parent of an item at the top of the hierarchy.
const size_t kNoItem = static_cast<size_t>(-1);

// A channel of an item's besides its motion, keyed in its scene file (a
// camera's "FocalDistance").
struct NamedChannel {
    std::string name;
    Envelope value;
};

// A channel modifier's block as the host's scene file holds it: inside the
// envelope of one channel, under the name of the server that saved it.
struct ChannelModifierBlock {
    size_t item = 0;                 // the serial of the channel's item
    std::string channel;             // "Position.X", "FocalDistance"
    std::string server;              // the server's name, as the block gives it
    unsigned flags = 0;              // the host's word for the server in the block: 0 runs it
    std::vector<std::string> lines;  // the module's lines, the file's indentation taken off
    int lineNumber = 0;              // of the block's first line, for messages
};

struct SceneItem {
    std::string name;
    ItemMotion motion;
    std::vector<NamedChannel> channels;  // besides the motion's
    Vec3 pivot;                          // the origin of its rotations, in its own coordinates
    Rotation pivotRotation;              // in degrees, turning its axes before its own rotation
    size_t serial = kNoItem;             // given by the scene, never reused within it
    size_t parent = kNoItem;             // the parent's serial
    // What the host would add to the motion from its keys and the simulated
    // host does not compute (targeting, IK, a motion plug-in...), each in a
    // few words; the item moves by its keys alone here.
    std::vector<std::string> unmodelled;
};

// What the time of an item's keys counts: the simulated host's own scene
// file keys frames, the host's seconds.
enum class MotionClock { Frames, Seconds };

struct Scene {
    // In list order; an item's ID is its place here (services/item_ids.h).
    // Items join through add, so that each has its serial.
    std::vector<SceneItem> objects;
    std::vector<SceneItem> lights;
    std::vector<SceneItem> cameras;
    std::vector<SceneItem> bones;

    int firstFrame = 0;
    int lastFrame = 0;
    int frameStep = 1;  // a run evaluates firstFrame, firstFrame + frameStep, ... up to lastFrame
    double framesPerSecond = 24;
    MotionClock clock = MotionClock::Frames;

    std::string channelName = "Channel";            // the channel that carries the modifier
    Envelope channelValue = Envelope::constant(0);  // its value before the modifier
    std::vector<std::string> modifierBlock;         // the modifier's lines in the scene file; empty for a new modifier
    bool binaryBlock = false;      // whether the block is binary (an object file's), its lines then its bytes in hex
    std::vector<SceneEdit> edits;  // edits of the items between evaluations, in the order given

    // The host's scene file it was read from, kept to be written back with
    // every line the run does not change; null for any other scene.
    std::shared_ptr<const HostSceneText> hostText;
    // The channel modifiers' blocks that file holds, in its order.
    std::vector<ChannelModifierBlock> channelModifiers;

    SceneItem& addObject(const std::string& name, Vec3 position = Vec3());
    SceneItem& addCamera(const std::string& name, Vec3 position = Vec3());
    // Adds an unkeyed item to the list of `typeCode` (host/host_types.h).
    SceneItem& add(int typeCode, const std::string& name);

    // The list of a host item type; null for a type the host does not have.
    std::vector<SceneItem>* list(int typeCode);
    const std::vector<SceneItem>* list(int typeCode) const;

    // Erases the item at `index` of its list; its children lose their parent.
    // Costs the items after it in that list, which move down a place.
    void erase(int typeCode, size_t index);
    // Renames the item at `index` of its list.
    void rename(int typeCode, size_t index, const std::string& name);

    // The first item named `name` in the first of `typeCodes`' lists that
    // holds one; false when none does. Costs the items of that name, through
    // an index of names kept by add, erase and rename (a name changed behind
    // the scene's back is found by a walk of the lists, once the index fails).
    bool firstNamed(const std::string& name, const std::vector<int>& typeCodes, int& typeCode, size_t& index) const;

    // The item of a serial; null when it names none (deleted, or kNoItem).
    // Costs a walk of every list once after an erase, then nothing.
    const SceneItem* itemOfSerial(size_t serial) const;
    const SceneItem* parentOf(const SceneItem& item) const { return itemOfSerial(item.parent); }
    // The list and place of the item of a serial; false when it names none.
    bool placeOfSerial(size_t serial, int& typeCode, size_t& index) const;

    double timeOfFrame(double frame) const { return frame / framesPerSecond; }
    double frameOfTime(double time) const { return time * framesPerSecond; }
    // A time in seconds on the clock the items' keys count.
    double motionTime(double time) const { return clock == MotionClock::Frames ? frameOfTime(time) : time; }
    double channelValueAt(double time) const { return channelValue.valueAt(motionTime(time)); }

private:
    struct Place {
        int typeCode = -1;  // no item
        size_t index = 0;
    };
    void placeAll() const;
    bool walkForName(const std::string& name, const std::vector<int>& typeCodes, int& typeCode, size_t& index) const;

    size_t nextSerial_ = 0;
    mutable std::vector<Place> places_;  // by serial
    mutable bool placesStale_ = false;
    void indexName(const std::string& name, size_t serial) const;

    // The serials of the items of each name, by the name's hash, built at the
    // first question; an entry may outlive its item's name, and is checked
    // before it counts.
    mutable std::unordered_multimap<size_t, size_t> named_;
    mutable bool namesIndexed_ = false;
};

}  // namespace sim
