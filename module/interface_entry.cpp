#include "module/interface_entry.h"

#include "channel/item_list.h"
#include "host/channel_handler.h"
#include "host/channel_interface.h"
#include "host/module_descriptor.h"
#include "host/panel_toolkit.h"
#include "channel/held_services.h"
#include "module/instance_handle.h"
#include "module/protocols.h"
#include "panel/reference_panel.h"

namespace kelto {

namespace {

// The popups' entry functions. The toolkit's user data is not needed: every
// walk goes to the host's lists afresh.
template <ItemList List>
int HOST_CALL popupCount(void*) {
    return choiceCount(List);
}

template <ItemList List>
const char* HOST_CALL popupName(void*, int index) {
    return choiceName(List, index);
}

void* HOST_CALL panelGet(void* instance, uint32_t control) {
    return instance != nullptr ? referenceValue(*instanceOf(instance), control) : nullptr;
}

int HOST_CALL panelSet(void* instance, uint32_t control, void* value) {
    if (instance == nullptr || value == nullptr) return host::kRefreshNone;
    return setReferenceValue(*instanceOf(instance), control, *static_cast<const int32_t*>(value));
}

template <typename Pointer>
host::PanelHintWord word(Pointer pointer) {
    return reinterpret_cast<host::PanelHintWord>(pointer);
}

const host::PanelHintWord kNoWord = 0;

// The panel's text; each popup's entries from its list; a further hint on the
// item popup, whose meaning is the toolkit's; then the words that close the list.
const host::PanelHintWord kHints[] = {
    host::kHintLabel, host::kPanelControlId, word(kReferencePanelTitle), kNoWord,
    host::kHintPopupFuncs, kReferenceItemControl, word(&popupCount<ItemList::Objects>),
    word(&popupName<ItemList::Objects>),
    host::kHintPopupFuncs, kReferenceCameraControl, word(&popupCount<ItemList::Cameras>),
    word(&popupName<ItemList::Cameras>),
    host::kHintPopupOption, kReferenceItemControl, kNoWord, kNoWord, kNoWord, kNoWord, kNoWord,
};

const PanelCallbacks kCallbacks = {kHints, panelGet, panelSet};


host::PanelId buildPanel(host::GlobalLookup lookup, const Protocol& protocol, host::InstanceHandle instance) {
    if (lookup == nullptr || instance == nullptr) return nullptr;
    const void* toolkit = lookUpService(lookup, protocol.panelToolkitServices);
    if (toolkit == nullptr) return nullptr;
    return buildReferencePanel(*static_cast<const host::PanelToolkit*>(toolkit), kCallbacks, *instanceOf(instance));
}

// The panel speaks the protocol the handler was last bound with, so that a
// host counting versions upward does not take a classic panel for its own
// legacy kind. Before any handler activation that is the classic one.
const Protocol* protocolInForce() {
    int version = heldHostServices().classVersion;
    return servedProtocol(version != 0 ? version : host::kClassicClassVersion);
}

}  // namespace

// A host without a panel toolkit still gets a successful activation: the
// modifier works without its panel.
int HOST_CALL activateChannelInterface(int version, host::GlobalLookup lookup, void* interfaceRecord, void*) {
    const Protocol* protocol = protocolInForce();
    if (protocol == nullptr || version != protocol->classVersion) return host::kActivationBadVersion;
    if (interfaceRecord == nullptr) return host::kActivationOk;
    host::InterfaceRecord& record = *static_cast<host::InterfaceRecord*>(interfaceRecord);
    record.panel = buildPanel(lookup, *protocol, record.instance);
    record.options = nullptr;
    record.command = nullptr;
    return host::kActivationOk;
}

}  // namespace kelto
