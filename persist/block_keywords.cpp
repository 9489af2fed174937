#include "persist/block_keywords.h"

namespace kelto {

const char kBlockStart[] = "KELTO_START";
const char kBlockEnd[] = "KELTO_END";

}  // namespace kelto
