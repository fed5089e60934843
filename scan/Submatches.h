// The groups of a scan result that anything ever reads: the whole match and
// the groups of the one alternative that matched. Held inline, so a match is
// copied and moved without allocating.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace orvo {

struct CVL_Submatch {
  const char* first = nullptr;
  const char* second = nullptr;
  bool matched = false;

  std::ptrdiff_t length() const { return matched ? second - first : 0; }
  std::string str() const { return matched ? std::string(first, second) : std::string(); }
};

class CVL_Submatches {
 public:
  // A token kind's own groups: its wrapping group and up to three of its own.
  static constexpr int kMaxOwnGroups = 4;

  CVL_Submatches() = default;
  // Copies carry only the own groups in use: a token is copied on every
  // move of the parse window, and most tokens have none.
  CVL_Submatches(const CVL_Submatches& other) { copyFrom(other); }
  CVL_Submatches& operator=(const CVL_Submatches& other) {
    copyFrom(other);
    return *this;
  }

  // Group `index` of the expression; groups outside the stored alternative
  // did not take part, as in any result of one alternation.
  const CVL_Submatch& operator[](std::size_t index) const {
    if (index == 0) return m_Whole;
    const std::size_t own = index - static_cast<std::size_t>(m_FirstGroup);
    if (index < static_cast<std::size_t>(m_FirstGroup) || own >= static_cast<std::size_t>(m_OwnCount))
      return Unmatched();
    return m_Own[own];
  }
  // Number of groups of the expression, the whole match included; 0 before any result.
  std::size_t size() const { return m_Size; }
  bool empty() const { return m_Size == 0; }
  std::ptrdiff_t length(std::size_t index) const { return (*this)[index].length(); }
  std::string str(std::size_t index) const { return (*this)[index].str(); }

  // Starts a result of an expression with `groupCount` groups whose
  // alternative begins at `firstGroup`; its own groups start unmatched.
  void start(const char* begin, const char* end, std::size_t groupCount, int firstGroup,
             int ownCount) {
    m_Whole = {begin, end, true};
    m_Size = groupCount;
    m_FirstGroup = firstGroup;
    m_OwnCount = ownCount < kMaxOwnGroups ? ownCount : kMaxOwnGroups;
    for (int i = 0; i < m_OwnCount; ++i) m_Own[static_cast<std::size_t>(i)] = CVL_Submatch();
  }
  // Own group `i` of the stored alternative (0 is its wrapping group).
  void setOwn(int i, const char* begin, const char* end) {
    if (i >= 0 && i < m_OwnCount) m_Own[static_cast<std::size_t>(i)] = {begin, end, true};
  }
  // Groups past the own count are never read, so clearing leaves them.
  void clear() {
    m_Whole = CVL_Submatch();
    m_Size = 0;
    m_FirstGroup = 0;
    m_OwnCount = 0;
  }

 private:
  static const CVL_Submatch& Unmatched() {
    static const CVL_Submatch unmatched;
    return unmatched;
  }

  void copyFrom(const CVL_Submatches& other) {
    m_Whole = other.m_Whole;
    m_Size = other.m_Size;
    m_FirstGroup = other.m_FirstGroup;
    m_OwnCount = other.m_OwnCount;
    for (int i = 0; i < m_OwnCount; ++i)
      m_Own[static_cast<std::size_t>(i)] = other.m_Own[static_cast<std::size_t>(i)];
  }

  CVL_Submatch m_Whole;
  std::size_t m_Size = 0;
  int m_FirstGroup = 0;
  int m_OwnCount = 0;
  std::array<CVL_Submatch, kMaxOwnGroups> m_Own{};
};

}  // namespace orvo
