// The rig a check drives a module on: the module's handler bound over a
// scene by a host of one protocol, the instances it made, the options panel,
// and edits of the scene's items. Every call the host forbids, and every
// evaluation that breaks the host's rules or the modifier's promises of its
// value, is a failure of the check in progress, through its Expect. A call
// the modifier promises never to make (a channel read, a message) is noted
// for the calls check alone, so that such a fault fails that check.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "simhost/run/handler_driver.h"
#include "simhost/services/module_loader.h"
#include "simhost/validate/check_outcome.h"
#include "simhost/validate/check_scene.h"
#include "simhost/validate/validated_modifier.h"

namespace sim {

// A protocol the module may serve: the host that speaks it and its version.
struct HostProtocol {
    const char* name;  // "classic" or "current": the checks' IDs begin with it
    HostKind host;
    int version;
    bool optional;  // a module need not serve it; if it does not, its checks are skipped
};

extern const HostProtocol kClassicProtocol;
extern const HostProtocol kCurrentProtocol;

// The panel's two popups.
enum class Popup { Item, Camera };

// The options panel, its popups found by their labels.
struct OpenedPanel {
    SimPanel* panel = nullptr;
    uint32_t item = 0, camera = 0;  // control IDs
    uint32_t control(Popup popup) const { return popup == Popup::Item ? item : camera; }
};

// The popup entry of the item at `place` (0-based) of its list: the entries
// other than "(none)" are the list's items in order. -1 when there is none.
int32_t entryOfPlace(const std::vector<std::string>& entries, size_t place);
// The popup entry "(none)"; -1 when there is none.
int32_t noneEntryOf(const std::vector<std::string>& entries);
// The place in its list of the item a popup entry shows; -1 for "(none)" or
// an index outside the popup.
long placeOfEntry(const std::vector<std::string>& entries, int32_t entry);

class CheckRig {
public:
    CheckRig(const LoadedModule& module, const HostProtocol& protocol, const ValidatedModifier& modifier,
             Expect& expect, Scene scene = checkScene());
    ~CheckRig();  // destroys the instances made here
    CheckRig(const CheckRig&) = delete;
    CheckRig& operator=(const CheckRig&) = delete;

    const LoadedModule& module() const { return module_; }
    const HostProtocol& protocol() const { return protocol_; }
    const ValidatedModifier& modifier() const { return modifier_; }
    // The block the modifier saves for references of these names.
    std::vector<std::string> referenceBlock(const std::string& item, const std::string& camera) const {
        return modifier_.referenceBlock(item, camera);
    }
    // What the modifier sets for the host's own distance.
    double expectedValue(double hostDistance) const {
        return hostDistance < modifier_.leastValue ? modifier_.leastValue : hostDistance;
    }
    Expect& expect() { return expect_; }
    Scene& scene() { return scene_; }
    const Scene& scene() const { return scene_; }
    HostSession& session() { return driver_.session(); }
    HandlerBinding& handler() { return driver_.handler(); }
    const std::vector<host::InstanceHandle>& instances() const { return driver_.instances(); }
    double timeOfFrame(int frame) const { return scene_.timeOfFrame(frame); }

    // Binds the handler with the protocol's version; false, failing the
    // check, when it is refused or leaves the record incomplete.
    bool bind();

    // A new instance, or null, failing the check.
    host::InstanceHandle newInstance();
    // A new instance that loaded `block`; load's error text, if any, goes to
    // `error`. Null when create failed.
    host::InstanceHandle loaded(const std::vector<std::string>& block, std::string* error = nullptr);
    void discard(host::InstanceHandle instance);
    Evaluation evaluated(host::InstanceHandle instance, double time);
    // What save wrote; its error text, if any, goes to `error`.
    std::vector<BlockWriter::Unit> saved(host::InstanceHandle instance, std::string* error = nullptr);
    std::vector<std::string> savedLines(host::InstanceHandle instance) { return linesOf(saved(instance)); }
    // Copy's error text, or "".
    std::string copied(host::InstanceHandle to, host::InstanceHandle from);

    // Opens the options panel on `instance` with the protocol's version;
    // false, failing the check, when there is none or a popup is missing.
    bool openPanel(host::InstanceHandle instance, OpenedPanel& opened);
    std::vector<std::string> entries(const OpenedPanel& opened, Popup popup);
    // The popup's value through get; -1, failing the check, when get gives none.
    int32_t choice(const OpenedPanel& opened, Popup popup);
    // Sets the popup's value through set; set's refresh code.
    int choose(const OpenedPanel& opened, Popup popup, int32_t value);

    // Edits of the items, announced to every instance made here; false,
    // failing the check, when the edit cannot be made.
    bool deleteItem(const std::string& name);
    bool renameItem(const std::string& name, const std::string& newName);
    bool moveItem(int typeCode, size_t from, size_t to);
    bool addItem(int typeCode, const std::string& name);
    // The ID the host hands out now for the first item of that name.
    host::ItemId idOfItem(const std::string& name);

    // Fails the check with the host's first violation since the last look,
    // and notes the first call the modifier promises never to make.
    void noteViolations();
    // That call, as the modifier's broken promise, or "" while none was made.
    const std::string& brokenCallPromise() const { return brokenCallPromise_; }

private:
    bool edited(const std::string& error);

    const LoadedModule& module_;
    const HostProtocol& protocol_;
    const ValidatedModifier& modifier_;
    Expect& expect_;
    Scene scene_;
    HandlerDriver driver_;
    size_t violationsSeen_ = 0;
    std::string brokenCallPromise_;
};

}  // namespace sim
