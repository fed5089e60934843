#include "scan/GroupMap.h"

#include "base/Message.h"

namespace orvo {

void CVL_GroupMap::ThrowTokenNotFound() { throw CVL_Message("token not found"); }

}  // namespace orvo
