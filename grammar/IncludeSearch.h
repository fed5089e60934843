// Where an #include name is looked for: the split of the name into directory
// part and leaf, the directory join, and the recursive walk of a directory
// tree for a file with a given leaf.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace orvo {

// The path separator of this platform, used by the join, the path parts of
// a name and the directory walk.
constexpr char kPathSeparator = '/';

// Deepest folder nesting one lookup descends into below the folder it starts
// in. The walk recurses once per level, a few hundred bytes of stack each;
// real header trees are far shallower (/usr/include: 9 levels), so deeper
// folders are skipped with a warning rather than searched.
constexpr int kMaxSearchDepth = 128;

struct IncludeName {
  std::string directory;  // everything before the leaf, trailing separator included
  std::string leaf;       // the last element of the name
};

// Splits `sys/types.h` into "sys/" and "types.h".
IncludeName SplitIncludeName(const std::string& name);

// Joins an include directory and the directory part of a name with a single
// separator at the junction.
std::string JoinDirectory(const std::string& directory, const std::string& part);

// Depth-first search of directory trees. Listings are read once per run and
// reused by later searches; a directory reached twice in one search (a
// symbolic link back up the tree, or two links to the same place) is walked
// only the first time.
class IncludeSearch {
 public:
  // Whether the include directory `directory` can be searched. One that does
  // not exist or cannot be looked at is skipped (a warning once per run, see
  // takeWarnings), and the search goes on in the others; anything else that
  // is no directory ends the run with "CANDIDATE is not a directory".
  // Decided once per run for each.
  bool usable(const std::string& directory, const std::string& candidate);

  // Path of the first file named `leaf` below `directory`, visiting the
  // entries of each directory in listing order and descending into a
  // subdirectory as soon as it is met. Nothing when `directory` does not
  // exist or holds no such file.
  std::optional<std::string> find(const std::string& directory, const std::string& leaf);

  // Something the search skipped, and why: an include directory it cannot
  // use, a folder it cannot list, or the folders below one too deep down.
  struct Skipped {
    std::string what;  // "include directory", "folder", "the folders below"
    std::string path;
    std::string reason;
  };
  // What was skipped since the last call: each include directory and folder
  // once per run, the depth bound the first time a lookup met it. The
  // searches went on without them.
  std::vector<Skipped> takeWarnings();

 private:
  struct Entry {
    std::string name;
    std::string canonical;  // for a directory its canonical path, else empty
  };
  using Listing = std::vector<Entry>;

  // Walks `directory`, whose canonical path is `canonical`.
  std::optional<std::string> walk(const std::string& directory, const std::string& canonical,
                                  const std::string& leaf, int level,
                                  std::set<const Listing*>& visited);
  const Listing& listing(const std::string& canonical);

  // Read once per directory; the canonical paths of subdirectories are
  // resolved at the same time, so a walk needs no further system calls.
  std::map<std::string, Listing> m_Listings;  // keyed by canonical path
  // Canonical paths of the folders searched, resolved once per run like the
  // listings; nothing for a folder that does not exist.
  std::map<std::string, std::optional<std::string>> m_Canonical;
  std::map<std::string, bool> m_UsableDirectories;
  std::vector<Skipped> m_Skipped;
  bool m_DepthBoundMet = false;
};

}  // namespace orvo
