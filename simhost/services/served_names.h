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

// Which host the session plays: one of the classic protocol (version 4) or
// one of 2020 and later (version 5 and the older ones).
enum class HostKind { Classic, Current };

enum class Service { ItemInfo, PanelToolkit, Messages, Textures };

// When a service name came: the oldest ones, those of the 9.x hosts and of
// the 2015 and 2018 hosts (still the classic protocol), and those of 2020
// and later.
enum class ServiceEra { Oldest, Sdk9, Sdk2015, Sdk2018, Since2020 };

struct ServedName {
    const char* name;
    Service service;
    ServiceEra era;
};

// Newest first within each service. A name of several eras is listed once,
// under its first.
inline constexpr ServedName kServedNames[] = {
    {HOST_ITEM_INFO_SERVICE_9, Service::ItemInfo, ServiceEra::Since2020},
    {HOST_ITEM_INFO_SERVICE_8, Service::ItemInfo, ServiceEra::Sdk2015},
    {HOST_ITEM_INFO_SERVICE_5, Service::ItemInfo, ServiceEra::Sdk9},
    {HOST_ITEM_INFO_SERVICE, Service::ItemInfo, ServiceEra::Oldest},
    {HOST_PANEL_TOOLKIT_SERVICE_3, Service::PanelToolkit, ServiceEra::Since2020},
    {HOST_PANEL_TOOLKIT_SERVICE_2, Service::PanelToolkit, ServiceEra::Sdk2015},
    {HOST_PANEL_TOOLKIT_SERVICE, Service::PanelToolkit, ServiceEra::Oldest},
    {HOST_MESSAGE_SERVICE_4, Service::Messages, ServiceEra::Since2020},
    {HOST_MESSAGE_SERVICE_3, Service::Messages, ServiceEra::Sdk2015},
    {HOST_MESSAGE_SERVICE_2, Service::Messages, ServiceEra::Sdk9},
    {HOST_MESSAGE_SERVICE, Service::Messages, ServiceEra::Oldest},
    {HOST_TEXTURE_SERVICE_6, Service::Textures, ServiceEra::Since2020},
    {HOST_TEXTURE_SERVICE_5, Service::Textures, ServiceEra::Sdk2018},
    {HOST_TEXTURE_SERVICE_4, Service::Textures, ServiceEra::Sdk2015},
    {HOST_TEXTURE_SERVICE_3, Service::Textures, ServiceEra::Sdk9},
    {HOST_TEXTURE_SERVICE, Service::Textures, ServiceEra::Oldest},
};

// A classic host serves every name up to 2018's; a current one every name,
// keeping the older ones for older modules.
inline bool servedBy(const ServedName& served, HostKind kind) {
    return kind == HostKind::Current || served.era != ServiceEra::Since2020;
}

// The names a host of `kind` serves `service` under, newest first.
inline std::vector<std::string> servedNamesOf(Service service, HostKind kind) {
    std::vector<std::string> names;
    for (const ServedName& served : kServedNames)
        if (served.service == service && servedBy(served, kind)) names.push_back(served.name);
    return names;
}

}  // namespace sim
