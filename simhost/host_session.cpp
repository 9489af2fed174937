#include "host_session.h"

#include "host/item_info.h"
#include "host/other_services.h"
#include "host/panel_toolkit.h"
#include "service_tables.h"

namespace sim {

namespace {

HostSession* g_current = nullptr;

bool holds(std::vector<SceneItem>& list, const void* id) {
    if (list.empty()) return false;
    const SceneItem* begin = list.data();
    const SceneItem* end = begin + list.size();
    // Compare as addresses: an ID from elsewhere must not be dereferenced.
    uintptr_t address = reinterpret_cast<uintptr_t>(id);
    uintptr_t low = reinterpret_cast<uintptr_t>(begin);
    uintptr_t high = reinterpret_cast<uintptr_t>(end);
    return address >= low && address < high && (address - low) % sizeof(SceneItem) == 0;
}

void* itemInfoTable() { return const_cast<host::ItemInfoService*>(&itemInfoServiceTable()); }
void* panelToolkit() { return const_cast<host::PanelToolkit*>(&panelToolkitTable()); }

// Every name the host serves a table under. A current host serves the newer
// names beside the classic ones, which it keeps for older modules.
struct ServedName {
    const char* name;
    bool currentOnly;
    void* (*table)();
};

const ServedName kServedNames[] = {
    {HOST_ITEM_INFO_SERVICE, false, itemInfoTable},
    {HOST_ITEM_INFO_SERVICE_8, true, itemInfoTable},
    {HOST_ITEM_INFO_SERVICE_9, true, itemInfoTable},
    {HOST_PANEL_TOOLKIT_SERVICE, false, panelToolkit},
    {HOST_PANEL_TOOLKIT_SERVICE_2, true, panelToolkit},
    {HOST_PANEL_TOOLKIT_SERVICE_3, true, panelToolkit},
    {HOST_MESSAGE_SERVICE, false, messageServiceTable},
    {HOST_MESSAGE_SERVICE_3, true, messageServiceTable},
    {HOST_MESSAGE_SERVICE_4, true, messageServiceTable},
    {HOST_TEXTURE_SERVICE, false, textureServiceTable},
    {HOST_TEXTURE_SERVICE_5, true, textureServiceTable},
    {HOST_TEXTURE_SERVICE_6, true, textureServiceTable},
};

void* HOST_CALL globalLookup(const char* serviceName, int useMode) {
    HostSession* session = g_current;
    if (session == nullptr || serviceName == nullptr) return nullptr;
    std::string name = serviceName;
    session->recordLookup(name);
    if (useMode != host::kGlobalUseMode)
        session->recordViolation("lookup of \"" + name + "\" with use mode " + std::to_string(useMode));
    if (session->isWithheld(name)) return nullptr;
    bool current = session->kind() == HostKind::Current;
    for (const ServedName& served : kServedNames)
        if (name == served.name && (current || !served.currentOnly)) return served.table();
    return nullptr;
}

}  // namespace

HostSession::HostSession(Scene& scene) : scene_(scene), previous_(g_current) { g_current = this; }

HostSession::~HostSession() { g_current = previous_; }

HostSession* HostSession::current() { return g_current; }

host::GlobalLookup HostSession::lookup() { return globalLookup; }

std::vector<SceneItem>* HostSession::listOf(host::ItemId id) {
    if (holds(scene_.objects, id)) return &scene_.objects;
    if (holds(scene_.cameras, id)) return &scene_.cameras;
    return nullptr;
}

SceneItem* HostSession::itemOf(host::ItemId id) { return listOf(id) != nullptr ? static_cast<SceneItem*>(id) : nullptr; }

std::vector<SceneItem>* HostSession::listOfType(int typeCode) {
    if (typeCode == host::kItemTypeObject) return &scene_.objects;
    if (typeCode == host::kItemTypeCamera) return &scene_.cameras;
    return nullptr;
}

}  // namespace sim
