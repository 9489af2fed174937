#include "simhost/validate/check_rig.h"

#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "simhost/modifiers/modifier_promises.h"
#include "simhost/modifiers/reference_facts.h"
#include "simhost/platform/crash_report.h"

namespace sim {

const HostProtocol kClassicProtocol = {"classic", HostKind::Classic, host::kClassicClassVersion, false};
const HostProtocol kCurrentProtocol = {"current", HostKind::Current, host::kCurrentClassVersion, true};

namespace {

// No popup entry, no place in a list, no value: what the functions below
// give when there is none to give. Not the module's own "(none)" choice.
const int32_t kNoEntry = -1;

// The panel's calls into the module, for the line a module that ends the
// process in one ends validate --in-this-process with.
const char kPopupCall[] = "the options panel's popup functions";
const char kGetCall[] = "the options panel's get";
const char kSetCall[] = "the options panel's set";

const char* labelOf(Popup popup) {
    return popup == Popup::Item ? reference_facts::kItemLabel : reference_facts::kCameraLabel;
}

}  // namespace

int32_t entryOfPlace(const std::vector<std::string>& entries, size_t place) {
    size_t items = 0;
    for (size_t entry = 0; entry < entries.size(); ++entry)
        if (entries[entry] != reference_facts::kNoneEntry && items++ == place) return static_cast<int32_t>(entry);
    return kNoEntry;
}

int32_t noneEntryOf(const std::vector<std::string>& entries) {
    for (size_t entry = 0; entry < entries.size(); ++entry)
        if (entries[entry] == reference_facts::kNoneEntry) return static_cast<int32_t>(entry);
    return kNoEntry;
}

long placeOfEntry(const std::vector<std::string>& entries, int32_t entry) {
    if (entry < 0 || static_cast<size_t>(entry) >= entries.size()) return kNoEntry;
    if (entries[static_cast<size_t>(entry)] == reference_facts::kNoneEntry) return kNoEntry;
    long place = 0;
    for (int32_t before = 0; before < entry; ++before)
        if (entries[static_cast<size_t>(before)] != reference_facts::kNoneEntry) ++place;
    return place;
}

CheckRig::CheckRig(const LoadedModule& module, const HostProtocol& protocol, const ValidatedModifier& modifier,
                   Expect& expect, Scene scene)
    : module_(module),
      protocol_(protocol),
      modifier_(modifier),
      expect_(expect),
      scene_(std::move(scene)),
      driver_(scene_, protocol.host) {}

CheckRig::~CheckRig() {
    while (!driver_.instances().empty()) driver_.destroy(driver_.instances().front());
    noteViolations();
}

bool CheckRig::bind() {
    const ServerEntry* server = module_.findServer(HOST_CHANNEL_HANDLER_CLASS, modifier_.name);
    if (!expect_.that(server != nullptr, [&] { return "no " + modifier_.serverText(HOST_CHANNEL_HANDLER_CLASS); }))
        return false;
    int result = driver_.handler().activate(module_, *server, protocol_.version);
    noteViolations();
    return expect_.that(result == host::kActivationOk,
                        [&] { return "the handler activation returned " + describeActivationResult(result); }) &&
           expect_.that(driver_.handler().complete(),
                        "the handler activation left functions of the handler record empty");
}

host::InstanceHandle CheckRig::newInstance() {
    host::InstanceHandle instance = driver_.create();
    noteViolations();
    if (!expect_.that(instance != nullptr, "create returned no instance")) return nullptr;
    return instance;
}

host::InstanceHandle CheckRig::loaded(const std::vector<std::string>& block, std::string* error) {
    host::InstanceHandle instance = newInstance();
    if (instance == nullptr) return nullptr;
    const char* text = driver_.load(instance, block);
    if (error != nullptr) *error = text != nullptr ? text : "";
    noteViolations();
    return instance;
}

void CheckRig::discard(host::InstanceHandle instance) {
    driver_.destroy(instance);
    noteViolations();
}

Evaluation CheckRig::evaluated(host::InstanceHandle instance, double time) {
    ChannelAccessRecord access(static_cast<int>(scene_.frameOfTime(time)), time, scene_.channelValueAt(time));
    driver_.evaluate(instance, access);
    std::string problem = modifier_.evaluationProblem(access);
    expect_.that(problem.empty(), problem);
    std::string call = modifier_.channelPromise(access);
    if (!call.empty() && brokenCallPromise_.empty()) brokenCallPromise_ = call;
    noteViolations();
    Evaluation result;
    result.set = !access.setCalls().empty();
    if (result.set) result.value = access.setCalls().back();
    return result;
}

std::vector<BlockWriter::Unit> CheckRig::saved(host::InstanceHandle instance, std::string* error) {
    BlockWriter writer;
    const char* text = driver_.save(instance, writer);
    if (error != nullptr) *error = text != nullptr ? text : "";
    noteViolations();
    return writer.units();
}

std::string CheckRig::copied(host::InstanceHandle to, host::InstanceHandle from) {
    const char* error = driver_.handler().copy(to, from);
    noteViolations();
    return error != nullptr ? error : "";
}

bool CheckRig::openPanel(host::InstanceHandle instance, OpenedPanel& opened) {
    opened = OpenedPanel();
    const ServerEntry* server = module_.findServer(HOST_CHANNEL_INTERFACE_CLASS, modifier_.name);
    InterfaceBinding binding;
    int result = server != nullptr ? binding.activate(module_, *server, instance, protocol_.version) : -1;
    noteViolations();
    if (result == host::kActivationOk) opened.panel = driver_.session().panels().panelOf(binding.record().panel);
    if (!expect_.that(opened.panel != nullptr, "no options panel was built")) return false;
    for (const SimControl& control : opened.panel->controls) {
        if (control.label == labelOf(Popup::Item)) opened.item = control.id;
        if (control.label == labelOf(Popup::Camera)) opened.camera = control.id;
    }
    return expect_.that(opened.item != 0 && opened.camera != 0, [] {
        return "the panel lacks a popup labelled \"" + std::string(reference_facts::kItemLabel) + "\" or \"" +
               reference_facts::kCameraLabel + "\"";
    });
}

std::vector<std::string> CheckRig::entries(const OpenedPanel& opened, Popup popup) {
    std::vector<std::string> entries;
    {
        ModuleCallMark mark(kPopupCall);
        entries = driver_.session().panels().popupEntries(*opened.panel, opened.control(popup));
    }
    noteViolations();
    return entries;
}

int32_t CheckRig::choice(const OpenedPanel& opened, Popup popup) {
    const int32_t* value;
    {
        ModuleCallMark mark(kGetCall);
        value = driver_.session().panels().valueOf(*opened.panel, opened.control(popup));
    }
    noteViolations();
    if (!expect_.that(value != nullptr,
                      [&] { return "get gives no value for \"" + std::string(labelOf(popup)) + "\""; }))
        return kNoEntry;
    return *value;
}

int CheckRig::choose(const OpenedPanel& opened, Popup popup, int32_t value) {
    if (!expect_.that(opened.panel->set != nullptr, "the panel has no set function")) return kNoEntry;
    int refresh;
    {
        ModuleCallMark mark(kSetCall);
        refresh = opened.panel->set(opened.panel->instance, opened.control(popup), &value);
    }
    noteViolations();
    return refresh;
}

bool CheckRig::edited(const std::string& error) {
    noteViolations();
    return expect_.that(error.empty(), error);
}

bool CheckRig::deleteItem(const std::string& name) {
    SceneEdit edit;
    edit.kind = EditKind::Delete;
    edit.name = name;
    return edited(driver_.edit(edit).error);
}

bool CheckRig::renameItem(const std::string& name, const std::string& newName) {
    SceneEdit edit;
    edit.kind = EditKind::Rename;
    edit.name = name;
    edit.newName = newName;
    return edited(driver_.edit(edit).error);
}

bool CheckRig::addItem(int typeCode, const std::string& name) {
    SceneEdit edit;
    edit.kind = EditKind::Add;
    edit.typeCode = typeCode;
    edit.name = name;
    return edited(driver_.edit(edit).error);
}

bool CheckRig::moveItem(int typeCode, size_t from, size_t to) { return edited(driver_.move(typeCode, from, to).error); }

host::ItemId CheckRig::idOfItem(const std::string& name) {
    for (int typeCode : {host::kItemTypeObject, host::kItemTypeCamera}) {
        const std::vector<SceneItem>& list = *driver_.session().listOfType(typeCode);
        for (size_t index = 0; index < list.size(); ++index)
            if (list[index].name == name) return driver_.session().idOf(typeCode, index);
    }
    return nullptr;
}

void CheckRig::noteViolations() {
    const std::vector<std::string>& violations = driver_.session().violations();
    if (violationsSeen_ < violations.size()) expect_.fail("host check: " + violations[violationsSeen_]);
    violationsSeen_ = violations.size();
    const std::vector<std::string>& heldCalls = driver_.session().heldServiceCalls();
    if (!heldCalls.empty() && brokenCallPromise_.empty())
        brokenCallPromise_ = heldServicePromise(modifier_.name, heldCalls.front());
}

}  // namespace sim
