// The tree node itself and the structural algorithms on it: linking,
// pre-order walks, and the shared-count ownership of a whole tree. Handles
// (tree/Node.h) are the only owners; everything here works on raw links.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orvo {

struct CVL_NodeBase {
  // Reference count of the whole tree; every node of one tree, the nodes of
  // its attribute trees included, points to the same integer.
  int* m_pCount = nullptr;
  std::string m_Label;  // for an attribute: its key
  std::string m_Value;  // for an attribute: its value
  int m_Id = 0;
  CVL_NodeBase* m_pParent = nullptr;
  CVL_NodeBase* m_pNext = nullptr;
  CVL_NodeBase* m_pPrev = nullptr;
  CVL_NodeBase* m_pFirstChild = nullptr;
  // Root of the attribute tree (null until the first attribute is set); its
  // children are the attributes in the order they were added.
  CVL_NodeBase* m_pAttributes = nullptr;
  // For an attribute root: the node whose attributes it holds. It lets the
  // release of the last handle find the real root of the tree, and keeps an
  // attribute root from being added to another tree as a branch.
  CVL_NodeBase* m_pOwner = nullptr;
  // Handles pointing at this very node. Their sum over a subtree tells how
  // many handles a subtree cut out of its tree takes with it.
  int m_Handles = 0;
  // The one node behind npos: shared by every run on every thread and never
  // deleted, so handles to it change no count (which would be a data race).
  bool m_bImmortal = false;
};

namespace nodetree {

// Creates a lone node that starts a tree of its own with a count of 0.
CVL_NodeBase* NewTree(const std::string& label, const std::string& value);
// Creates an unlinked node that belongs to the same tree (count) as `member`.
CVL_NodeBase* NewNodeIn(const CVL_NodeBase* member, const std::string& label,
                        const std::string& value);

// Linking; `child` must be unlinked and already share the parent's count.
void LinkFirst(CVL_NodeBase* parent, CVL_NodeBase* child);
void LinkLast(CVL_NodeBase* parent, CVL_NodeBase* child);
void LinkAfter(CVL_NodeBase* sibling, CVL_NodeBase* child);
void LinkBefore(CVL_NodeBase* sibling, CVL_NodeBase* child);
// Takes the node with its subtree out of its sibling list.
void Unlink(CVL_NodeBase* node);

// Navigation; each returns null where there is no such node.
CVL_NodeBase* LastChild(const CVL_NodeBase* node);
CVL_NodeBase* FirstSibling(const CVL_NodeBase* node);
CVL_NodeBase* LastSibling(const CVL_NodeBase* node);
CVL_NodeBase* FirstLeaf(const CVL_NodeBase* node);
CVL_NodeBase* LastLeaf(const CVL_NodeBase* node);
CVL_NodeBase* Root(const CVL_NodeBase* node);
// Root of the tree that owns the node, climbing out of attribute trees.
CVL_NodeBase* OwningRoot(const CVL_NodeBase* node);
CVL_NodeBase* ChildAt(const CVL_NodeBase* node, int index);
// Pre-order successor and predecessor within the node's tree.
CVL_NodeBase* Next(const CVL_NodeBase* node);
CVL_NodeBase* NextSkipChildren(const CVL_NodeBase* node);
CVL_NodeBase* Prev(const CVL_NodeBase* node);
// Pre-order successor that does not leave the subtree of `top`.
CVL_NodeBase* NextWithin(const CVL_NodeBase* node, const CVL_NodeBase* top);
bool IsAncestor(const CVL_NodeBase* ancestor, const CVL_NodeBase* node);

// Pre-order successor within the subtree of `top` that also visits the
// attribute trees (a node's attributes before its children); null after the
// last node. The walks below use it: they need no memory of their own, so
// deleting a tree cannot fail while an exception unwinds, and deep or wide
// trees cannot exhaust the stack.
CVL_NodeBase* NextWithAttributes(const CVL_NodeBase* node, const CVL_NodeBase* top);
// Sum of the handles pointing into the subtree (attributes included).
int HandlesInSubtree(CVL_NodeBase* top);
// Points every node of the subtree (attributes included) at `count`.
void Repoint(CVL_NodeBase* top, int* count);
// Deletes the nodes of an unlinked subtree; its count integer is not touched.
// Allocates nothing and never throws.
void DeleteSubtree(CVL_NodeBase* top) noexcept;
// Takes a subtree (whose top has a parent) out of its tree. The handles pointing into it go
// with it as the count of a tree of its own; a subtree that no handle points
// into is deleted, and so is the rest of the old tree when no handle is left
// there.
void CutOut(CVL_NodeBase* top);
// Merges the tree whose root is `branchRoot` into the tree of `member`:
// the counts are added and every node of the branch shares the new one.
void JoinTree(CVL_NodeBase* branchRoot, const CVL_NodeBase* member);
// Deletes the whole tree the node belongs to and its count integer.
// Allocates nothing and never throws.
void DeleteTree(CVL_NodeBase* member) noexcept;
// Deep copy of the subtree (attributes included) as a new tree with count 0.
CVL_NodeBase* CloneSubtree(const CVL_NodeBase* top);

// Number of nodes currently allocated, for leak checks.
std::size_t LiveNodeCount();

}  // namespace nodetree
}  // namespace orvo
