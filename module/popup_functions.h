// The popups' entry functions, which the hint lists of every modifier's panel
// name. The toolkit's user data is not needed: every walk goes to the host's
// lists afresh.
#pragma once

#include "channel/item_list.h"
#include "host/host_types.h"

namespace kelto {

template <ItemList List>
int HOST_CALL popupCount(void*) {
    return choiceCount(List);
}

template <ItemList List>
const char* HOST_CALL popupName(void*, int index) {
    return choiceName(List, index);
}

}  // namespace kelto
