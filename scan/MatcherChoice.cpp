#include "scan/MatcherChoice.h"

#include <cstdlib>
#include <cstring>

namespace orvo {
namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}

thread_local bool tLibraryOnly = EnvironmentAsksForReference();

}  // namespace

bool EnvironmentAsksForReference() {
  static const bool reference = [] {
    const char* mode = std::getenv("ORVO_MODE");
    if (mode != nullptr && std::strcmp(mode, "reference") == 0) return true;
    return Set("ORVO_BOOST_ONLY");
  }();
  return reference;
}

bool LibraryMatchingOnly() { return tLibraryOnly; }

LibraryMatchingScope::LibraryMatchingScope(bool libraryOnly) : m_bPrevious(tLibraryOnly) {
  tLibraryOnly = libraryOnly;
}

LibraryMatchingScope::~LibraryMatchingScope() { tLibraryOnly = m_bPrevious; }

}  // namespace orvo
