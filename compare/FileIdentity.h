// The files both runs read under one numbering: the two engines name an
// included file each in its own way (a path below an include directory as
// given, or as the recursive search found it), so files are told apart by
// their canonical path, and each keeps the name each run gave it.
#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

namespace orvo::compare {

enum Side { kMainSide = 0, kStandardSide = 1 };

class FileIdentity {
 public:
  // The main input is file 0 under `inputName` in both runs, and also under
  // `inputPath` (its path, when it is a file), by which it includes itself.
  FileIdentity(const std::string& inputName, const std::string& inputPath);

  // The number of the file `side` names `name`, given one on first sight.
  int idOf(Side side, const std::string& name);
  // The name `side` gave file `id`; empty when that run never named it.
  const std::string& nameIn(Side side, int id) const { return m_Files[static_cast<std::size_t>(id)].names[side]; }
  // The name to show: the main run's, else the standard run's.
  const std::string& shownName(int id) const;
  // Whether `side` entered file `id` (its lines wrote output or events).
  bool entered(Side side, int id) const { return m_Files[static_cast<std::size_t>(id)].entered[side]; }
  void markEntered(Side side, int id) { m_Files[static_cast<std::size_t>(id)].entered[side] = true; }

 private:
  struct File {
    std::array<std::string, 2> names;
    std::array<bool, 2> entered{};
  };
  std::vector<File> m_Files;
  std::map<std::string, int> m_ByKey;  // canonical path (or the input's name) → id
  std::array<std::map<std::string, int>, 2> m_ByName;  // each run's names, looked up once
};

}  // namespace orvo::compare
