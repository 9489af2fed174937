// The simulated host's services held to what host/ promises: IDs that are
// places in the lists, names that expire, calls that must not be made.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>

#include "simhost/modifiers/kelto_facts.h"
#include "simhost/modifiers/kelto_focus_facts.h"
#include "simhost/modifiers/modifier_promises.h"
#include "simhost/platform/crash_report.h"
#include "simhost/services/channel_access_record.h"
#include "simhost/services/host_session.h"
#include "simhost/services/item_ids.h"
#include "simhost/services/service_tables.h"

namespace {

typedef void(HOST_CALL* AnyFunction)();

const host::ItemInfoService& info() { return sim::itemInfoServiceTable(); }

class ServedScene : public ::testing::Test {
protected:
    void SetUp() override {
        scene.addObject("A");
        scene.addObject("B");
        scene.addObject("C", {1, 2, 3});
        scene.addCamera("A");
    }
    sim::Scene scene;
    sim::HostSession session{scene};
};

TEST_F(ServedScene, ItemIdsArePlacesInTheListsSoADeletionRenumbersTheItemsAfterIt) {
    host::ItemId a = info().first(host::kItemTypeObject, nullptr);
    host::ItemId b = info().next(a);
    host::ItemId c = info().next(b);
    EXPECT_EQ(c, sim::itemIdAt(host::kItemTypeObject, 2));
    EXPECT_NE(info().first(host::kItemTypeCamera, nullptr), a);
    EXPECT_LT(reinterpret_cast<uintptr_t>(c), 4096u);  // no address a module could follow
    EXPECT_TRUE(session.violations().empty());

    scene.objects.erase(scene.objects.begin() + 1);
    EXPECT_STREQ(info().name(b), "C");  // B's old ID names the item after it
    double out[3] = {0, 0, 0};
    info().param(b, host::kItemParamWorldPosition, 0, out);
    EXPECT_EQ(out[2], 3);

    // C's old ID names nothing now; nor do IDs no list hands out.
    int marker = 0;
    EXPECT_EQ(info().name(c), nullptr);
    EXPECT_EQ(info().next(c), nullptr);
    info().param(c, host::kItemParamWorldPosition, 0, out);
    EXPECT_EQ(out[2], 3);  // nothing written
    EXPECT_EQ(info().name(&marker), nullptr);
    EXPECT_EQ(session.violations().size(), 4u);
}

// A current host's IDs are serials: a deletion leaves the others' IDs as
// they were, the deleted one names nothing, and an item added later gets an
// ID never handed out before.
TEST_F(ServedScene, ACurrentHostKeepsItemIdsAcrossADeletion) {
    session.setKind(sim::HostKind::Current);
    host::ItemId a = info().first(host::kItemTypeObject, nullptr);
    host::ItemId b = info().next(a);
    host::ItemId c = info().next(b);
    EXPECT_EQ(c, sim::itemIdAt(host::kItemTypeObject, 2));  // the classic ID until a deletion

    session.deleteItem(host::kItemTypeObject, 1);
    ASSERT_EQ(scene.objects.size(), 2u);
    EXPECT_STREQ(info().name(c), "C");
    EXPECT_EQ(info().next(a), c);
    EXPECT_EQ(info().next(c), nullptr);
    EXPECT_EQ(session.idOf(host::kItemTypeObject, 1), c);
    EXPECT_TRUE(session.violations().empty());
    EXPECT_EQ(info().name(b), nullptr);
    EXPECT_EQ(session.violations(), std::vector<std::string>{"name of unknown item " + sim::describeItemId(b)});

    scene.addObject("D");
    host::ItemId d = info().next(c);
    EXPECT_NE(d, b);
    EXPECT_STREQ(info().name(d), "D");
    // A classic host renumbers the same deletion.
    sim::Scene other = scene;
    sim::HostSession classic(other);
    classic.deleteItem(host::kItemTypeObject, 0);
    EXPECT_EQ(info().first(host::kItemTypeObject, nullptr), sim::itemIdAt(host::kItemTypeObject, 0));
    EXPECT_STREQ(info().name(sim::itemIdAt(host::kItemTypeObject, 0)), "C");
}

// A call from a thread the module started is served by a host with nothing
// in it, never by the session the serving thread is using: its answers are
// null, its name is not the item's, and no record of the session changes
// but the one host check that names the call, with the call in progress.
TEST_F(ServedScene, AServiceCalledFromASecondThreadIsAnsweredNeutrallyAndNoted) {
    host::ItemId a = info().first(host::kItemTypeObject, nullptr);
    const sim::ItemInfoCalls before = session.itemInfoCalls();
    host::ItemId first = a;
    const char* name = "";
    void* lookedUp = &first;
    {
        sim::ModuleCallMark evaluate("evaluate", 7);
        std::thread([&] {
            first = info().first(host::kItemTypeObject, nullptr);
            name = info().name(a);
            lookedUp = sim::HostSession::lookup()(HOST_ITEM_INFO_SERVICE, host::kGlobalUseMode);
        }).join();
    }
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(lookedUp, nullptr);
    EXPECT_EQ(session.itemInfoCalls().total(), before.total());
    EXPECT_TRUE(session.lookups().empty());
    EXPECT_EQ(session.violations(),
              std::vector<std::string>{"first (LW Item Info 3) called from a second thread in a call into the module: "
                                       "evaluate at frame 7; a host serves only the thread that calls into the "
                                       "module (answered neutrally, 3 calls)"});
    // Noted once: the same calls from the serving thread are no fault.
    EXPECT_EQ(info().first(host::kItemTypeObject, nullptr), a);
    EXPECT_EQ(session.violations().size(), 1u);
}

// The access record answers another thread as it answers with no evaluation
// in progress: the value set there is not the channel's.
TEST_F(ServedScene, ASetChannelFromASecondThreadSetsNothing) {
    sim::ChannelAccessRecord access(0, 0, 2.5);
    double read = -1;
    std::thread([&] {
        access.access().setChannel(access.access().channel, 1);
        access.currentAccess().setChannel(access.currentAccess().hostData, access.currentAccess().channel, 1);
        access.access().getChannel(access.access().channel, 0, &read);
    }).join();
    EXPECT_TRUE(access.setCalls().empty());
    EXPECT_EQ(access.result(), 2.5);
    EXPECT_EQ(read, 0);
    EXPECT_EQ(access.brokenRule(), "");
    ASSERT_EQ(session.violations().size(), 1u);
    EXPECT_EQ(session.violations()[0].rfind("setChannel (the channel access record) called from a second thread "
                                            "outside any call into the module;",
                                            0),
              0u)
        << session.violations()[0];
}

TEST_F(ServedScene, ANameLastsOnlyUntilTheNextItemInfoCall) {
    host::ItemId a = info().first(host::kItemTypeObject, nullptr);
    scene.objects[0].name = "";
    const char* kept = info().name(a);
    ASSERT_STREQ(kept, "");
    double out[3];
    info().param(a, host::kItemParamWorldPosition, 0, out);
    EXPECT_GT(std::string(kept).size(), 1u);
    EXPECT_EQ(std::string(kept).find_first_not_of(sim::kExpiredNameByte), std::string::npos);
    // A name longer than the last one still reads whole.
    scene.objects[0].name = std::string(1000, 'L');
    EXPECT_EQ(std::string(info().name(a)), std::string(1000, 'L'));
}

// The module may only read a name: a write into it, past its end or into one
// expired is the module's breach, each said once, found at the next
// item-info call or as the call into the module ends, and undone.
TEST_F(ServedScene, ANameWrittenByTheModuleIsABreachFoundAndUndone) {
    host::ItemId a = info().first(host::kItemTypeObject, nullptr);
    char* name = const_cast<char*>(info().name(a));
    name[0] = 'Z';
    EXPECT_STREQ(info().name(info().next(a)), "B") << "the next call finds the write, and serves on";
    EXPECT_EQ(session.violations(),
              (std::vector<std::string>{"a name from item info written into (the module may only read it)"}));

    name = const_cast<char*>(info().name(a));
    std::strcat(name, "appended");
    session.checkName();
    EXPECT_STREQ(name, "A") << "the host's name is put back";
    std::memset(name + 1, 'x', 900);
    { sim::ModuleCallMark call("evaluate"); }  // a call into the module ends
    std::memset(name, 'y', 2);
    info().first(host::kItemTypeCamera, nullptr);  // expires the name: the write is found first
    name[5] = 'z';
    session.checkName();
    EXPECT_EQ(session.violations(),
              (std::vector<std::string>{"a name from item info written into (the module may only read it)",
                                        "a name from item info written past its end (the module may only read it)",
                                        "a name from item info written into after it expired (the module may only "
                                        "read it)"}));
    EXPECT_EQ(std::string(name).find_first_not_of(sim::kExpiredNameByte), std::string::npos);
}

// Every function of the item-info table is served: what the scene has no
// counterpart for gets the host's neutral answer, and calling it is no fault.
TEST_F(ServedScene, EveryItemInfoFunctionIsServed) {
    host::ItemId a = info().first(host::kItemTypeObject, nullptr);
    EXPECT_EQ(info().type(a), host::kItemTypeObject);
    EXPECT_EQ(info().type(info().first(host::kItemTypeCamera, nullptr)), host::kItemTypeCamera);
    EXPECT_EQ(info().parent(a), nullptr);
    EXPECT_EQ(info().first(host::kItemTypeObject, a), nullptr);  // no children
    EXPECT_EQ(info().first(host::kItemTypeLight, nullptr), nullptr);
    EXPECT_EQ(info().firstChild(a), nullptr);
    EXPECT_EQ(info().target(a), nullptr);
    EXPECT_EQ(info().server(a, "ChannelHandler", 1), nullptr);
    double multiply[3] = {0, 0, 0}, add[3] = {9, 9, 9};
    info().controllerTrans(a, host::kItemParamPosition, multiply, add);
    EXPECT_EQ(multiply[1], 1);
    EXPECT_EQ(add[1], 0);
    EXPECT_EQ(info().rotationOrder(a), host::kRotationOrderYXZ);
    const void* const* table = reinterpret_cast<const void* const*>(&info());
    for (size_t slot = 0; slot < sizeof(host::ItemInfoService) / sizeof(void*); ++slot)
        EXPECT_NE(table[slot], nullptr) << "function " << slot + 1;
    EXPECT_TRUE(session.violations().empty());

    // A bad ID is still the module's fault, whichever function it goes to.
    int marker = 0;
    EXPECT_EQ(info().parent(&marker), nullptr);
    EXPECT_EQ(session.violations().size(), 1u);
}

// The message and texture functions answer neutrally and are noted, not
// failed: any module may call them.
TEST_F(ServedScene, MessagesAndTexturesAreServedAndEachCallNoted) {
    const host::MessageService& messages = sim::messageServiceTable();
    const host::TextureService& textures = sim::textureServiceTable();
    for (const void* const* table :
         {reinterpret_cast<const void* const*>(&messages), reinterpret_cast<const void* const*>(&textures)}) {
        size_t slots = table == reinterpret_cast<const void* const*>(&messages) ? sizeof messages / sizeof(void*)
                                                                                : sizeof textures / sizeof(void*);
        for (size_t slot = 0; slot < slots; ++slot) EXPECT_NE(table[slot], nullptr) << "function " << slot + 1;
    }
    messages.info("a", nullptr);
    EXPECT_EQ(messages.okCancel("title", "a", "b"), 0);  // no user: cancelled
    double point[3] = {1, 2, 3};
    EXPECT_EQ(textures.noise(point), 0.0);
    EXPECT_EQ(textures.create(0, "t", nullptr, nullptr), nullptr);
    EXPECT_EQ(session.heldServiceCalls(),
              (std::vector<std::string>{"Info Messages info", "Info Messages okCancel", "Texture Functions noise",
                                        "Texture Functions create"}));
    EXPECT_TRUE(session.violations().empty());
}

// Each kind of host serves the names of the eras that meet it: a classic
// host the oldest and those of 2015 and 2018, a current one every name. The
// names refused are told, once each.
TEST_F(ServedScene, EachHostServesTheServiceNamesOfItsEras) {
    host::GlobalLookup lookup = sim::HostSession::lookup();
    const char* upTo2018[] = {"LW Item Info 3",    "LW Item Info 8",      "LWXPanel",
                              "LWXPanel 2",        "Info Messages",       "Info Messages 3",
                              "Texture Functions", "Texture Functions 4", "Texture Functions 5"};
    const char* since2020[] = {"LW Item Info 9", "LWXPanel 3", "Info Messages 4", "Texture Functions 6"};
    for (sim::HostKind kind : {sim::HostKind::Classic, sim::HostKind::Current}) {
        session.setKind(kind);
        for (const char* name : upTo2018) EXPECT_NE(lookup(name, host::kGlobalUseMode), nullptr) << name;
        for (const char* name : since2020)
            EXPECT_EQ(lookup(name, host::kGlobalUseMode) != nullptr, kind == sim::HostKind::Current) << name;
    }
    EXPECT_EQ(lookup("LW Item Info 8", host::kGlobalUseMode), &info());
    EXPECT_EQ(lookup("LW Item Info 7", host::kGlobalUseMode), nullptr);
    EXPECT_EQ(session.unservedSince(0), (std::vector<std::string>{"LW Item Info 9", "LWXPanel 3", "Info Messages 4",
                                                                  "Texture Functions 6", "LW Item Info 7"}));
    EXPECT_TRUE(session.unservedSince(session.lookups().size()).empty());
}

// Every function of the toolkit is the host's to serve: a module may call any
// of them, and where no screen exists they answer as for a panel not shown.
TEST_F(ServedScene, EveryToolkitFunctionIsServedAndNoneIsAViolation) {
    const host::PanelToolkit& toolkit = sim::panelToolkitTable();
    const void* const* fields = reinterpret_cast<const void* const*>(&toolkit);
    for (size_t n = 1; n < sizeof toolkit / sizeof(void*); ++n) EXPECT_NE(fields[n], nullptr) << "field " << n + 1;
    const void* const* drawing = reinterpret_cast<const void* const*>(toolkit.drawFunctions);
    for (size_t n = 0; n < sizeof(host::PanelDrawFunctions) / sizeof(void*); ++n) EXPECT_NE(drawing[n], nullptr);

    const host::PanelControl controls[] = {{0x8001, "Count", HOST_PANEL_CLASS_INTEGER}, {0, nullptr, nullptr}};
    const host::PanelDataDescription data[] = {{0x8001, "count", HOST_PANEL_TYPE_INTEGER}, {0, nullptr, nullptr}};
    host::PanelId panel = toolkit.create(host::kPanelTypeForm, controls);
    toolkit.describe(panel, data, nullptr, nullptr);
    int marker = 0;
    toolkit.setData(panel, 0x8001, &marker);
    EXPECT_EQ(toolkit.getData(panel, 0x8001), &marker);
    EXPECT_EQ(toolkit.getData(panel, host::kPanelControlId), nullptr);
    int32_t count = 7;
    toolkit.formSet(panel, 0x8001, &count);
    count = 0;
    EXPECT_EQ(*static_cast<const int32_t*>(toolkit.formGet(panel, 0x8001)), 7);
    toolkit.viewRefresh(panel);
    toolkit.viewRebuild(panel);
    EXPECT_EQ(toolkit.post(panel), 0);
    EXPECT_EQ(toolkit.open(panel), 0);
    EXPECT_EQ(toolkit.drawFunctions->textWidth(nullptr, "text"), 0);
    toolkit.destroy(panel);
    EXPECT_EQ(toolkit.formGet(panel, 0x8001), nullptr);
    EXPECT_TRUE(session.violations().empty());
}

// Whether a message states the fact, whatever its wording.
bool says(const std::string& message, const std::string& fact) { return message.find(fact) != std::string::npos; }

void expectSays(const std::string& message, const std::string& fact) { EXPECT_TRUE(says(message, fact)) << message; }

// Each modifier's promises are held by its server's name: Kelto Focus's
// nearest focus is no promise of Kelto's, and a modifier the host does not
// know is held to the host's rules alone.
TEST(ChannelAccess, EachModifiersPromisesAreToldByItsServerName) {
    sim::ChannelAccessRecord nearer(0, 0.0, 5);
    nearer.access().setChannel(nearer.access().channel, 0.0005);
    std::string nearerProblem = sim::brokenPromise(sim::kelto_focus_facts::kServerName, nearer);
    EXPECT_TRUE(says(nearerProblem, "Kelto Focus") && says(nearerProblem, "0.001")) << nearerProblem;
    EXPECT_EQ(sim::brokenPromise(sim::kelto_facts::kServerName, nearer), "");
    sim::ChannelAccessRecord nearest(0, 0.0, 5);
    nearest.access().setChannel(nearest.access().channel, sim::kelto_focus_facts::kNearest);
    EXPECT_EQ(sim::brokenPromise(sim::kelto_focus_facts::kServerName, nearest), "");

    sim::ChannelAccessRecord read(0, 0.0, 5);
    double value = 0;
    read.access().getChannel(read.access().channel, 0, &value);
    read.access().setChannel(read.access().channel, -1);
    EXPECT_NE(sim::brokenPromise(sim::kelto_facts::kServerName, read), "");
    EXPECT_EQ(sim::brokenPromise("Other", read), "");
    read.access().setChannel(read.access().channel, 1);
    EXPECT_EQ(sim::brokenPromise("Other", read), "");
    EXPECT_TRUE(says(read.brokenRule(), "2 times"));

    // Kelto Focus never reads its channel either; a read is no fault of the
    // value it sets, which the checks hold apart from what it calls.
    sim::ChannelAccessRecord focusRead(0, 0.0, 5);
    focusRead.access().getChannel(focusRead.access().channel, 0, &value);
    focusRead.access().setChannel(focusRead.access().channel, 2);
    expectSays(sim::brokenPromise(sim::kelto_focus_facts::kServerName, focusRead),
               "Kelto Focus promises never to call getChannel");
    EXPECT_EQ(sim::kelto_focus_facts::valueProblem(focusRead), "");
    EXPECT_EQ(sim::kelto_focus_facts::brokenChannelPromise(focusRead),
              sim::brokenPromise(sim::kelto_focus_facts::kServerName, focusRead));
}

// The host lets an evaluation read channels and ask their names; Kelto
// promises to do neither, and a broken promise is told as Kelto's, not as
// the host's rule.
TEST(ChannelAccess, AReadOfTheChannelIsKeltosBrokenPromiseNotTheHostsRule) {
    using sim::kelto_facts::brokenPromise;
    sim::ChannelAccessRecord record(0, 0.0, 5);
    const host::ChannelAccess& access = record.access();
    double read = -1;
    access.getChannel(access.channel, 0.5, &read);
    EXPECT_EQ(read, 5);
    EXPECT_NE(access.channelName(access.channel), nullptr);
    access.setChannel(access.channel, 2);
    EXPECT_EQ(record.brokenRule(), "");
    EXPECT_TRUE(says(brokenPromise(record), "getChannel")) << brokenPromise(record);
    EXPECT_EQ(sim::kelto_facts::evaluationProblem(record), brokenPromise(record));
}

TEST(ChannelAccess, AskingTheChannelsNameIsKeltosBrokenPromiseNotTheHostsRule) {
    using sim::kelto_facts::evaluationProblem;
    sim::ChannelAccessRecord record(0, 0.0, 5);
    const host::ChannelAccessCurrent& access = record.currentAccess();
    access.channelName(access.hostData, access.channel);
    EXPECT_TRUE(says(evaluationProblem(record), "channelName")) << evaluationProblem(record);
    access.setChannel(access.hostData, access.channel, -1);
    EXPECT_EQ(record.brokenRule(), "");
    EXPECT_EQ(record.result(), -1);
}

TEST(ChannelAccess, ANegativeDistanceIsKeltosBrokenPromise) {
    using sim::kelto_facts::evaluationProblem;
    sim::ChannelAccessRecord record(0, 0.0, 5);
    record.access().setChannel(record.access().channel, -1);
    EXPECT_TRUE(says(evaluationProblem(record), "-1")) << evaluationProblem(record);
}

// The rule an evaluation broke, which Kelto's checks tell before any promise.
std::string brokenRuleOf(void (*evaluate)(const sim::ChannelAccessRecord&)) {
    sim::ChannelAccessRecord record(0, 0.0, 5);
    evaluate(record);
    EXPECT_EQ(sim::kelto_facts::evaluationProblem(record), record.brokenRule());
    return record.brokenRule();
}

// The host's own rules come first; each rule says which it is.
TEST(ChannelAccess, TheHostsOwnRulesComeFirstEachSayingWhichItIs) {
    expectSays(brokenRuleOf([](const sim::ChannelAccessRecord& r) {
                   r.access().setChannel(r.access().channel, 1);
                   r.access().setChannel(r.access().channel, 1);
               }),
               "2 times");
    expectSays(brokenRuleOf(
                   [](const sim::ChannelAccessRecord& r) { r.access().setChannel(r.access().channel, std::nan("")); }),
               "nan");
    expectSays(brokenRuleOf([](const sim::ChannelAccessRecord& r) { r.access().setChannel(nullptr, 1); }),
               "another channel");
    expectSays(brokenRuleOf([](const sim::ChannelAccessRecord& r) {
                   int other = 0;
                   r.currentAccess().setChannel(&other, r.currentAccess().channel, 1);
               }),
               "another record's data");
}

// The current record's host data is neither the record nor the channel, so
// that one passed for the other is refused.
TEST(ChannelAccess, TheHostsDataAndTheChannelAreNotToBeSwapped) {
    expectSays(brokenRuleOf([](const sim::ChannelAccessRecord& r) {
                   r.currentAccess().setChannel(r.currentAccess().channel, r.currentAccess().channel, 1);
               }),
               "the channel ID for the host's data");
    expectSays(brokenRuleOf([](const sim::ChannelAccessRecord& r) {
                   r.currentAccess().setChannel(r.currentAccess().hostData, r.currentAccess().hostData, 1);
               }),
               "the host's data for the channel");
    sim::ChannelAccessRecord record(0, 0.0, 5);
    EXPECT_NE(record.currentAccess().hostData, static_cast<const void*>(&record));
    EXPECT_NE(record.currentAccess().hostData, record.currentAccess().channel);
}

// A popup far longer than a pick looks through: entries are counted as the
// module's name function is asked for them.
struct LongPopup {
    static constexpr int kEntries = 3 * sim::kMaxPickEntries;
    static int reads;
    static int32_t picked;
    static int HOST_CALL count(void*) { return kEntries; }
    static const char* HOST_CALL name(void*, int index) {
        static std::string text;
        ++reads;
        text = "Entry " + std::to_string(index);
        return text.c_str();
    }
    static int HOST_CALL set(void*, uint32_t, void* value) {
        picked = *static_cast<int32_t*>(value);
        return host::kRefreshNone;
    }
};
int LongPopup::reads = 0;
int32_t LongPopup::picked = -1;

TEST(PanelToolkit, APickLooksThroughABoundedNumberOfEntriesAndSaysSo) {
    const int limit = sim::kMaxPickEntries;
    sim::SimPanel panel;
    panel.controls.push_back({1, "Long", "iPopChoice"});
    panel.popups[1] = {LongPopup::count, LongPopup::name};
    panel.set = LongPopup::set;
    sim::PanelToolkitModel toolkit;
    std::string error;
    EXPECT_EQ(toolkit.pick(panel, "Long", "Entry " + std::to_string(limit - 1), error), host::kRefreshNone);
    EXPECT_EQ(error, "");
    EXPECT_EQ(LongPopup::picked, limit - 1);

    LongPopup::reads = 0;
    EXPECT_LT(toolkit.pick(panel, "Long", "Entry " + std::to_string(limit), error), 0);
    EXPECT_EQ(LongPopup::reads, limit);
    EXPECT_EQ(error, "\"Long\" has no entry \"Entry " + std::to_string(limit) + "\" among its first " +
                         std::to_string(limit) + " of " + std::to_string(LongPopup::kEntries) +
                         ", the most a pick looks through");
}

TEST(NoSessionDeathTest, AServiceCalledWithNoSessionEndsTheRunWithOneLine) {
    EXPECT_EXIT(info().name(nullptr), testing::ExitedWithCode(1),
                "^kelto-host: LW Item Info 3 function name was called with no host session to serve it\n$");
    EXPECT_EXIT(sim::panelToolkitTable().create(host::kPanelTypeViewer, nullptr), testing::ExitedWithCode(1),
                "LWXPanel function create was called with no host session");
    EXPECT_EXIT(sim::messageServiceTable().warning("a", "b"), testing::ExitedWithCode(1),
                "Info Messages function warning was called with no host session");
}

}  // namespace
