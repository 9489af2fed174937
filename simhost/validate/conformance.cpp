#include "simhost/validate/conformance.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <random>
#include <sstream>

#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "host/panel_toolkit.h"
#include "simhost/modifiers/kelto_facts.h"
#include "simhost/run/edit_application.h"
#include "simhost/services/host_session.h"
#include "simhost/services/module_loader.h"
#include "simhost/services/server_bindings.h"
#include "simhost/text/text_format.h"

namespace sim {

namespace {

using kelto_facts::kServerName;
using kelto_facts::kItemControl;
using kelto_facts::kCameraControl;
using kelto_facts::referenceBlock;
using kelto_facts::serverText;

const int kLoadCycles = 16;
const int kInstances = 500;
const int kRandomBlocks = 300;
const int kRandomPicks = 200;
const int kRandomTimes = 300;
// Distances agree with the host's own to this relative error: the module may
// sum in its own order, but no more than a few roundings apart.
const double kRelativeTolerance = 1e-12;
const int kWrongVersions[] = {0, 1, 2, 3, 6, 99, -1, INT_MAX, INT_MIN};

// A protocol the module may serve: the host that speaks it and its version.
struct HostProtocol {
    const char* name;
    HostKind host;
    int version;
};

const HostProtocol kClassic = {"classic", HostKind::Classic, host::kClassicClassVersion};
const HostProtocol kCurrent = {"current", HostKind::Current, host::kCurrentClassVersion};

// The scene every check runs over: items that move, names with blanks, an
// object named "none", and a camera that shares an object's name.
Scene checkScene() {
    Scene scene;
    scene.firstFrame = 0;
    scene.lastFrame = 48;
    scene.addObject("Ball", {-12, 0.5, 6}).keys.push_back({48, {12, 0.5, 6}});
    scene.addObject("Ground", {0, 0, 0});
    scene.addObject("Tall Tree", {4, 7.5, -3}).keys.push_back({24, {4, 9, -3}});
    scene.addObject(kelto_facts::kNoneName, {1, 1, 1});
    scene.addCamera("Camera", {0, 1.6, 0}).keys.push_back({48, {0, 1.6, 12}});
    scene.addCamera("Close-up", {2, 0.8, 3});
    scene.addCamera("Tall Tree", {-5, 2, 2});
    return scene;
}

const SceneItem* findByName(const Scene& scene, const std::string& name) {
    for (const std::vector<SceneItem>* list : {&scene.objects, &scene.cameras})
        for (const SceneItem& item : *list)
            if (item.name == name) return &item;
    return nullptr;
}

// The distance the host itself finds between two items at `time`.
double hostDistance(const Scene& scene, const SceneItem& a, const SceneItem& b, double time) {
    Vec3 p = a.positionAtFrame(scene.frameOfTime(time)), q = b.positionAtFrame(scene.frameOfTime(time));
    return std::sqrt((p.z - q.z) * (p.z - q.z) + (p.y - q.y) * (p.y - q.y) + (p.x - q.x) * (p.x - q.x));
}

// The same between the items that two names find, objects first.
double expectedDistance(const Scene& scene, const std::string& item, const std::string& camera, double time) {
    const SceneItem* a = findByName(scene, item);
    const SceneItem* b = findByName(scene, camera);
    return a != nullptr && b != nullptr ? hostDistance(scene, *a, *b, time) : std::nan("");
}

bool agrees(double value, double expected) {
    return std::fabs(value - expected) <= kRelativeTolerance * std::max(1.0, std::fabs(expected));
}

std::string numberText(double value) {
    std::ostringstream out;
    out.precision(17);
    out << value;
    return out.str();
}

// One evaluation: the value set, or nothing.
struct Evaluation {
    bool set = false;
    double value = 0;
};

// A module bound over the check scene by a host of one protocol.
class Bench {
public:
    Bench(const LoadedModule& module, const HostProtocol& protocol, Scene scene = checkScene())
        : module_(module), protocol_(protocol), scene_(std::move(scene)), session_(scene_) {
        session_.setKind(protocol.host);
    }
    ~Bench() {
        for (host::InstanceHandle instance : instances_) handler_.destroy(instance);
    }

    Scene& scene() { return scene_; }
    HostSession& session() { return session_; }
    HandlerBinding& handler() { return handler_; }

    // Binds the handler with the protocol's version; "" or why it failed.
    std::string bind() {
        const ServerEntry* server = module_.findServer(HOST_CHANNEL_HANDLER_CLASS, kServerName);
        if (server == nullptr) return "no " + serverText(HOST_CHANNEL_HANDLER_CLASS);
        int result = handler_.activate(module_, *server, protocol_.version);
        if (result != host::kActivationOk) return "the handler activation returned " + describeActivationResult(result);
        if (!handler_.complete()) return "the handler activation left functions of the handler record empty";
        return "";
    }

    host::InstanceHandle newInstance() {
        host::InstanceHandle instance = handler_.create();
        if (instance != nullptr) instances_.push_back(instance);
        return instance;
    }

    void discard(host::InstanceHandle instance) {
        for (size_t i = 0; i < instances_.size(); ++i)
            if (instances_[i] == instance) instances_.erase(instances_.begin() + long(i));
        handler_.destroy(instance);
    }

    host::InstanceHandle loaded(const std::vector<std::string>& block) {
        host::InstanceHandle instance = newInstance();
        if (instance == nullptr) return nullptr;
        BlockReader reader(block);
        handler_.load(instance, reader);
        return instance;
    }

    // Evaluates at `time`. The first rule or promise the evaluation broke
    // goes to `failure`, unless that already holds an earlier one.
    Evaluation evaluated(host::InstanceHandle instance, double time, std::string& failure) {
        ChannelAccessRecord access(int(scene_.frameOfTime(time)), time, scene_.channelValue);
        handler_.evaluate(instance, access);
        if (failure.empty()) failure = kelto_facts::evaluationProblem(access);
        Evaluation result;
        result.set = !access.setCalls().empty();
        if (result.set) result.value = access.setCalls().back();
        return result;
    }

    std::vector<BlockWriter::Unit> saved(host::InstanceHandle instance) {
        BlockWriter writer;
        const char* error = handler_.save(instance, writer);
        if (error != nullptr && saveError_.empty()) saveError_ = "save returned the error \"" + std::string(error) + "\"";
        return writer.units();
    }

    // Opens the options panel as the protocol's host does; null when none.
    SimPanel* openedPanel(host::InstanceHandle instance) {
        const ServerEntry* server = module_.findServer(HOST_CHANNEL_INTERFACE_CLASS, kServerName);
        if (server == nullptr) return nullptr;
        InterfaceBinding binding;
        if (binding.activate(module_, *server, instance, protocol_.version) != host::kActivationOk) return nullptr;
        return session_.panels().panelOf(binding.record().panel);
    }

    // The first call a module should not have made, or a save that said it
    // failed; "" when there was neither.
    std::string firstViolation() const {
        if (!session_.violations().empty()) return "host check: " + session_.violations().front();
        return saveError_;
    }

private:
    const LoadedModule& module_;
    const HostProtocol& protocol_;
    Scene scene_;
    HostSession session_;
    HandlerBinding handler_;
    std::vector<host::InstanceHandle> instances_;
    std::string saveError_;
};

// What a saved block must look like: six units, each a line whose length
// counts its NUL, the keywords in place, names that fit the module's buffer.
std::string blockProblem(const std::vector<BlockWriter::Unit>& units) {
    if (units.size() != kelto_facts::kBlockLines)
        return "save wrote " + std::to_string(units.size()) + " units, not " + std::to_string(kelto_facts::kBlockLines);
    const std::vector<std::string> keywords = referenceBlock("", "");
    for (size_t i = 0; i < units.size(); ++i) {
        const BlockWriter::Unit& unit = units[i];
        if (unit.length != int(unit.line().size()) + 1 || unit.bytes.size() != size_t(unit.length))
            return "unit " + std::to_string(i + 1) + " has length " + std::to_string(unit.length) +
                   " for a line of " + std::to_string(unit.line().size()) + " bytes";
        if (unit.bytes.size() > kelto_facts::kNameBufferSize)
            return "unit " + std::to_string(i + 1) + " is longer than " + std::to_string(kelto_facts::kNameBufferSize) +
                   " bytes";
        if (!keywords[i].empty() && unit.line() != keywords[i])
            return "unit " + std::to_string(i + 1) + " is \"" + unit.line() + "\", not " + keywords[i];
    }
    return "";
}

bool sameUnits(const std::vector<BlockWriter::Unit>& a, const std::vector<BlockWriter::Unit>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].bytes != b[i].bytes || a[i].length != b[i].length) return false;
    return true;
}

// A line of a random block: keywords whole, cut or spoilt, names of the
// scene, junk, empty lines, long lines.
std::string randomLine(std::mt19937& random) {
    static const std::string kPieces[] = {
        kelto_facts::kBlockStart, kelto_facts::kBlockEnd, kelto_facts::kItemKeyword, kelto_facts::kCameraKeyword,
        "REFERENCE", "KELTO", "Ball", "Ground", "Tall Tree", "Camera", "Close-up", kelto_facts::kNoneName, "", " ",
        std::string(kelto_facts::kItemKeyword) + " extra", "\t", "K"};
    const size_t pieces = sizeof kPieces / sizeof kPieces[0];
    std::uniform_int_distribution<int> kind(0, 9);
    int k = kind(random);
    if (k < 7) return kPieces[std::uniform_int_distribution<size_t>(0, pieces - 1)(random)];
    std::uniform_int_distribution<int> length(0, k == 9 ? 600 : 40), byte(1, 255);
    std::string line(size_t(length(random)), 'x');
    for (char& c : line) c = char(byte(random));
    return line;
}

std::vector<std::string> randomBlock(std::mt19937& random) {
    std::vector<std::string> block;
    if (std::uniform_int_distribution<int>(0, 3)(random) != 0) block.push_back(kelto_facts::kBlockStart);
    int lines = std::uniform_int_distribution<int>(0, 12)(random);
    for (int i = 0; i < lines; ++i) block.push_back(randomLine(random));
    return block;
}

// ---- the checks; each returns "" when it passed, else why it failed ----

std::string checkDescriptor(const std::string&, const LoadedModule& module) {
    const host::ModuleDescriptor& d = module.descriptor();
    if (d.machineCode != host::kMachineCodeWindows && d.machineCode != host::kMachineCodeMac)
        return "machine code " + hexText(d.machineCode) + " is no host platform's";
    if (d.shutdown == nullptr) return "the descriptor has no shut-down function";
    for (const char* serverClass : {HOST_CHANNEL_HANDLER_CLASS, HOST_CHANNEL_INTERFACE_CLASS})
        if (module.findServer(serverClass, kServerName) == nullptr) return "no " + serverText(serverClass);
    for (size_t i = 0; i < module.servers().size(); ++i)
        for (size_t j = i + 1; j < module.servers().size(); ++j)
            if (module.servers()[i].className == module.servers()[j].className &&
                module.servers()[i].serverName == module.servers()[j].serverName)
                return "the server " + module.servers()[i].className + " \"" + module.servers()[i].serverName +
                       "\" is listed twice";
    return "";
}

std::string checkRepeatedLoads(const std::string& path, const LoadedModule&) {
    for (int cycle = 0; cycle < kLoadCycles; ++cycle) {
        LoadResult loaded = LoadedModule::load(path);
        if (!loaded.module) return "load " + std::to_string(cycle + 1) + ": " + loaded.error;
        Bench bench(*loaded.module, kClassic);
        std::string failure = bench.bind();
        host::InstanceHandle instance = failure.empty() ? bench.loaded(referenceBlock("Ball", "Camera")) : nullptr;
        if (failure.empty() && instance == nullptr) failure = "no instance";
        if (failure.empty() && !bench.evaluated(instance, 0, failure).set && failure.empty())
            failure = "the channel was not set";
        if (failure.empty()) failure = bench.firstViolation();
        if (!failure.empty()) return "load " + std::to_string(cycle + 1) + ": " + failure;
    }
    return "";
}

std::string checkWrongVersions(const LoadedModule& module, const HostProtocol& protocol, std::mt19937&) {
    Bench bench(module, protocol);
    const ServerEntry* handlerServer = module.findServer(HOST_CHANNEL_HANDLER_CLASS, kServerName);
    const ServerEntry* interfaceServer = module.findServer(HOST_CHANNEL_INTERFACE_CLASS, kServerName);
    if (handlerServer == nullptr || interfaceServer == nullptr) return "the servers are missing";
    for (int version : kWrongVersions) {
        HandlerBinding binding;
        int result = binding.activate(module, *handlerServer, version);
        if (result != host::kActivationBadVersion)
            return "the handler activation with version " + std::to_string(version) + " returned " +
                   describeActivationResult(result);
        if (binding.operations().create != nullptr)
            return "the refused handler activation with version " + std::to_string(version) + " filled the record";
        InterfaceBinding panel;
        result = panel.activate(module, *interfaceServer, nullptr, version);
        if (result != host::kActivationBadVersion)
            return "the interface activation with version " + std::to_string(version) + " returned " +
                   describeActivationResult(result);
    }
    return bench.firstViolation();
}

std::string checkMissingServices(const LoadedModule& module, const HostProtocol& protocol, std::mt19937&) {
    Bench bench(module, protocol);
    std::string failure = bench.bind();
    if (!failure.empty()) return failure;
    host::InstanceHandle instance = bench.loaded(referenceBlock("Ball", "Close-up"));
    Evaluation before = bench.evaluated(instance, 0.5, failure);
    const ServerEntry& server = *module.findServer(HOST_CHANNEL_HANDLER_CLASS, kServerName);
    for (Service service : kelto_facts::kHandlerServices) {
        std::vector<std::string> names = servedNamesOf(service, protocol.host);
        HostSession lacking(bench.scene());
        lacking.setKind(protocol.host);
        for (const std::string& name : names) lacking.withhold(name);
        HandlerBinding binding;
        int result = binding.activate(module, server, protocol.version);
        if (result != host::kActivationServiceMissing)
            return "without \"" + names.front() + "\" the activation returned " + describeActivationResult(result);
        if (binding.operations().create != nullptr) return "the refused activation filled the record";
        if (!lacking.violations().empty()) return "host check: " + lacking.violations().front();
    }
    Evaluation after = bench.evaluated(instance, 0.5, failure);
    if (failure.empty() && (after.set != before.set || after.value != before.value))
        return "an instance stopped working after a refused activation";
    return failure.empty() ? bench.firstViolation() : failure;
}

std::string checkInstances(const LoadedModule& module, const HostProtocol& protocol, std::mt19937& random) {
    Bench bench(module, protocol);
    std::string failure = bench.bind();
    if (!failure.empty()) return failure;
    const char* const names[] = {"Ball", "Ground", "Tall Tree", kelto_facts::kNoneName, "Camera", "Close-up", "Missing"};
    std::uniform_int_distribution<int> pickName(0, 6);
    std::vector<host::InstanceHandle> originals;
    for (int i = 0; i < kInstances && failure.empty(); ++i) {
        host::InstanceHandle original = bench.loaded(referenceBlock(names[pickName(random)], names[pickName(random)]));
        if (original == nullptr) return "create returned no instance";
        std::string line = bench.handler().describe(original);
        if (line.empty() || line.size() >= kelto_facts::kDescriptionSize) return "the description line is \"" + line + "\"";
        if (bench.handler().flags(original) != host::kHandlerFlagsNone) return "the flags are not 0";
        if (i % 2 == 0) bench.evaluated(original, 0, failure);  // copies of resolved and unresolved ones
        host::InstanceHandle copy = bench.newInstance();
        if (bench.handler().copy(copy, original) != nullptr) return "copy reported an error";
        Evaluation a = bench.evaluated(original, 1.0, failure), b = bench.evaluated(copy, 1.0, failure);
        if (failure.empty() && (a.set != b.set || a.value != b.value)) return "a copy evaluates unlike its original";
        if (failure.empty() && !sameUnits(bench.saved(original), bench.saved(copy))) return "a copy saves unlike its original";
        originals.push_back(original);
    }
    for (host::InstanceHandle instance : originals) bench.discard(instance);
    return failure.empty() ? bench.firstViolation() : failure;
}

std::string checkSaveLoadSave(const LoadedModule& module, const HostProtocol& protocol, std::mt19937&) {
    Bench bench(module, protocol);
    std::string failure = bench.bind();
    if (!failure.empty()) return failure;
    const std::pair<const char*, const char*> pairs[] = {
        {"Ball", "Camera"}, {"Tall Tree", "Tall Tree"}, {kelto_facts::kNoneName, "Close-up"}, {"Missing", "Camera"}, {"", ""}};
    for (const auto& pair : pairs) {
        for (bool evaluated : {false, true}) {
            host::InstanceHandle first = bench.loaded(referenceBlock(pair.first, pair.second));
            if (evaluated) bench.evaluated(first, 0, failure);
            std::vector<BlockWriter::Unit> saved = bench.saved(first);
            std::string problem = blockProblem(saved);
            if (!problem.empty()) return problem;
            host::InstanceHandle second = bench.loaded(linesOf(saved));
            if (evaluated) bench.evaluated(second, 0, failure);
            if (!sameUnits(saved, bench.saved(second)))
                return "\"" + std::string(pair.first) + "\" and \"" + pair.second + "\" saved, loaded and saved again differ";
        }
    }
    return failure.empty() ? bench.firstViolation() : failure;
}

std::string checkRandomBlocks(const LoadedModule& module, const HostProtocol& protocol, std::mt19937& random) {
    Bench bench(module, protocol);
    std::string failure = bench.bind();
    if (!failure.empty()) return failure;
    for (int i = 0; i < kRandomBlocks && failure.empty(); ++i) {
        host::InstanceHandle instance = bench.loaded(randomBlock(random));
        bench.evaluated(instance, std::uniform_real_distribution<double>(0, 2)(random), failure);
        std::vector<BlockWriter::Unit> saved = bench.saved(instance);
        std::string problem = blockProblem(saved);
        if (!problem.empty()) return "random block " + std::to_string(i + 1) + ": " + problem;
        host::InstanceHandle again = bench.loaded(linesOf(saved));
        bench.evaluated(again, 0, failure);
        if (!sameUnits(saved, bench.saved(again)))
            return "random block " + std::to_string(i + 1) + ": its save does not load back to the same references";
        bench.discard(instance);
        bench.discard(again);
    }
    return failure.empty() ? bench.firstViolation() : failure;
}

// Why the popups do not list "(none)" and then the scene's items in list
// order, or "".
std::string popupsProblem(const Scene& scene, const std::vector<std::string>& objects,
                          const std::vector<std::string>& cameras) {
    if (objects.size() != scene.objects.size() + 1 || cameras.size() != scene.cameras.size() + 1 ||
        objects[0] != kelto_facts::kNoneEntry || cameras[0] != kelto_facts::kNoneEntry)
        return "the popups do not list every item after \"" + std::string(kelto_facts::kNoneEntry) + "\"";
    for (size_t i = 0; i < scene.objects.size(); ++i)
        if (objects[i + 1] != scene.objects[i].name)
            return "object entry " + std::to_string(i + 1) + " is \"" + objects[i + 1] + "\"";
    return "";
}

// The panel's two popups, their entries, and the places chosen in them.
struct Popups {
    std::vector<std::string> objects, cameras;
    int32_t item = 0, camera = 0;  // as get gives them
};

// Reads both choices through get into `popups`; "" or why they cannot be
// read as places in the popups.
std::string readChoices(const PanelToolkitModel& toolkit, const SimPanel& panel, Popups& popups) {
    const int32_t* item = toolkit.valueOf(panel, kItemControl);
    const int32_t* camera = toolkit.valueOf(panel, kCameraControl);
    if (item == nullptr || camera == nullptr) return "get gives no value for a popup";
    if (*item < 0 || size_t(*item) >= popups.objects.size() || *camera < 0 || size_t(*camera) >= popups.cameras.size())
        return "get gives a choice outside its popup";
    popups.item = *item;
    popups.camera = *camera;
    return "";
}

// What an evaluation at `time` and a save make of the choices: the distance
// between the items picked, the channel left alone with a "(none)", the
// names picked saved. "" or why they are wrong; a broken rule or promise
// goes to `failure`.
std::string choicesProblem(Bench& bench, host::InstanceHandle instance, const Popups& popups, double time,
                           std::string& failure) {
    Evaluation result = bench.evaluated(instance, time, failure);
    bool both = popups.item > 0 && popups.camera > 0;
    if (failure.empty() && result.set != both)
        return both ? "the channel was not set with both references picked"
                    : "the channel was set with a reference of \"" + std::string(kelto_facts::kNoneEntry) + "\"";
    if (failure.empty() && both) {
        // A pick follows the item picked, not the first of its name.
        double expected = hostDistance(bench.scene(), bench.scene().objects[size_t(popups.item - 1)],
                                       bench.scene().cameras[size_t(popups.camera - 1)], time);
        if (!agrees(result.value, expected))
            return "after picking " + popups.objects[size_t(popups.item)] + " and " +
                   popups.cameras[size_t(popups.camera)] + " the channel is " + numberText(result.value) + ", not " +
                   numberText(expected);
    }
    std::string item = popups.item > 0 ? popups.objects[size_t(popups.item)] : kelto_facts::kNoneName;
    std::string camera = popups.camera > 0 ? popups.cameras[size_t(popups.camera)] : kelto_facts::kNoneName;
    if (linesOf(bench.saved(instance)) != referenceBlock(item, camera)) return "save does not name the picked items";
    return "";
}

std::string checkPanelPicks(const LoadedModule& module, const HostProtocol& protocol, std::mt19937& random) {
    Bench bench(module, protocol);
    std::string failure = bench.bind();
    if (!failure.empty()) return failure;
    host::InstanceHandle instance = bench.loaded(referenceBlock("Ball", "Camera"));
    bench.evaluated(instance, 0, failure);
    SimPanel* panel = bench.openedPanel(instance);
    if (panel == nullptr) return "no panel was built";
    if (panel->set == nullptr) return "the panel has no set function";
    PanelToolkitModel& toolkit = bench.session().panels();
    Popups popups{toolkit.popupEntries(*panel, kItemControl), toolkit.popupEntries(*panel, kCameraControl)};
    std::string problem = popupsProblem(bench.scene(), popups.objects, popups.cameras);
    for (int i = 0; i < kRandomPicks && failure.empty() && problem.empty(); ++i) {
        bool item = std::uniform_int_distribution<int>(0, 1)(random) == 0;
        const std::vector<std::string>& entries = item ? popups.objects : popups.cameras;
        int32_t value = int32_t(std::uniform_int_distribution<size_t>(0, entries.size() - 1)(random));
        uint32_t control = item ? kItemControl : kCameraControl;
        panel->set(panel->instance, control, &value);
        const int32_t* shown = toolkit.valueOf(*panel, control);
        if (shown == nullptr || *shown != value) return "get does not return the value just set";
        problem = readChoices(toolkit, *panel, popups);
        double time = std::uniform_real_distribution<double>(0, 2)(random);
        if (problem.empty()) problem = choicesProblem(bench, instance, popups, time, failure);
    }
    if (!problem.empty()) return problem;
    return failure.empty() ? bench.firstViolation() : failure;
}

std::string checkSubFrameTimes(const LoadedModule& module, const HostProtocol& protocol, std::mt19937& random) {
    std::vector<double> times, values;
    std::string failure;
    {
        Bench bench(module, protocol);
        failure = bench.bind();
        if (!failure.empty()) return failure;
        host::InstanceHandle instance = bench.loaded(referenceBlock("Ball", "Camera"));
        std::uniform_real_distribution<double> frame(bench.scene().firstFrame - 2.0, bench.scene().lastFrame + 2.0);
        for (int i = 0; i < kRandomTimes && failure.empty(); ++i) {
            double time = bench.scene().timeOfFrame(frame(random));
            Evaluation result = bench.evaluated(instance, time, failure);
            double expected = expectedDistance(bench.scene(), "Ball", "Camera", time);
            if (failure.empty() && (!result.set || !agrees(result.value, expected)))
                return "at time " + numberText(time) + " the channel is " + (result.set ? numberText(result.value) : "not set") +
                       ", not " + numberText(expected);
            times.push_back(time);
            values.push_back(result.value);
        }
        if (failure.empty()) failure = bench.firstViolation();
    }
    // The same times again with the ball and the camera trading their paths.
    Scene swapped = checkScene();
    std::swap(swapped.objects[0].keys, swapped.cameras[0].keys);
    Bench mirror(module, protocol, swapped);
    if (failure.empty()) failure = mirror.bind();
    host::InstanceHandle other = failure.empty() ? mirror.loaded(referenceBlock("Ball", "Camera")) : nullptr;
    for (size_t i = 0; i < times.size() && failure.empty(); ++i) {
        Evaluation result = mirror.evaluated(other, times[i], failure);
        if (failure.empty() && (!result.set || result.value != values[i]))
            return "at time " + numberText(times[i]) + " swapping the positions changes the distance from " +
                   numberText(values[i]) + " to " + (result.set ? numberText(result.value) : "nothing");
    }
    return failure.empty() ? mirror.firstViolation() : failure;
}

// Items deleted while instances hold references: an unrelated deletion moves
// the reference's ID, which the module must follow; deleting the referenced
// item leaves the channel alone and saves none. Only a module that fills the
// item operations is held to this: it is how the host announces new IDs.
std::string checkRenumbering(const LoadedModule& module, const HostProtocol& protocol, std::mt19937&) {
    Bench bench(module, protocol);
    std::string failure = bench.bind();
    if (!failure.empty()) return failure;
    if (bench.handler().itemOperations().changeID == nullptr) return "";
    host::InstanceHandle instance = bench.loaded(referenceBlock("Tall Tree", "Close-up"));
    host::InstanceHandle copy = bench.newInstance();
    bench.evaluated(instance, 0, failure);
    bench.handler().copy(copy, instance);
    std::vector<host::InstanceHandle> instances = {instance, copy};
    const double time = 0.75;
    auto deleteItem = [&](const char* name) {
        SceneEdit edit;
        edit.name = name;
        EditOutcome outcome = makeEdit(bench.session(), bench.handler(), instances, edit);
        return outcome.error;
    };
    if (failure.empty()) failure = deleteItem("Ground");  // before the tree in the object list
    for (host::InstanceHandle each : instances) {
        Evaluation result = bench.evaluated(each, time, failure);
        double expected = expectedDistance(bench.scene(), "Tall Tree", "Close-up", time);
        if (failure.empty() && (!result.set || !agrees(result.value, expected)))
            return "after an item before the reference was deleted the channel is " +
                   (result.set ? numberText(result.value) : std::string("not set")) + ", not " + numberText(expected);
    }
    SimPanel* panel = bench.openedPanel(instance);
    const int32_t* shown = panel != nullptr ? bench.session().panels().valueOf(*panel, kItemControl) : nullptr;
    if (failure.empty() && (shown == nullptr || *shown != 2))
        return "after the deletion the panel does not show the tree at its new place, 2";
    if (failure.empty()) failure = deleteItem("Tall Tree");
    for (host::InstanceHandle each : instances) {
        if (failure.empty() && bench.evaluated(each, time, failure).set)
            return "the channel is set after its reference was deleted";
        if (failure.empty() && linesOf(bench.saved(each)) != referenceBlock(kelto_facts::kNoneName, "Close-up"))
            return "a deleted reference is not saved as none";
    }
    return failure.empty() ? bench.firstViolation() : failure;
}

// Whether the handler activation takes the protocol's version from a host of
// that protocol that serves everything: any answer but a refused version.
bool takesVersion(const LoadedModule& module, const HostProtocol& protocol) {
    Scene scene = checkScene();
    HostSession session(scene);
    session.setKind(protocol.host);
    const ServerEntry* server = module.findServer(HOST_CHANNEL_HANDLER_CLASS, kServerName);
    HandlerBinding binding;
    return server != nullptr && binding.activate(module, *server, protocol.version) != host::kActivationBadVersion;
}

// A check of the module as a whole.
struct ModuleCheck {
    const char* id;    // stable: it names the check on its line and to tests
    const char* name;  // what it checks, in words
    std::string (*run)(const std::string& path, const LoadedModule& module);
};

// A check made under each protocol the module takes, from the seed.
struct ProtocolCheck {
    const char* id;  // under the protocol's name: "picks" is "classic/picks"
    const char* name;
    std::string (*run)(const LoadedModule& module, const HostProtocol& protocol, std::mt19937& random);
};

// The descriptor first: without it nothing else is checked.
const ModuleCheck kModuleChecks[] = {
    {"module/descriptor", "descriptor and server table", checkDescriptor},
    {"module/repeated-load", "repeated load and unload", checkRepeatedLoads},
};

const ProtocolCheck kProtocolChecks[] = {
    {"versions", "activation refuses other versions", checkWrongVersions},
    {"services", "activation without each service keeps earlier instances working", checkMissingServices},
    {"instances", "many instances created, copied and destroyed", checkInstances},
    {"save-load-save", "save, load, save gives the same block", checkSaveLoadSave},
    {"random-blocks", "random blocks load, evaluate and save back", checkRandomBlocks},
    {"picks", "random panel picks take effect and are saved", checkPanelPicks},
    {"sub-frame-times", "evaluation at sub-frame times: right, finite, the same for swapped positions",
     checkSubFrameTimes},
    {"renumbering", "deleted items: references follow their renumbered IDs, a deleted one saves none",
     checkRenumbering},
};

}  // namespace

std::vector<CheckResult> checkConformance(const std::string& path, uint32_t seed) {
    std::vector<CheckResult> results;
    LoadResult loaded = LoadedModule::load(path);
    const ModuleCheck& descriptor = kModuleChecks[0];
    if (!loaded.module) return {{descriptor.id, descriptor.name, loaded.error}};
    const LoadedModule& module = *loaded.module;
    for (const ModuleCheck& check : kModuleChecks) {
        results.push_back({check.id, check.name, check.run(path, module)});
        // Nothing else can be checked on a module that is not the modifier.
        if (&check == &descriptor && !results.back().failure.empty()) return results;
    }
    for (const HostProtocol* protocol : {&kClassic, &kCurrent}) {
        // Only a module that takes the current version is held to it; one
        // that takes it and then fails is held to it all the same.
        if (protocol == &kCurrent && !takesVersion(module, kCurrent)) break;
        for (const ProtocolCheck& check : kProtocolChecks) {
            std::mt19937 random(seed);
            results.push_back({std::string(protocol->name) + "/" + check.id, check.name,
                               check.run(module, *protocol, random)});
        }
    }
    return results;
}

int runValidateCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    std::string path;
    uint32_t seed = std::random_device()();
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--seed") {
            // Digits alone: no blanks, no sign, nothing after them.
            const std::string text = i + 1 < arguments.size() ? arguments[++i] : "";
            auto parsed = std::from_chars(text.data(), text.data() + text.size(), seed);
            if (text.empty() || parsed.ec != std::errc() || parsed.ptr != text.data() + text.size()) {
                err << "kelto-host: --seed takes a whole number from 0 to " << UINT32_MAX << "\n";
                return 1;
            }
        } else if (path.empty() && arguments[i].rfind("--", 0) != 0) {
            path = arguments[i];
        } else {
            err << "kelto-host: usage: kelto-host validate MODULE [--seed N]\n";
            return 1;
        }
    }
    if (path.empty()) {
        err << "kelto-host: usage: kelto-host validate MODULE [--seed N]\n";
        return 1;
    }
    out << "Validating  " << path << " with seed " << seed << " (replay with --seed " << seed << ")\n";
    int passed = 0, failed = 0;
    for (const CheckResult& result : checkConformance(path, seed)) {
        if (result.failure.empty()) {
            ++passed;
            out << "PASS  " << result.id << "  " << result.name << "\n";
        } else {
            ++failed;
            out << "FAIL  " << result.id << "  " << result.name << ": " << result.failure << "\n";
        }
    }
    out << passed << " passed, " << failed << " failed\n";
    return failed == 0 ? 0 : 1;
}

}  // namespace sim
