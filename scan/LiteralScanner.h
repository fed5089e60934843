// Finds the longest literal token at a position: operators, punctuators,
// "defined" and the comment delimiters.
#pragma once

#include <bitset>
#include <memory>
#include <optional>
#include <string_view>

#include "scan/Scanner.h"
#include "scan/TernarySearchTree.h"

namespace orvo {

struct CVL_LiteralHit {
  const symbol* m_pSymbol;
  const char* m_pEnd;  // one past the literal's last character
};

class CVL_LiteralScanner {
 public:
  CVL_LiteralScanner();
  ~CVL_LiteralScanner();
  CVL_LiteralScanner(const CVL_LiteralScanner&) = delete;
  CVL_LiteralScanner& operator=(const CVL_LiteralScanner&) = delete;

  // Stores `data` under `key`, creating the tree on the first insertion.
  void add(std::string_view key, const symbol* data);

  // The longest stored literal at `input` whose id is in `expected` (every
  // id when null) and that, under the whole-word rule, does not end inside a
  // word: a literal ending in a word character may not be followed by one.
  std::optional<CVL_LiteralHit> longestMatch(const char* input, const char* inputEnd,
                                             bool wholeWord, const CVL_TokenSet* expected) const;

  // Whether a stored literal begins with `c`: where none does, a search
  // need not walk the tree.
  bool mayStartWith(char c) const { return m_FirstBytes[static_cast<unsigned char>(c)]; }

  // Whether `key` is stored with a token.
  bool contains(std::string_view key) const;

  const CVL_Tst* tree() const { return m_pTree.get(); }

 private:
  std::unique_ptr<CVL_Tst> m_pTree;  // null while empty
  std::bitset<256> m_FirstBytes;
};

}  // namespace orvo
