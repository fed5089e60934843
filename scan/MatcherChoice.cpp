#include "scan/MatcherChoice.h"

#include <cstdlib>
#include <cstring>

namespace zemra {

bool LibraryMatchingOnly() {
  static const bool libraryOnly = [] {
    const char* value = std::getenv("ORVO_BOOST_ONLY");
    return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
  }();
  return libraryOnly;
}

}  // namespace zemra
