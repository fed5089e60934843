// The files a run's include directives looked for, for a dependency list.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace zemra {

struct IncludeRecord {
  enum class Status {
    Loaded,      // found and parsed
    Unreadable,  // found, but could not be read
    NotFound,    // in no include directory
  };
  std::string name;  // as written in the directive
  std::string path;  // where it was found; empty when not found
  Status status = Status::Loaded;
};

// Keeps each file once, in the order it was first looked for: a header
// included many times (behind its include guard) is one dependency.
class IncludeLog {
 public:
  void found(const std::string& name, const std::string& path, IncludeRecord::Status status);
  void notFound(const std::string& name);

  const std::vector<IncludeRecord>& records() const { return m_Records; }

 private:
  void add(IncludeRecord record, const std::string& key);

  std::vector<IncludeRecord> m_Records;
  std::set<std::string> m_Keys;  // found paths and missing names seen so far
};

}  // namespace zemra
