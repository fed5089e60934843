// A file an include directive of a run looked for: what `orvo-pp --deps`
// lists, and what the run's include log keeps.
#pragma once

#include <string>

namespace orvo {

// Each file is listed once, in the order it was first looked for.
struct IncludedFile {
  enum class Status {
    Loaded,      // found and parsed
    Unreadable,  // found, but could not be read
    NotFound,    // in no include directory
  };
  std::string name;  // as written in the directive
  std::string path;  // where it was found; empty when not found
  Status status = Status::Loaded;
};

}  // namespace orvo
