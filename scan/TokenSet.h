// A set of token kinds, by id.
#pragma once

#include <bitset>
#include <cstddef>

#include "scan/Symbol.h"

namespace orvo {

// A set of token ids (0..kTokenCount), ordered by id.
class CVL_TokenSet {
 public:
  void insert(int id) { m_Bits.set(static_cast<std::size_t>(id)); }
  bool contains(int id) const {
    return id >= 0 && id <= kTokenCount && m_Bits[static_cast<std::size_t>(id)];
  }
  bool empty() const { return m_Bits.none(); }
  bool isSubsetOf(const CVL_TokenSet& other) const { return (m_Bits & ~other.m_Bits).none(); }
  std::size_t size() const { return m_Bits.count(); }
  bool operator==(const CVL_TokenSet& other) const = default;
  CVL_TokenSet& operator|=(const CVL_TokenSet& other) {
    m_Bits |= other.m_Bits;
    return *this;
  }
  CVL_TokenSet& operator&=(const CVL_TokenSet& other) {
    m_Bits &= other.m_Bits;
    return *this;
  }
  template <class F>
  void forEach(F&& f) const {
    for (int id = 0; id <= kTokenCount; ++id)
      if (m_Bits.test(static_cast<std::size_t>(id))) f(id);
  }

 private:
  std::bitset<kTokenCount + 1> m_Bits;
};

}  // namespace orvo
