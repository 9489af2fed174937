// The activations: the versions each takes, the services the handler's looks
// up, and the names a current host serves them under.
#include <climits>

#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "simhost/validate/checks/check_tables.h"

namespace sim {

namespace {

// Versions no protocol of the modifier's has; 5 is not among them, since a
// module may serve it under either host.
const int kWrongVersions[] = {0, 1, 2, 3, 6, 99, -1, INT_MAX, INT_MIN};
const int kWrongInterfaceVersions[] = {0, 6, 99, -1, INT_MAX, INT_MIN};
// A current host asks the interface for versions from this one upward.
const int kFirstInterfaceVersion = 1;
// The frame the services checks evaluate at.
const int kFrame = 12;

const ServerEntry& serverOf(const CheckRig& rig, const char* serverClass) {
    return *rig.module().findServer(serverClass, rig.modifier().name);
}

bool filledAny(const HandlerBinding& binding) {
    return binding.operations().create != nullptr || binding.record().evaluate != nullptr ||
           binding.currentRecord().evaluate != nullptr || binding.itemOperations().changeID != nullptr;
}

std::string versionText(const char* what, int version, int result) {
    return std::string(what) + " activation with version " + std::to_string(version) + " returned " +
           describeActivationResult(result);
}

// The interface asked as a current host asks it, from version 1 upward; the
// version it first takes, or 0. A refusal must say the version is wrong.
int firstInterfaceVersion(CheckRig& rig, host::InstanceHandle instance) {
    const ServerEntry& server = serverOf(rig, HOST_CHANNEL_INTERFACE_CLASS);
    for (int version = kFirstInterfaceVersion; version <= host::kCurrentClassVersion; ++version) {
        InterfaceBinding binding;
        int result = binding.activate(rig.module(), server, instance, version);
        rig.noteViolations();
        if (result == host::kActivationOk) return version;
        rig.expect().that(result == host::kActivationBadVersion,
                          [&] { return versionText("the interface", version, result); });
    }
    return 0;
}

// Binds the handler on the rig and sees an evaluation and the panel work.
void worksOn(CheckRig& rig) {
    if (!rig.bind()) return;
    host::InstanceHandle instance = rig.loaded(rig.referenceBlock("Ball", "Camera"));
    if (instance == nullptr) return;
    double time = rig.timeOfFrame(kFrame);
    Evaluation result = rig.evaluated(instance, time);
    const Scene& scene = rig.scene();
    double expected = rig.expectedValue(hostDistance(scene, scene.objects[0], scene.cameras[0], time));
    rig.expect().that(result.set && agrees(result.value, expected),
                      [&] { return "the channel is " + evaluationText(result) + ", not " + numberText(expected); });
    OpenedPanel panel;
    rig.openPanel(instance, panel);
}

}  // namespace

void checkVersions(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    const ServerEntry& server = serverOf(rig, HOST_CHANNEL_HANDLER_CLASS);
    for (int version : kWrongVersions) {
        HandlerBinding binding;
        int result = binding.activate(context.module(), server, version);
        rig.noteViolations();
        context.expect.that(result == host::kActivationBadVersion,
                            [&] { return versionText("the handler", version, result); });
        context.expect.that(!filledAny(binding), [&] {
            return "the refused handler activation with version " + std::to_string(version) + " filled the record";
        });
    }
    rig.bind();
}

// A current host asks a handler's interface from version 1 upward, so one
// that takes a version below the handler's is bound as a legacy kind.
void checkInterfaceVersions(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    host::InstanceHandle instance = rig.bind() ? rig.loaded(rig.referenceBlock("Ball", "Camera")) : nullptr;
    if (instance == nullptr) return;
    int taken = firstInterfaceVersion(rig, instance);
    context.expect.that(taken == context.protocol.version, [&] {
        return "asked from version 1 upward, the interface activation takes " +
               (taken == 0 ? std::string("none") : "version " + std::to_string(taken)) + ", not the handler's " +
               std::to_string(context.protocol.version);
    });
    const ServerEntry& server = serverOf(rig, HOST_CHANNEL_INTERFACE_CLASS);
    for (int version : kWrongInterfaceVersions) {
        InterfaceBinding binding;
        int result = binding.activate(context.module(), server, instance, version);
        rig.noteViolations();
        context.expect.that(result == host::kActivationBadVersion,
                            [&] { return versionText("the interface", version, result); });
    }
    OpenedPanel panel;
    rig.openPanel(instance, panel);
}

// Without any name of a service the handler refuses, fills nothing, and
// leaves the tables it held before, so earlier instances keep working. The
// item info is what the modifier works with; the messages and textures it
// only holds, and refuses a host without them as a promise of its own.
void checkMissingServices(CheckContext& context) {
    CheckRig rig(context.module(), context.protocol, context.modifier, context.expect);
    host::InstanceHandle instance = rig.bind() ? rig.loaded(rig.referenceBlock("Ball", "Close-up")) : nullptr;
    if (instance == nullptr) return;
    Evaluation before = rig.evaluated(instance, rig.timeOfFrame(kFrame));
    const ServerEntry& server = serverOf(rig, HOST_CHANNEL_HANDLER_CLASS);
    for (Service service : context.modifier.handlerServices) {
        std::vector<std::string> names = servedNamesOf(service, context.protocol.host);
        HostSession lacking(rig.scene());
        lacking.setKind(context.protocol.host);
        for (const std::string& name : names) lacking.withhold(name);
        HandlerBinding binding;
        int result = binding.activate(context.module(), server, context.protocol.version);
        context.expect.that(result == host::kActivationServiceMissing, [&] {
            return std::string(context.modifier.name) + " promises to start on no host without \"" + names.back() +
                   "\": without it, under any name, the activation returned " + describeActivationResult(result);
        });
        context.expect.that(!filledAny(binding), "the refused activation filled the record");
        context.expect.that(lacking.violations().empty(),
                            [&] { return "host check: " + lacking.violations().front(); });
    }
    Evaluation after = rig.evaluated(instance, rig.timeOfFrame(kFrame));
    context.expect.that(after.set == before.set && after.value == before.value,
                        "an instance stopped working after a refused activation");
}

// A current host serves each service under newer names beside the classic
// one. Whichever names a module looks up first, it finds one still served
// when the newest are withheld.
void checkServiceNames(CheckContext& context) {
    for (Service service : {Service::ItemInfo, Service::PanelToolkit, Service::Messages, Service::Textures}) {
        std::vector<std::string> names = servedNamesOf(service, context.protocol.host);
        for (size_t withheld = 1; withheld < names.size(); ++withheld) {
            Expect part;
            {
                CheckRig rig(context.module(), context.protocol, context.modifier, part);
                for (size_t i = 0; i < withheld; ++i) rig.session().withhold(names[i]);
                worksOn(rig);
            }
            std::string where =
                "with \"" + names[0] + "\"" + (withheld > 1 ? " to \"" + names[withheld - 1] + "\"" : "");
            if (!context.expect.passes(part, where + " withheld")) return;
        }
    }
}

const CheckDefinition kActivationDefinitions[] = {
    {"versions", "the handler activation takes the protocol's version alone", CheckScope::EachProtocol, checkVersions},
    {"interface", "the interface activation takes the handler's version alone, asked from 1 upward",
     CheckScope::EachProtocol, checkInterfaceVersions},
    {"services", "activation without each service is refused and earlier instances keep working",
     CheckScope::EachProtocol, checkMissingServices},
    {"service-names", "services are found under older names when the newest are withheld", CheckScope::CurrentProtocol,
     checkServiceNames},
};

constexpr CheckTable kActivationChecks = checkTable(kActivationDefinitions);

}  // namespace sim
