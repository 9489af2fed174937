#include "simhost/services/host_session.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "host/item_info.h"
#include "host/other_services.h"
#include "host/panel_toolkit.h"
#include "simhost/platform/crash_report.h"
#include "simhost/services/service_tables.h"

namespace sim {

namespace {

HostSession* g_current = nullptr;

// The exit status of a run that failed.
const int kNoSessionExitCode = 1;

// Room for most names, so that a name handed out usually reuses the last one's bytes.
const size_t kNameRoom = 256;
// After the room, bytes that no name takes: a module that writes past a name's
// end writes here first.
const size_t kNameGuardBytes = 1024;
const char kNameGuardByte = '\xA5';

// Each module call's end checks the session's name buffer.
void checkCurrentName() {
    if (g_current != nullptr) g_current->checkName();
}

// The table behind each service.
void* tableOf(Service service) {
    switch (service) {
        case Service::ItemInfo: return const_cast<host::ItemInfoService*>(&itemInfoServiceTable());
        case Service::PanelToolkit: return const_cast<host::PanelToolkit*>(&panelToolkitTable());
        case Service::Messages: return const_cast<host::MessageService*>(&messageServiceTable());
        case Service::Textures: return const_cast<host::TextureService*>(&textureServiceTable());
    }
    return nullptr;
}

void* servedTable(const HostSession& session, const std::string& name) {
    if (session.isWithheld(name)) return nullptr;
    for (const ServedName& served : kServedNames)
        if (name == served.name && servedBy(served, session.kind())) return tableOf(served.service);
    return nullptr;
}

void* HOST_CALL globalLookup(const char* serviceName, int useMode) {
    if (calledFromSecondThread("the host", "the global lookup")) return nullptr;
    HostSession* session = g_current;
    if (session == nullptr || serviceName == nullptr) return nullptr;
    std::string name = serviceName;
    if (useMode != host::kGlobalUseMode)
        session->recordViolation("lookup of \"" + name + "\" with use mode " + std::to_string(useMode));
    void* table = servedTable(*session, name);
    session->recordLookup(name, table != nullptr);
    return table;
}

}  // namespace

// The session that serves a second thread's calls: its own, over an empty scene.
HostSession& secondThreadSession() {
    thread_local Scene empty;
    thread_local HostSession session(empty, HostSession::StandIn());
    return session;
}

HostSession::HostSession(Scene& scene) : scene_(scene), previous_(g_current) {
    g_current = this;
    checkAfterModuleCalls(checkCurrentName);
}

HostSession::HostSession(Scene& scene, StandIn) : claim_(false), scene_(scene), previous_(nullptr), standIn_(true) {}

HostSession::~HostSession() {
    if (!standIn_) g_current = previous_;
}

HostSession* HostSession::current() { return g_current; }

host::GlobalLookup HostSession::lookup() { return globalLookup; }

HostSession& HostSession::serving(const char* service, const char* function) {
    if (calledFromSecondThread(service, function)) return secondThreadSession();
    if (g_current != nullptr) return *g_current;
    std::cout.flush();
    std::fprintf(stderr, "kelto-host: %s function %s was called with no host session to serve it\n", service, function);
    std::fflush(stderr);
    std::_Exit(kNoSessionExitCode);
}

host::ItemId HostSession::idOf(int typeCode, size_t index) {
    std::vector<SceneItem>* list = listOfType(typeCode);
    if (list == nullptr || index >= list->size()) return nullptr;
    if (kind_ == HostKind::Current) return keptIds_.idAt(typeCode, index, list->size());
    return itemIdAt(typeCode, index);
}

bool HostSession::placeOf(host::ItemId id, int& typeCode, size_t& index) {
    size_t number = 0;
    std::vector<SceneItem>* list = decodeItemId(id, typeCode, number) ? listOfType(typeCode) : nullptr;
    if (list == nullptr) return false;
    if (kind_ == HostKind::Current) return keptIds_.placeOf(typeCode, number, list->size(), index);
    index = number;
    return index < list->size();
}

SceneItem* HostSession::itemOf(host::ItemId id) {
    int typeCode = 0;
    size_t index = 0;
    return placeOf(id, typeCode, index) ? &(*listOfType(typeCode))[index] : nullptr;
}

void HostSession::deleteItem(int typeCode, size_t index) {
    std::vector<SceneItem>* list = listOfType(typeCode);
    if (list == nullptr || index >= list->size()) return;
    if (kind_ == HostKind::Current) keptIds_.erase(typeCode, index, list->size());
    scene_.erase(typeCode, index);
}

std::vector<SceneItem>* HostSession::listOfType(int typeCode) { return scene_.list(typeCode); }

const char* HostSession::holdName(const std::string& name) {
    checkName();
    // The bytes are reused while the name fits, as a host's buffer would be.
    if (nameBuffer_.size() < name.size() + 1 + kNameGuardBytes)
        nameBuffer_.resize(std::max(name.size() + 1, kNameRoom) + kNameGuardBytes);
    heldName_ = name;
    nameHandedOut_ = true;
    leaveName();
    return nameBuffer_.data();
}

void HostSession::expireName() {
    if (!nameHandedOut_) return;
    checkName();
    nameHandedOut_ = false;
    leaveName();
}

void HostSession::leaveName() {
    if (!nameHandedOut_) {
        std::fill(nameBuffer_.begin(), nameBuffer_.end() - 1, kExpiredNameByte);
        nameBuffer_.back() = '\0';
        return;
    }
    auto end = std::copy(heldName_.begin(), heldName_.end(), nameBuffer_.begin());
    *end++ = '\0';
    std::fill(end, nameBuffer_.end(), kNameGuardByte);
}

// The first byte of the name buffer that is not as the host left it; its size when none is.
size_t HostSession::firstNameChange() const {
    auto begin = nameBuffer_.begin(), end = nameBuffer_.end();
    if (begin == end) return 0;
    if (!nameHandedOut_) {
        auto changed = std::find_if(begin, end - 1, [](char byte) { return byte != kExpiredNameByte; });
        if (changed != end - 1) return static_cast<size_t>(changed - begin);
        return end[-1] == '\0' ? nameBuffer_.size() : nameBuffer_.size() - 1;
    }
    auto name = std::mismatch(heldName_.begin(), heldName_.end(), begin).second;
    if (name != begin + static_cast<std::ptrdiff_t>(heldName_.size()) || *name != '\0')
        return static_cast<size_t>(name - begin);
    return static_cast<size_t>(std::find_if(name + 1, end, [](char byte) { return byte != kNameGuardByte; }) - begin);
}

void HostSession::checkName() {
    size_t changed = firstNameChange();
    if (changed == nameBuffer_.size()) return;
    std::string breach = !nameHandedOut_              ? "a name from item info written into after it expired"
                         : changed < heldName_.size() ? "a name from item info written into"
                                                      : "a name from item info written past its end";
    breach += " (the module may only read it)";
    if (std::find(violations_.begin(), violations_.end(), breach) == violations_.end()) recordViolation(breach);
    leaveName();
}

const std::vector<std::string>& HostSession::violations() {
    std::string note = takeSecondThreadNote();
    if (!note.empty()) violations_.push_back(note);
    return violations_;
}

std::vector<std::string> HostSession::unservedSince(size_t first) const {
    std::vector<std::string> unserved;
    for (size_t i = first; i < lookups_.size(); ++i)
        if (!lookupServed_[i] && std::find(unserved.begin(), unserved.end(), lookups_[i]) == unserved.end())
            unserved.push_back(lookups_[i]);
    return unserved;
}

}  // namespace sim
