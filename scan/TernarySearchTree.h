// A ternary search tree from non-empty byte strings to token-table records:
// the vocabulary of a literal scanner.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

#include "scan/Symbol.h"

namespace orvo {

// One character position of the stored keys.
struct CVL_TstNode {
  explicit CVL_TstNode(char c) : m_SplitChar(c) {}

  const symbol* m_pData = nullptr;  // set where a key ends; not owned
  char m_SplitChar;
  std::unique_ptr<CVL_TstNode> m_pLow;    // smaller characters at this position
  std::unique_ptr<CVL_TstNode> m_pEqual;  // next position after m_SplitChar
  std::unique_ptr<CVL_TstNode> m_pHigh;   // greater characters at this position
};

class CVL_Tst {
 public:
  CVL_Tst() = default;
  virtual ~CVL_Tst();
  CVL_Tst(const CVL_Tst&) = delete;
  CVL_Tst& operator=(const CVL_Tst&) = delete;

  // The node of the key's last character, creating missing nodes. Throws
  // CVL_Message "attempt to get or create node with NULL key" for "".
  CVL_TstNode* getOrCreate(std::string_view key);

  // Stores `data` at the key's node; a second insertion replaces it.
  void insert(std::string_view key, const symbol* data);

  // The node of the key's last character, or null if the tree has no path
  // for the whole key (the node's data may still be null).
  const CVL_TstNode* find(std::string_view key) const;

  const CVL_TstNode* root() const { return m_pRoot.get(); }
  std::size_t nodeCount() const { return m_NodeCount; }

 private:
  std::unique_ptr<CVL_TstNode> newNode(char c);

  std::unique_ptr<CVL_TstNode> m_pRoot;
  std::size_t m_NodeCount = 0;
};

}  // namespace orvo
