#include "module/protocols.h"

#include "host/channel_handler.h"
#include "host/item_info.h"
#include "host/other_services.h"
#include "host/panel_toolkit.h"

namespace kelto {

namespace {

// The classic protocol looks up exactly the names it always has.
const char* const kClassicMessages[] = {HOST_MESSAGE_SERVICE, nullptr};
const char* const kClassicTextures[] = {HOST_TEXTURE_SERVICE, nullptr};
const char* const kClassicItemInfo[] = {HOST_ITEM_INFO_SERVICE, nullptr};
const char* const kClassicPanelToolkit[] = {HOST_PANEL_TOOLKIT_SERVICE, nullptr};

const Protocol kClassic = {host::kClassicClassVersion, kClassicMessages, kClassicTextures, kClassicItemInfo,
                           kClassicPanelToolkit};

#if defined(KELTO_SERVES_CURRENT_PROTOCOL)
// Hosts of the current protocol serve their tables under newer names; the
// functions used here keep their positions under every name.
const char* const kCurrentMessages[] = {HOST_MESSAGE_SERVICE_4, HOST_MESSAGE_SERVICE_3, HOST_MESSAGE_SERVICE, nullptr};
const char* const kCurrentTextures[] = {HOST_TEXTURE_SERVICE_6, HOST_TEXTURE_SERVICE_5, HOST_TEXTURE_SERVICE, nullptr};
const char* const kCurrentItemInfo[] = {HOST_ITEM_INFO_SERVICE_9, HOST_ITEM_INFO_SERVICE_8, HOST_ITEM_INFO_SERVICE,
                                        nullptr};
const char* const kCurrentPanelToolkit[] = {HOST_PANEL_TOOLKIT_SERVICE_3, HOST_PANEL_TOOLKIT_SERVICE_2,
                                            HOST_PANEL_TOOLKIT_SERVICE, nullptr};

const Protocol kCurrent = {host::kCurrentClassVersion, kCurrentMessages, kCurrentTextures, kCurrentItemInfo,
                           kCurrentPanelToolkit};
#endif

}  // namespace

const Protocol* servedProtocol(int classVersion) {
    if (classVersion == kClassic.classVersion) return &kClassic;
#if defined(KELTO_SERVES_CURRENT_PROTOCOL)
    if (classVersion == kCurrent.classVersion) return &kCurrent;
#endif
    return nullptr;
}

const void* lookUpService(host::GlobalLookup lookup, const char* const* names) {
    for (; *names != nullptr; ++names)
        if (const void* table = lookup(*names, host::kGlobalUseMode)) return table;
    return nullptr;
}

}  // namespace kelto
