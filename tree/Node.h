// CVL_Node: a counted handle to a node inside a tree. All nodes of one tree
// share one reference count, so a handle to any node keeps the whole tree
// alive; when the last handle goes, the whole tree is destroyed. Copying a
// handle costs two increments and never allocates.
//
// CVL_Node::npos is the single static handle that stands for "no node":
// navigation and searches that find nothing return it, and every operation
// that would change it throws CVL_NodeError "cannot change npos ". Do not use
// it from static initializers of other files (it is a static data member).
#pragma once

#include <string>

#include "base/Message.h"
#include "tree/NodeBase.h"

namespace orvo {

class CVL_Node {
 public:
  static const CVL_Node npos;

  // A fresh tree of one empty node.
  CVL_Node();
  // A fresh tree of one node with that label and value.
  explicit CVL_Node(const std::string& label, const std::string& value = std::string());
  CVL_Node(const CVL_Node& other) : m_pNode(other.m_pNode) { acquire(); }
  CVL_Node& operator=(const CVL_Node& other);

  // ---- Slot table -------------------------------------------------------
  virtual ~CVL_Node() { release(); }
  // Removes all descendants. Subtrees that other handles still point into
  // become trees of their own instead of being destroyed under them.
  virtual void clear();
  // Cuts the node with its subtree out of its tree. True for a root or a
  // lone node (nothing to do); false when other handles share the tree.
  // When this handle is the only one, the rest of the old tree is destroyed.
  virtual bool detach();
  // Swaps the node with its previous sibling; false if it has none.
  virtual bool moveUp();
  // Deep copy of the subtree (attributes included) as a new tree; npos for npos.
  virtual CVL_Node clone() const;
  virtual std::string label() const;
  virtual void setLabel(const std::string& label);
  virtual std::string value() const;
  virtual void setValue(const std::string& value);
  virtual int id() const;
  virtual void setId(int id);
  // Value of the attribute whose key equals `key`, or "" if there is none.
  virtual std::string attribute(const std::string& key) const;
  // Sets the attribute, adding it (and the attribute root) when needed.
  virtual void setAttribute(const std::string& key, const std::string& value);
  virtual bool hasAttribute(const std::string& key) const;
  // First attribute node (label = key, value = value), or npos.
  virtual CVL_Node firstAttribute() const;
  virtual CVL_Node parent() const;
  virtual CVL_Node nextSibling() const;
  virtual CVL_Node prevSibling() const;
  virtual CVL_Node firstChild() const;
  virtual CVL_Node lastChild() const;
  virtual CVL_Node firstSibling() const;
  virtual CVL_Node lastSibling() const;
  // Follows first (last) children down to a leaf; a leaf returns itself.
  virtual CVL_Node firstLeaf() const;
  virtual CVL_Node lastLeaf() const;
  virtual CVL_Node root() const;
  // The n-th child, counting from 0; npos when out of range.
  virtual CVL_Node child(int n) const;
  // Pre-order neighbours within the tree.
  virtual CVL_Node next() const;
  virtual CVL_Node nextSkipChildren() const;
  virtual CVL_Node prev() const;
  // Move this handle within its tree; false (and no move) if there is no
  // such node.
  virtual bool goRoot();
  virtual bool goLastChild();
  virtual bool goFirstSibling();
  virtual bool goLastSibling();
  virtual bool goFirstLeaf();
  virtual bool goLastLeaf();
  virtual bool goNext();
  virtual bool goNextSkipChildren();
  virtual bool goPrev();
  virtual bool goNextSibling();
  virtual bool goPrevSibling();
  virtual bool goParent();
  virtual bool goFirstChild();
  // Adding a branch: `branch` must be the root of another tree; that tree
  // joins this one. False (nothing done) if either handle is npos or the
  // position is not valid; CVL_NodeErrorAddBranch if the branch has a parent,
  // is this node or is the attribute root of a node; CVL_NodeError
  // "cycle in tree : <label>" if it is already part of this tree.
  virtual bool addBranchFirst(const CVL_Node& branch);
  virtual bool addBranch(const CVL_Node& branch);
  // `after` must be a child of this node.
  virtual bool insertBranchAfter(const CVL_Node& branch, const CVL_Node& after);
  // Creates and appends a child; on npos creates nothing and returns npos.
  virtual CVL_Node addChild(const std::string& label, const std::string& value = std::string());
  // Inserts the branch so that it becomes child number `position`
  // (0 to childCount()).
  virtual bool insertBranchAt(const CVL_Node& branch, int position);
  // Searches; each returns the first match or npos. The plain forms search
  // the nodes after this one in pre-order, the Backward forms the nodes
  // before it, the Until forms stop before reaching `stop`.
  virtual CVL_Node findLabel(const std::string& label) const;
  virtual CVL_Node findLabelInSubtree(const std::string& label) const;
  virtual CVL_Node findLabelInAncestors(const std::string& label) const;
  virtual CVL_Node findValue(const std::string& value) const;
  virtual CVL_Node findValueInSubtree(const std::string& value) const;
  virtual CVL_Node findValueInAncestors(const std::string& value) const;
  virtual CVL_Node findId(int id) const;
  virtual CVL_Node findIdInSubtree(int id) const;
  virtual CVL_Node findIdInAncestors(int id) const;
  virtual CVL_Node findLabelBackward(const std::string& label) const;
  virtual CVL_Node findValueBackward(const std::string& value) const;
  virtual CVL_Node findIdBackward(int id) const;
  virtual CVL_Node findLabelUntil(const std::string& label, const CVL_Node& stop) const;
  virtual CVL_Node findValueUntil(const std::string& value, const CVL_Node& stop) const;
  virtual CVL_Node findIdUntil(int id, const CVL_Node& stop) const;
  virtual CVL_Node findLabelBackwardUntil(const std::string& label, const CVL_Node& stop) const;
  virtual CVL_Node findValueBackwardUntil(const std::string& value, const CVL_Node& stop) const;
  virtual CVL_Node findIdBackwardUntil(int id, const CVL_Node& stop) const;
  virtual bool hasChildren() const;
  virtual bool isAncestorOf(const CVL_Node& other) const;
  virtual bool isDescendantOf(const CVL_Node& other) const;
  // Whether `other` is in this node's sibling list (a node is in its own).
  virtual bool isSiblingOf(const CVL_Node& other) const;
  // Number of ancestors.
  virtual int depth() const;
  // Number of nodes below this one (attributes not counted).
  virtual int descendantCount() const;
  virtual int childCount() const;

  // ---- Not in the slot table ---------------------------------------------
  bool operator==(const CVL_Node& other) const { return m_pNode == other.m_pNode; }
  bool isNpos() const;
  // Number of handles that keep this node's tree alive.
  int useCount() const { return *m_pNode->m_pCount; }

 private:
  explicit CVL_Node(CVL_NodeBase* node) : m_pNode(node) { acquire(); }
  // Handle to `node`, or npos for null.
  static CVL_Node handleTo(CVL_NodeBase* node);

  void acquire() const {
    if (m_pNode->m_bImmortal) return;
    ++*m_pNode->m_pCount;
    ++m_pNode->m_Handles;
  }
  void release() const {
    if (m_pNode->m_bImmortal) return;
    --m_pNode->m_Handles;
    if (--*m_pNode->m_pCount == 0) nodetree::DeleteTree(m_pNode);
  }
  // Moves this handle to another node of the same tree; false for null.
  bool moveTo(CVL_NodeBase* node);
  // Throws CVL_NodeError "cannot change npos " on npos.
  void requireChangeable() const;
  // Checks a branch and merges its tree into this one; false on npos.
  bool adoptBranch(const CVL_Node& branch);

  CVL_NodeBase* m_pNode;
};

using node = CVL_Node;

}  // namespace orvo
