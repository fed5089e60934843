#include "scan/TernarySearchTree.h"

#include <vector>

#include "base/Message.h"

namespace orvo {

// Frees the nodes one by one rather than through the nested owners, so that
// the depth of a tree with long keys cannot exhaust the stack.
CVL_Tst::~CVL_Tst() {
  std::vector<std::unique_ptr<CVL_TstNode>> pending;
  if (m_pRoot) pending.push_back(std::move(m_pRoot));
  while (!pending.empty()) {
    std::unique_ptr<CVL_TstNode> node = std::move(pending.back());
    pending.pop_back();
    for (std::unique_ptr<CVL_TstNode>* child : {&node->m_pLow, &node->m_pEqual, &node->m_pHigh})
      if (*child) pending.push_back(std::move(*child));
  }
}

std::unique_ptr<CVL_TstNode> CVL_Tst::newNode(char c) {
  ++m_NodeCount;
  return std::make_unique<CVL_TstNode>(c);
}

CVL_TstNode* CVL_Tst::getOrCreate(std::string_view key) {
  if (key.empty()) throw CVL_Message("attempt to get or create node with NULL key");
  if (!m_pRoot) m_pRoot = newNode(key[0]);
  CVL_TstNode* node = m_pRoot.get();
  std::size_t i = 0;
  for (;;) {
    std::unique_ptr<CVL_TstNode>* next;
    if (key[i] == node->m_SplitChar) {
      if (i + 1 == key.size()) return node;
      ++i;
      next = &node->m_pEqual;
    } else {
      next = key[i] < node->m_SplitChar ? &node->m_pLow : &node->m_pHigh;
    }
    if (!*next) *next = newNode(key[i]);
    node = next->get();
  }
}

void CVL_Tst::insert(std::string_view key, const symbol* data) { getOrCreate(key)->m_pData = data; }

const CVL_TstNode* CVL_Tst::find(std::string_view key) const {
  if (key.empty()) return nullptr;
  const CVL_TstNode* node = m_pRoot.get();
  std::size_t i = 0;
  while (node != nullptr) {
    if (key[i] == node->m_SplitChar) {
      if (i + 1 == key.size()) return node;
      ++i;
      node = node->m_pEqual.get();
    } else {
      node = key[i] < node->m_SplitChar ? node->m_pLow.get() : node->m_pHigh.get();
    }
  }
  return nullptr;
}

}  // namespace orvo
