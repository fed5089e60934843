// What the scanners of one scan learnt about its start: where the blanks in
// front of the token end, once no comment was found there. Every scanner of
// a scan starts at the same place and most share their inclusion and ignore
// parts, so only the first of them needs to check.
#pragma once

#include <array>
#include <cstddef>

namespace orvo {

class CVL_IgnoreScanner;
class CVL_Scanner;

class CVL_ScanStartMemo {
 public:
  // The token begin a scanner with these inclusion and ignore parts reaches
  // from `from` without finding an inclusion; null when not recorded.
  const char* find(const CVL_Scanner* inclusion, const CVL_IgnoreScanner* ignore,
                   const char* from) const {
    for (std::size_t i = 0; i < m_Count; ++i) {
      const Entry& entry = m_Entries[i];
      if (entry.inclusion == inclusion && entry.ignore == ignore && entry.from == from)
        return entry.to;
    }
    return nullptr;
  }

  // Records a result; once full, later results are simply not kept.
  void remember(const CVL_Scanner* inclusion, const CVL_IgnoreScanner* ignore, const char* from,
                const char* to) {
    if (m_Count < m_Entries.size()) m_Entries[m_Count++] = Entry{inclusion, ignore, from, to};
  }

 private:
  struct Entry {
    const CVL_Scanner* inclusion;
    const CVL_IgnoreScanner* ignore;
    const char* from;
    const char* to;
  };
  std::array<Entry, 4> m_Entries;  // the first m_Count are set
  std::size_t m_Count = 0;
};

}  // namespace orvo
