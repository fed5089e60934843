#include "grammar/IncludeLog.h"

#include <utility>

namespace zemra {

void IncludeLog::found(const std::string& name, const std::string& path,
                       IncludeRecord::Status status) {
  add(IncludeRecord{name, path, status}, "found:" + path);
}

void IncludeLog::notFound(const std::string& name) {
  add(IncludeRecord{name, std::string(), IncludeRecord::Status::NotFound}, "missing:" + name);
}

void IncludeLog::add(IncludeRecord record, const std::string& key) {
  if (m_Keys.insert(key).second) m_Records.push_back(std::move(record));
}

}  // namespace zemra
