#include "tree/Node.h"

namespace orvo {

namespace {

// The empty node behind npos. It is never deleted; handles to it leave its
// counts alone, so that runs on several threads can share it.
CVL_NodeBase* NposNode() {
  static CVL_NodeBase* const node = [] {
    CVL_NodeBase* n = nodetree::NewTree(std::string(), std::string());
    ++*n->m_pCount;
    n->m_bImmortal = true;
    return n;
  }();
  return node;
}

// Steps from `from` with `step` until `stop` or the end and returns the first
// node that `match` accepts; `from` itself is not looked at.
template <class Step, class Match>
CVL_NodeBase* Find(const CVL_NodeBase* from, Step step, Match match,
                   const CVL_NodeBase* stop = nullptr) {
  for (CVL_NodeBase* node = step(from); node != nullptr && node != stop; node = step(node)) {
    if (match(node)) return node;
  }
  return nullptr;
}

auto WithLabel(const std::string& label) {
  return [&label](const CVL_NodeBase* node) { return node->m_Label == label; };
}
auto WithValue(const std::string& value) {
  return [&value](const CVL_NodeBase* node) { return node->m_Value == value; };
}
auto WithId(int id) {
  return [id](const CVL_NodeBase* node) { return node->m_Id == id; };
}

CVL_NodeBase* Forward(const CVL_NodeBase* node) { return nodetree::Next(node); }
CVL_NodeBase* Backward(const CVL_NodeBase* node) { return nodetree::Prev(node); }
CVL_NodeBase* Upward(const CVL_NodeBase* node) { return node->m_pParent; }
auto InSubtreeOf(const CVL_NodeBase* top) {
  return [top](const CVL_NodeBase* node) { return nodetree::NextWithin(node, top); };
}

CVL_NodeBase* FindAttribute(const CVL_NodeBase* node, const std::string& key) {
  if (node->m_pAttributes == nullptr) return nullptr;
  for (CVL_NodeBase* a = node->m_pAttributes->m_pFirstChild; a != nullptr; a = a->m_pNext) {
    if (a->m_Label == key) return a;
  }
  return nullptr;
}

}  // namespace

const CVL_Node CVL_Node::npos{NposNode()};

CVL_Node::CVL_Node() : CVL_Node(nodetree::NewTree(std::string(), std::string())) {}

CVL_Node::CVL_Node(const std::string& label, const std::string& value)
    : CVL_Node(nodetree::NewTree(label, value)) {}

CVL_Node& CVL_Node::operator=(const CVL_Node& other) {
  other.acquire();  // first, so that self-assignment keeps the tree alive
  release();
  m_pNode = other.m_pNode;
  return *this;
}

CVL_Node CVL_Node::handleTo(CVL_NodeBase* node) {
  return node != nullptr ? CVL_Node(node) : npos;
}

bool CVL_Node::isNpos() const { return m_pNode == NposNode(); }

bool CVL_Node::moveTo(CVL_NodeBase* node) {
  if (node == nullptr) return false;
  if (!node->m_bImmortal) ++node->m_Handles;
  if (!m_pNode->m_bImmortal) --m_pNode->m_Handles;
  m_pNode = node;
  return true;
}

void CVL_Node::requireChangeable() const {
  if (isNpos()) throw CVL_NodeError("cannot change npos ", "", 0);
}

bool CVL_Node::adoptBranch(const CVL_Node& branch) {
  if (isNpos() || branch.isNpos()) return false;
  CVL_NodeBase* const top = branch.m_pNode;
  if (top->m_pParent != nullptr || top == m_pNode || top->m_pOwner != nullptr) {
    throw CVL_NodeErrorAddBranch(nodetree::OwningRoot(m_pNode)->m_Label.c_str(),
                                 top->m_Label.c_str(), 0);
  }
  if (top->m_pCount == m_pNode->m_pCount) {
    throw CVL_NodeError(("cycle in tree : " + top->m_Label).c_str(), m_pNode->m_Label.c_str(),
                        0);
  }
  nodetree::JoinTree(top, m_pNode);
  return true;
}

void CVL_Node::clear() {
  requireChangeable();
  while (m_pNode->m_pFirstChild != nullptr) nodetree::CutOut(m_pNode->m_pFirstChild);
}

bool CVL_Node::detach() {
  if (m_pNode->m_pParent == nullptr) return true;
  if (useCount() > 1) return false;
  nodetree::CutOut(m_pNode);
  return true;
}

bool CVL_Node::moveUp() {
  requireChangeable();
  CVL_NodeBase* const previous = m_pNode->m_pPrev;
  if (previous == nullptr) return false;
  nodetree::Unlink(m_pNode);
  nodetree::LinkBefore(previous, m_pNode);
  return true;
}

CVL_Node CVL_Node::clone() const {
  if (isNpos()) return npos;
  return CVL_Node(nodetree::CloneSubtree(m_pNode));
}

std::string CVL_Node::label() const { return m_pNode->m_Label; }

void CVL_Node::setLabel(const std::string& label) {
  requireChangeable();
  m_pNode->m_Label = label;
}

std::string CVL_Node::value() const { return m_pNode->m_Value; }

void CVL_Node::setValue(const std::string& value) {
  requireChangeable();
  m_pNode->m_Value = value;
}

int CVL_Node::id() const { return m_pNode->m_Id; }

void CVL_Node::setId(int id) {
  requireChangeable();
  m_pNode->m_Id = id;
}

std::string CVL_Node::attribute(const std::string& key) const {
  const CVL_NodeBase* found = FindAttribute(m_pNode, key);
  return found != nullptr ? found->m_Value : std::string();
}

void CVL_Node::setAttribute(const std::string& key, const std::string& value) {
  requireChangeable();
  if (CVL_NodeBase* found = FindAttribute(m_pNode, key)) {
    found->m_Value = value;
    return;
  }
  if (m_pNode->m_pAttributes == nullptr) {
    CVL_NodeBase* attributes = nodetree::NewNodeIn(m_pNode, std::string(), std::string());
    attributes->m_pOwner = m_pNode;
    m_pNode->m_pAttributes = attributes;
  }
  nodetree::LinkLast(m_pNode->m_pAttributes, nodetree::NewNodeIn(m_pNode, key, value));
}

bool CVL_Node::hasAttribute(const std::string& key) const {
  return FindAttribute(m_pNode, key) != nullptr;
}

CVL_Node CVL_Node::firstAttribute() const {
  const CVL_NodeBase* attributes = m_pNode->m_pAttributes;
  return handleTo(attributes != nullptr ? attributes->m_pFirstChild : nullptr);
}

CVL_Node CVL_Node::parent() const { return handleTo(m_pNode->m_pParent); }
CVL_Node CVL_Node::nextSibling() const { return handleTo(m_pNode->m_pNext); }
CVL_Node CVL_Node::prevSibling() const { return handleTo(m_pNode->m_pPrev); }
CVL_Node CVL_Node::firstChild() const { return handleTo(m_pNode->m_pFirstChild); }
CVL_Node CVL_Node::lastChild() const { return handleTo(nodetree::LastChild(m_pNode)); }
CVL_Node CVL_Node::firstSibling() const { return handleTo(nodetree::FirstSibling(m_pNode)); }
CVL_Node CVL_Node::lastSibling() const { return handleTo(nodetree::LastSibling(m_pNode)); }
CVL_Node CVL_Node::firstLeaf() const { return handleTo(nodetree::FirstLeaf(m_pNode)); }
CVL_Node CVL_Node::lastLeaf() const { return handleTo(nodetree::LastLeaf(m_pNode)); }
CVL_Node CVL_Node::root() const { return handleTo(nodetree::Root(m_pNode)); }
CVL_Node CVL_Node::child(int n) const { return handleTo(nodetree::ChildAt(m_pNode, n)); }
CVL_Node CVL_Node::next() const { return handleTo(nodetree::Next(m_pNode)); }
CVL_Node CVL_Node::nextSkipChildren() const {
  return handleTo(nodetree::NextSkipChildren(m_pNode));
}
CVL_Node CVL_Node::prev() const { return handleTo(nodetree::Prev(m_pNode)); }

bool CVL_Node::goRoot() { return moveTo(nodetree::Root(m_pNode)); }
bool CVL_Node::goLastChild() { return moveTo(nodetree::LastChild(m_pNode)); }
bool CVL_Node::goFirstSibling() { return moveTo(nodetree::FirstSibling(m_pNode)); }
bool CVL_Node::goLastSibling() { return moveTo(nodetree::LastSibling(m_pNode)); }
bool CVL_Node::goFirstLeaf() { return moveTo(nodetree::FirstLeaf(m_pNode)); }
bool CVL_Node::goLastLeaf() { return moveTo(nodetree::LastLeaf(m_pNode)); }
bool CVL_Node::goNext() { return moveTo(nodetree::Next(m_pNode)); }
bool CVL_Node::goNextSkipChildren() { return moveTo(nodetree::NextSkipChildren(m_pNode)); }
bool CVL_Node::goPrev() { return moveTo(nodetree::Prev(m_pNode)); }
bool CVL_Node::goNextSibling() { return moveTo(m_pNode->m_pNext); }
bool CVL_Node::goPrevSibling() { return moveTo(m_pNode->m_pPrev); }
bool CVL_Node::goParent() { return moveTo(m_pNode->m_pParent); }
bool CVL_Node::goFirstChild() { return moveTo(m_pNode->m_pFirstChild); }

bool CVL_Node::addBranchFirst(const CVL_Node& branch) {
  if (!adoptBranch(branch)) return false;
  nodetree::LinkFirst(m_pNode, branch.m_pNode);
  return true;
}

bool CVL_Node::addBranch(const CVL_Node& branch) {
  if (!adoptBranch(branch)) return false;
  nodetree::LinkLast(m_pNode, branch.m_pNode);
  return true;
}

bool CVL_Node::insertBranchAfter(const CVL_Node& branch, const CVL_Node& after) {
  if (after.m_pNode->m_pParent != m_pNode || !adoptBranch(branch)) return false;
  nodetree::LinkAfter(after.m_pNode, branch.m_pNode);
  return true;
}

CVL_Node CVL_Node::addChild(const std::string& label, const std::string& value) {
  if (isNpos()) return npos;
  CVL_NodeBase* const child = nodetree::NewNodeIn(m_pNode, label, value);
  nodetree::LinkLast(m_pNode, child);
  return CVL_Node(child);
}

bool CVL_Node::insertBranchAt(const CVL_Node& branch, int position) {
  if (position < 0 || position > childCount() || !adoptBranch(branch)) return false;
  if (position == 0) {
    nodetree::LinkFirst(m_pNode, branch.m_pNode);
  } else {
    nodetree::LinkAfter(nodetree::ChildAt(m_pNode, position - 1), branch.m_pNode);
  }
  return true;
}

CVL_Node CVL_Node::findLabel(const std::string& label) const {
  return handleTo(Find(m_pNode, Forward, WithLabel(label)));
}
CVL_Node CVL_Node::findLabelInSubtree(const std::string& label) const {
  return handleTo(Find(m_pNode, InSubtreeOf(m_pNode), WithLabel(label)));
}
CVL_Node CVL_Node::findLabelInAncestors(const std::string& label) const {
  return handleTo(Find(m_pNode, Upward, WithLabel(label)));
}
CVL_Node CVL_Node::findValue(const std::string& value) const {
  return handleTo(Find(m_pNode, Forward, WithValue(value)));
}
CVL_Node CVL_Node::findValueInSubtree(const std::string& value) const {
  return handleTo(Find(m_pNode, InSubtreeOf(m_pNode), WithValue(value)));
}
CVL_Node CVL_Node::findValueInAncestors(const std::string& value) const {
  return handleTo(Find(m_pNode, Upward, WithValue(value)));
}
CVL_Node CVL_Node::findId(int id) const { return handleTo(Find(m_pNode, Forward, WithId(id))); }
CVL_Node CVL_Node::findIdInSubtree(int id) const {
  return handleTo(Find(m_pNode, InSubtreeOf(m_pNode), WithId(id)));
}
CVL_Node CVL_Node::findIdInAncestors(int id) const {
  return handleTo(Find(m_pNode, Upward, WithId(id)));
}
CVL_Node CVL_Node::findLabelBackward(const std::string& label) const {
  return handleTo(Find(m_pNode, Backward, WithLabel(label)));
}
CVL_Node CVL_Node::findValueBackward(const std::string& value) const {
  return handleTo(Find(m_pNode, Backward, WithValue(value)));
}
CVL_Node CVL_Node::findIdBackward(int id) const {
  return handleTo(Find(m_pNode, Backward, WithId(id)));
}
CVL_Node CVL_Node::findLabelUntil(const std::string& label, const CVL_Node& stop) const {
  return handleTo(Find(m_pNode, Forward, WithLabel(label), stop.m_pNode));
}
CVL_Node CVL_Node::findValueUntil(const std::string& value, const CVL_Node& stop) const {
  return handleTo(Find(m_pNode, Forward, WithValue(value), stop.m_pNode));
}
CVL_Node CVL_Node::findIdUntil(int id, const CVL_Node& stop) const {
  return handleTo(Find(m_pNode, Forward, WithId(id), stop.m_pNode));
}
CVL_Node CVL_Node::findLabelBackwardUntil(const std::string& label, const CVL_Node& stop) const {
  return handleTo(Find(m_pNode, Backward, WithLabel(label), stop.m_pNode));
}
CVL_Node CVL_Node::findValueBackwardUntil(const std::string& value, const CVL_Node& stop) const {
  return handleTo(Find(m_pNode, Backward, WithValue(value), stop.m_pNode));
}
CVL_Node CVL_Node::findIdBackwardUntil(int id, const CVL_Node& stop) const {
  return handleTo(Find(m_pNode, Backward, WithId(id), stop.m_pNode));
}

bool CVL_Node::hasChildren() const { return m_pNode->m_pFirstChild != nullptr; }

bool CVL_Node::isAncestorOf(const CVL_Node& other) const {
  return nodetree::IsAncestor(m_pNode, other.m_pNode);
}

bool CVL_Node::isDescendantOf(const CVL_Node& other) const {
  return nodetree::IsAncestor(other.m_pNode, m_pNode);
}

bool CVL_Node::isSiblingOf(const CVL_Node& other) const {
  if (m_pNode->m_pParent == nullptr) return other.m_pNode == m_pNode;
  return other.m_pNode->m_pParent == m_pNode->m_pParent;
}

int CVL_Node::depth() const {
  int ancestors = 0;
  for (const CVL_NodeBase* n = m_pNode->m_pParent; n != nullptr; n = n->m_pParent) ++ancestors;
  return ancestors;
}

int CVL_Node::descendantCount() const {
  int count = 0;
  for (const CVL_NodeBase* n = nodetree::NextWithin(m_pNode, m_pNode); n != nullptr;
       n = nodetree::NextWithin(n, m_pNode)) {
    ++count;
  }
  return count;
}

int CVL_Node::childCount() const {
  int count = 0;
  for (const CVL_NodeBase* n = m_pNode->m_pFirstChild; n != nullptr; n = n->m_pNext) ++count;
  return count;
}

}  // namespace orvo
