#include "grammar/IncludeLog.h"

namespace orvo {

void IncludeLog::found(const std::string& name, const std::string& path, Status status) {
  if (m_FoundPaths.insert(path).second) m_Records.push_back({name, path, status});
}

void IncludeLog::notFound(const std::string& name) {
  if (m_MissingNames.insert(name).second)
    m_Records.push_back({name, std::string(), Status::NotFound});
}

}  // namespace orvo
