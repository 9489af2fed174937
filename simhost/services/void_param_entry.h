// The item-info param entry that the simulated host hands out. The host's
// param returns nothing, so whatever its compiler leaves in the return
// register is no answer; this entry leaves 0 there on purpose, so that a
// module that reads a result from param finds "nothing written" at every
// call and fails its run, as it may in the real host.
#pragma once

#include "host/item_info.h"

extern "C" {

// Writes the answer (item_info_table.cpp).
void HOST_CALL kelto_sim_param_body(host::ItemId item, int code, double time, double* values);

// Calls the body with the same arguments, then clears the return register
// (void_param_entry.cpp, in each target's assembly).
void HOST_CALL kelto_sim_param(host::ItemId item, int code, double time, double* values);
}

namespace sim {

inline constexpr void(HOST_CALL* voidParamEntry)(host::ItemId, int, double, double*) = kelto_sim_param;

}  // namespace sim
