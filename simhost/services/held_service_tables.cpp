// "Info Messages" and "Texture Functions": a module looks them up and holds
// them but never calls them, so every function here records a violation.
#include <array>
#include <string>
#include <utility>

#include "host/other_services.h"
#include "simhost/services/service_tables.h"
#include "simhost/services/host_session.h"

namespace sim {

namespace {

// Longer than either real table, so any slot the module could reach records.
const size_t kSlots = 32;

typedef void (HOST_CALL* AnyFunction)();

template <char Service, size_t Slot>
void HOST_CALL heldServiceCalled() {
    const char* service = Service == 'M' ? HOST_MESSAGE_SERVICE : HOST_TEXTURE_SERVICE;
    std::string slot = std::to_string(Slot + 1);
    HostSession::serving(service, slot.c_str()).recordViolation(std::string(service) + " function " + slot + " was called");
}

template <char Service, size_t... Slots>
constexpr std::array<AnyFunction, kSlots> makeTable(std::index_sequence<Slots...>) {
    return {{heldServiceCalled<Service, Slots>...}};
}

std::array<AnyFunction, kSlots> g_messages = makeTable<'M'>(std::make_index_sequence<kSlots>());
std::array<AnyFunction, kSlots> g_textures = makeTable<'T'>(std::make_index_sequence<kSlots>());

}  // namespace

void* messageServiceTable() { return g_messages.data(); }
void* textureServiceTable() { return g_textures.data(); }

}  // namespace sim
