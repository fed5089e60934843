#include "grammar/IncludeSearch.h"

#include <boost/filesystem.hpp>
#include <utility>

#include "base/Message.h"

namespace orvo {

namespace fs = boost::filesystem;

IncludeName SplitIncludeName(const std::string& name) {
  const std::size_t slash = name.rfind(kPathSeparator);
  if (slash == std::string::npos) return {"", name};
  return {name.substr(0, slash + 1), name.substr(slash + 1)};
}

std::string JoinDirectory(const std::string& directory, const std::string& part) {
  if (directory.empty()) return part;
  if (part.empty()) return directory;
  const bool directoryEnds = directory.back() == kPathSeparator;
  const bool partStarts = part.front() == kPathSeparator;
  if (directoryEnds && partStarts) return directory + part.substr(1);
  if (directoryEnds || partStarts) return directory + part;
  return directory + kPathSeparator + part;
}

bool IncludeSearch::usable(const std::string& directory, const std::string& candidate) {
  const auto known = m_UsableDirectories.find(directory);
  if (known != m_UsableDirectories.end()) return known->second;
  if (directory.empty()) throw CVL_Message((candidate + " is not a directory").c_str());
  boost::system::error_code ec;
  const fs::file_status status = fs::status(directory, ec);
  bool searchable = true;
  if (status.type() == fs::file_not_found) {
    m_Skipped.push_back(Skipped{"include directory", directory, "it does not exist"});
    searchable = false;
  } else if (ec) {
    // What it is cannot be learnt (a folder on the way may not be entered,
    // links go round in a loop): searched as if it were not there.
    m_Skipped.push_back(Skipped{"include directory", directory, ec.message()});
    searchable = false;
  } else if (!fs::is_directory(status)) {
    throw CVL_Message((candidate + " is not a directory").c_str());
  }
  m_UsableDirectories.emplace(directory, searchable);
  return searchable;
}

std::vector<IncludeSearch::Skipped> IncludeSearch::takeWarnings() {
  return std::exchange(m_Skipped, {});
}

std::optional<std::string> IncludeSearch::find(const std::string& directory,
                                               const std::string& leaf) {
  auto known = m_Canonical.find(directory);
  if (known == m_Canonical.end()) {
    boost::system::error_code ec;
    const fs::path canonical = fs::canonical(directory, ec);
    std::optional<std::string> resolved;
    if (!ec) resolved = canonical.string();
    known = m_Canonical.emplace(directory, std::move(resolved)).first;
  }
  if (!known->second) return std::nullopt;  // not there: nothing to find
  std::set<const Listing*> visited;
  return walk(directory, *known->second, leaf, 0, visited);
}

std::optional<std::string> IncludeSearch::walk(const std::string& directory,
                                               const std::string& canonical,
                                               const std::string& leaf, int level,
                                               std::set<const Listing*>& visited) {
  const Listing& entries = listing(canonical);
  if (!visited.insert(&entries).second) return std::nullopt;  // reached again through a link

  for (const Entry& entry : entries) {
    const std::string path = JoinDirectory(directory, entry.name);
    if (!entry.canonical.empty()) {
      if (level >= kMaxSearchDepth) {
        if (!m_DepthBoundMet) {
          m_DepthBoundMet = true;
          m_Skipped.push_back(Skipped{"the folders below", directory,
                                      "more than " + std::to_string(kMaxSearchDepth) +
                                          " folder levels below the include directory"});
        }
        continue;
      }
      if (auto found = walk(path, entry.canonical, leaf, level + 1, visited)) return found;
    } else if (entry.name == leaf) {
      return path;
    }
  }
  return std::nullopt;
}

const IncludeSearch::Listing& IncludeSearch::listing(const std::string& canonical) {
  const auto cached = m_Listings.find(canonical);
  if (cached != m_Listings.end()) return cached->second;

  Listing entries;
  // A folder that cannot be read is searched as empty and reported once;
  // the search goes on in the others.
  boost::system::error_code listError;
  fs::directory_iterator item(canonical, listError);
  for (; !listError && item != fs::directory_iterator(); item.increment(listError)) {
    boost::system::error_code ec;
    Entry entry{item->path().filename().string(), std::string()};
    if (fs::is_directory(item->status(ec))) {
      const fs::path resolved = fs::canonical(item->path(), ec);
      if (!ec) entry.canonical = resolved.string();
    }
    entries.push_back(std::move(entry));
  }
  if (listError) {
    entries.clear();
    m_Skipped.push_back(Skipped{"folder", canonical, listError.message()});
  }
  return m_Listings.emplace(canonical, std::move(entries)).first->second;
}

}  // namespace orvo
