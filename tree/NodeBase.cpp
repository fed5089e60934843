#include "tree/NodeBase.h"

#include <atomic>
#include <utility>

namespace orvo::nodetree {

namespace {

// Runs on several threads allocate nodes at once; the count is only read by
// tests, so relaxed updates suffice.
std::atomic<std::size_t> live_nodes{0};

// Nodes and count integers are linked by raw pointers: a tree's nodes are
// owned together through the shared count, not by any single pointer, so
// allocation and deletion happen only in these helpers.
CVL_NodeBase* Allocate(int* count, const std::string& label, const std::string& value) {
  auto* node = new CVL_NodeBase;
  node->m_pCount = count;
  node->m_Label = label;
  node->m_Value = value;
  live_nodes.fetch_add(1, std::memory_order_relaxed);
  return node;
}

CVL_NodeBase* CopyFields(const CVL_NodeBase* source, const CVL_NodeBase* member) {
  CVL_NodeBase* copy = NewNodeIn(member, source->m_Label, source->m_Value);
  copy->m_Id = source->m_Id;
  return copy;
}

}  // namespace

CVL_NodeBase* NewTree(const std::string& label, const std::string& value) {
  return Allocate(new int(0), label, value);
}

CVL_NodeBase* NewNodeIn(const CVL_NodeBase* member, const std::string& label,
                        const std::string& value) {
  return Allocate(member->m_pCount, label, value);
}

void LinkFirst(CVL_NodeBase* parent, CVL_NodeBase* child) {
  if (parent->m_pFirstChild != nullptr) {
    LinkBefore(parent->m_pFirstChild, child);
    return;
  }
  child->m_pParent = parent;
  parent->m_pFirstChild = child;
}

void LinkLast(CVL_NodeBase* parent, CVL_NodeBase* child) {
  CVL_NodeBase* last = LastChild(parent);
  if (last != nullptr) {
    LinkAfter(last, child);
    return;
  }
  child->m_pParent = parent;
  parent->m_pFirstChild = child;
}

void LinkAfter(CVL_NodeBase* sibling, CVL_NodeBase* child) {
  child->m_pParent = sibling->m_pParent;
  child->m_pPrev = sibling;
  child->m_pNext = sibling->m_pNext;
  if (sibling->m_pNext != nullptr) sibling->m_pNext->m_pPrev = child;
  sibling->m_pNext = child;
}

void LinkBefore(CVL_NodeBase* sibling, CVL_NodeBase* child) {
  child->m_pParent = sibling->m_pParent;
  child->m_pNext = sibling;
  child->m_pPrev = sibling->m_pPrev;
  if (sibling->m_pPrev != nullptr) {
    sibling->m_pPrev->m_pNext = child;
  } else if (sibling->m_pParent != nullptr) {
    sibling->m_pParent->m_pFirstChild = child;
  }
  sibling->m_pPrev = child;
}

void Unlink(CVL_NodeBase* node) {
  if (node->m_pPrev != nullptr) {
    node->m_pPrev->m_pNext = node->m_pNext;
  } else if (node->m_pParent != nullptr) {
    node->m_pParent->m_pFirstChild = node->m_pNext;
  }
  if (node->m_pNext != nullptr) node->m_pNext->m_pPrev = node->m_pPrev;
  node->m_pParent = nullptr;
  node->m_pNext = nullptr;
  node->m_pPrev = nullptr;
}

CVL_NodeBase* LastChild(const CVL_NodeBase* node) {
  CVL_NodeBase* child = node->m_pFirstChild;
  while (child != nullptr && child->m_pNext != nullptr) child = child->m_pNext;
  return child;
}

CVL_NodeBase* FirstSibling(const CVL_NodeBase* node) {
  while (node->m_pPrev != nullptr) node = node->m_pPrev;
  return const_cast<CVL_NodeBase*>(node);
}

CVL_NodeBase* LastSibling(const CVL_NodeBase* node) {
  while (node->m_pNext != nullptr) node = node->m_pNext;
  return const_cast<CVL_NodeBase*>(node);
}

CVL_NodeBase* FirstLeaf(const CVL_NodeBase* node) {
  while (node->m_pFirstChild != nullptr) node = node->m_pFirstChild;
  return const_cast<CVL_NodeBase*>(node);
}

CVL_NodeBase* LastLeaf(const CVL_NodeBase* node) {
  while (node->m_pFirstChild != nullptr) node = LastChild(node);
  return const_cast<CVL_NodeBase*>(node);
}

CVL_NodeBase* Root(const CVL_NodeBase* node) {
  while (node->m_pParent != nullptr) node = node->m_pParent;
  return const_cast<CVL_NodeBase*>(node);
}

CVL_NodeBase* OwningRoot(const CVL_NodeBase* node) {
  CVL_NodeBase* root = Root(node);
  while (root->m_pOwner != nullptr) root = Root(root->m_pOwner);
  return root;
}

CVL_NodeBase* ChildAt(const CVL_NodeBase* node, int index) {
  if (index < 0) return nullptr;
  CVL_NodeBase* child = node->m_pFirstChild;
  for (; child != nullptr && index > 0; --index) child = child->m_pNext;
  return child;
}

CVL_NodeBase* Next(const CVL_NodeBase* node) {
  if (node->m_pFirstChild != nullptr) return node->m_pFirstChild;
  return NextSkipChildren(node);
}

CVL_NodeBase* NextSkipChildren(const CVL_NodeBase* node) {
  for (; node != nullptr; node = node->m_pParent) {
    if (node->m_pNext != nullptr) return node->m_pNext;
  }
  return nullptr;
}

CVL_NodeBase* Prev(const CVL_NodeBase* node) {
  if (node->m_pPrev != nullptr) return LastLeaf(node->m_pPrev);
  return node->m_pParent;
}

CVL_NodeBase* NextWithin(const CVL_NodeBase* node, const CVL_NodeBase* top) {
  if (node->m_pFirstChild != nullptr) return node->m_pFirstChild;
  for (; node != top; node = node->m_pParent) {
    if (node->m_pNext != nullptr) return node->m_pNext;
  }
  return nullptr;
}

bool IsAncestor(const CVL_NodeBase* ancestor, const CVL_NodeBase* node) {
  for (node = node->m_pParent; node != nullptr; node = node->m_pParent) {
    if (node == ancestor) return true;
  }
  return false;
}

CVL_NodeBase* NextWithAttributes(const CVL_NodeBase* node, const CVL_NodeBase* top) {
  if (node->m_pAttributes != nullptr) return node->m_pAttributes;
  if (node->m_pFirstChild != nullptr) return node->m_pFirstChild;
  while (node != top) {
    if (node->m_pNext != nullptr) return node->m_pNext;
    if (node->m_pParent != nullptr) {
      node = node->m_pParent;
      continue;
    }
    // The end of an attribute tree: its owner's children come next.
    node = node->m_pOwner;
    if (node->m_pFirstChild != nullptr) return node->m_pFirstChild;
  }
  return nullptr;
}

int HandlesInSubtree(CVL_NodeBase* top) {
  int handles = 0;
  for (const CVL_NodeBase* node = top; node != nullptr; node = NextWithAttributes(node, top))
    handles += node->m_Handles;
  return handles;
}

void Repoint(CVL_NodeBase* top, int* count) {
  for (CVL_NodeBase* node = top; node != nullptr; node = NextWithAttributes(node, top))
    node->m_pCount = count;
}

void DeleteSubtree(CVL_NodeBase* top) noexcept {
  // Deletes leaves one at a time, each unlinked from what holds it first, so
  // the walk needs no list of the nodes.
  CVL_NodeBase* node = top;
  while (node != nullptr) {
    if (node->m_pAttributes != nullptr) {
      node = node->m_pAttributes;
    } else if (node->m_pFirstChild != nullptr) {
      node = node->m_pFirstChild;
    } else {
      // A leaf, always the first child of its parent here.
      CVL_NodeBase* after = nullptr;
      if (node == top) {
        after = nullptr;
      } else if (node->m_pParent != nullptr) {
        after = node->m_pParent;
        after->m_pFirstChild = node->m_pNext;
        if (node->m_pNext != nullptr) node->m_pNext->m_pPrev = nullptr;
      } else {
        after = node->m_pOwner;  // an emptied attribute root
        after->m_pAttributes = nullptr;
      }
      delete node;
      live_nodes.fetch_sub(1, std::memory_order_relaxed);
      node = after;
    }
  }
}

void CutOut(CVL_NodeBase* top) {
  CVL_NodeBase* rest = OwningRoot(top);
  int* count = top->m_pCount;
  Unlink(top);
  const int handles = HandlesInSubtree(top);
  if (handles == 0) {
    DeleteSubtree(top);
    return;
  }
  Repoint(top, new int(handles));
  *count -= handles;
  if (*count == 0) {
    DeleteSubtree(rest);
    delete count;
  }
}

void JoinTree(CVL_NodeBase* branchRoot, const CVL_NodeBase* member) {
  int* branchCount = branchRoot->m_pCount;
  *member->m_pCount += *branchCount;
  Repoint(branchRoot, member->m_pCount);
  delete branchCount;
}

void DeleteTree(CVL_NodeBase* member) noexcept {
  CVL_NodeBase* root = OwningRoot(member);
  int* count = root->m_pCount;
  DeleteSubtree(root);
  delete count;
}

CVL_NodeBase* CloneSubtree(const CVL_NodeBase* top) {
  CVL_NodeBase* copyTop = NewTree(top->m_Label, top->m_Value);
  copyTop->m_Id = top->m_Id;
  // Pairs of an original node and its copy whose attributes and children
  // are still to be copied.
  std::vector<std::pair<const CVL_NodeBase*, CVL_NodeBase*>> pending{{top, copyTop}};
  while (!pending.empty()) {
    auto [source, copy] = pending.back();
    pending.pop_back();
    if (source->m_pAttributes != nullptr) {
      CVL_NodeBase* attributes = CopyFields(source->m_pAttributes, copyTop);
      attributes->m_pOwner = copy;
      copy->m_pAttributes = attributes;
      pending.emplace_back(source->m_pAttributes, attributes);
    }
    CVL_NodeBase* previous = nullptr;
    for (const CVL_NodeBase* child = source->m_pFirstChild; child != nullptr;
         child = child->m_pNext) {
      CVL_NodeBase* childCopy = CopyFields(child, copyTop);
      if (previous != nullptr) {
        LinkAfter(previous, childCopy);
      } else {
        LinkFirst(copy, childCopy);
      }
      previous = childCopy;
      pending.emplace_back(child, childCopy);
    }
  }
  return copyTop;
}

std::size_t LiveNodeCount() { return live_nodes.load(std::memory_order_relaxed); }

}  // namespace orvo::nodetree
