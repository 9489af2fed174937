// The services the simulated host serves and every name it serves each
// under, the one list that the lookup answers from and that the
// conformance check withholds from.
#pragma once

#include <string>
#include <vector>

#include "host/item_info.h"
#include "host/other_services.h"
#include "host/panel_toolkit.h"

namespace sim {

// Which host the session plays: one of the classic protocol (version 4, the
// classic service names) or one of 2020 and later (version 5 and the older
// ones, the newer service names beside the classic ones, which it keeps for
// older modules).
enum class HostKind { Classic, Current };

enum class Service { ItemInfo, PanelToolkit, Messages, Textures };

struct ServedName {
    const char* name;
    Service service;
    bool currentOnly;  // served by a current host alone
};

// Newest first within each service.
inline constexpr ServedName kServedNames[] = {
    {HOST_ITEM_INFO_SERVICE_9, Service::ItemInfo, true},
    {HOST_ITEM_INFO_SERVICE_8, Service::ItemInfo, true},
    {HOST_ITEM_INFO_SERVICE, Service::ItemInfo, false},
    {HOST_PANEL_TOOLKIT_SERVICE_3, Service::PanelToolkit, true},
    {HOST_PANEL_TOOLKIT_SERVICE_2, Service::PanelToolkit, true},
    {HOST_PANEL_TOOLKIT_SERVICE, Service::PanelToolkit, false},
    {HOST_MESSAGE_SERVICE_4, Service::Messages, true},
    {HOST_MESSAGE_SERVICE_3, Service::Messages, true},
    {HOST_MESSAGE_SERVICE, Service::Messages, false},
    {HOST_TEXTURE_SERVICE_6, Service::Textures, true},
    {HOST_TEXTURE_SERVICE_5, Service::Textures, true},
    {HOST_TEXTURE_SERVICE, Service::Textures, false},
};

inline bool servedBy(const ServedName& served, HostKind kind) {
    return kind == HostKind::Current || !served.currentOnly;
}

// The names a host of `kind` serves `service` under, newest first.
inline std::vector<std::string> servedNamesOf(Service service, HostKind kind) {
    std::vector<std::string> names;
    for (const ServedName& served : kServedNames)
        if (served.service == service && servedBy(served, kind)) names.push_back(served.name);
    return names;
}

}  // namespace sim
