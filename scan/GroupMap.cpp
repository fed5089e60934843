#include "scan/GroupMap.h"

#include "runtime/Message.h"

namespace zemra {

const CVL_GroupSymbol& CVL_GroupMap::firstParticipating(
    const boost::match_results<const char*>& results) const {
  for (const CVL_GroupSymbol& pair : m_Pairs) {
    if (pair.m_Group < 0 || static_cast<std::size_t>(pair.m_Group) >= results.size()) continue;
    if (!results[pair.m_Group].matched) continue;
    if (pair.m_pSymbol == nullptr || pair.m_pSymbol->id == tok::Unrecognized) break;
    return pair;
  }
  throw CVL_Message("token not found");
}

}  // namespace zemra
