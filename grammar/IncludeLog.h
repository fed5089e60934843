// The files a run's include directives looked for, for a dependency list.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "orvo/IncludedFile.h"

namespace orvo {

// Keeps each file once, in the order it was first looked for: a header
// included many times (behind its include guard) is one dependency, and so
// is a name no include directory has.
class IncludeLog {
 public:
  using Status = orvo::IncludedFile::Status;

  void found(const std::string& name, const std::string& path, Status status);
  void notFound(const std::string& name);

  const std::vector<orvo::IncludedFile>& records() const { return m_Records; }

 private:
  std::vector<orvo::IncludedFile> m_Records;
  std::set<std::string> m_FoundPaths;
  std::set<std::string> m_MissingNames;
};

}  // namespace orvo
