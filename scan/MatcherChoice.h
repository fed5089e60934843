// Which matcher runs the scanners' expressions on this thread: the token
// matchers, where they reproduce an expression exactly, or the regular-
// expression library alone, the reference they are tested against.
//
// A run chooses for its own thread for as long as it lasts (a
// LibraryMatchingScope); code that scans outside a run gets the choice of
// the environment.
#pragma once

namespace orvo {

// Whether the environment asks for the reference path: ORVO_MODE=reference,
// or ORVO_BOOST_ONLY=1 (the older name). Read once per process.
bool EnvironmentAsksForReference();

// Whether the scanners on this thread run on the library alone.
bool LibraryMatchingOnly();

// Makes the scanners on this thread run on the library alone, or not, until
// the scope ends.
class LibraryMatchingScope {
 public:
  explicit LibraryMatchingScope(bool libraryOnly);
  ~LibraryMatchingScope();
  LibraryMatchingScope(const LibraryMatchingScope&) = delete;
  LibraryMatchingScope& operator=(const LibraryMatchingScope&) = delete;

 private:
  bool m_bPrevious;
};

}  // namespace orvo
