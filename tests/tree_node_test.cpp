#include "tree/Node.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <vector>

// While set, every allocation of this program fails, as when memory has run
// out: what runs then must not need any. The sanitizers bring allocators of
// their own, so there the test is skipped.
static std::atomic<bool> g_refuseAllocations{false};

#ifndef ORVO_SANITIZED
void* operator new(std::size_t size) {
  if (g_refuseAllocations.load(std::memory_order_relaxed)) throw std::bad_alloc();
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
#endif

namespace orvo {
namespace {

// Every test must give back all the nodes it allocated.
class NodeTest : public ::testing::Test {
 protected:
  void SetUp() override { m_LiveBefore = nodetree::LiveNodeCount(); }
  void TearDown() override { EXPECT_EQ(nodetree::LiveNodeCount(), m_LiveBefore); }

  // r(a(a1, a2), b(b1)); the values repeat so that searches have a choice.
  static node MakeSample() {
    node r("r", "root");
    node a = r.addChild("a", "x");
    a.addChild("a1", "y");
    a.addChild("a2", "x");
    r.addChild("b", "y").addChild("b1", "x");
    return r;
  }

  static std::vector<std::string> Walk(node from, const std::function<bool(node&)>& step) {
    std::vector<std::string> labels{from.label()};
    while (step(from)) labels.push_back(from.label());
    return labels;
  }

 private:
  std::size_t m_LiveBefore = 0;
};

TEST_F(NodeTest, HandlesShareOneCountAndTheLastOneFreesTheWholeTree) {
  const std::size_t before = nodetree::LiveNodeCount();
  node leaf = node::npos;
  {
    node r = MakeSample();
    r.firstChild().setAttribute("arguments", "2");
    EXPECT_EQ(r.useCount(), 1);
    leaf = r.findLabelInSubtree("b1");
    EXPECT_EQ(r.useCount(), 2);
    const node copy = leaf;  // copying costs a count, never a node
    EXPECT_EQ(r.useCount(), 3);
    EXPECT_EQ(nodetree::LiveNodeCount(), before + 8);  // 6 nodes, attribute root, attribute
  }
  // The leaf keeps nodes alive that only the root reaches.
  EXPECT_EQ(leaf.useCount(), 1);
  EXPECT_EQ(leaf.root().firstChild().attribute("arguments"), "2");
  leaf = node::npos;
  EXPECT_EQ(nodetree::LiveNodeCount(), before);
}

TEST_F(NodeTest, LastHandleOnAnAttributeFreesTheOwningTree) {
  node attribute;
  {
    node r("r");
    r.addChild("c").setAttribute("k", "v");
    attribute = r.firstChild().firstAttribute();
  }
  EXPECT_EQ(attribute.label(), "k");
  EXPECT_EQ(attribute.value(), "v");
}  // the fixture checks that all of r's tree went with the handle

TEST_F(NodeTest, NposCannotBeChanged) {
  const std::vector<std::function<void(node&)>> changes = {
      [](node& n) { n.setLabel("x"); },        [](node& n) { n.setValue("x"); },
      [](node& n) { n.setId(1); },             [](node& n) { n.setAttribute("k", "v"); },
      [](node& n) { n.clear(); },              [](node& n) { n.moveUp(); },
  };
  for (std::size_t i = 0; i < changes.size(); ++i) {
    node n = node::npos;
    try {
      changes[i](n);
      ADD_FAILURE() << "change " << i << " did not throw";
    } catch (const CVL_NodeError& e) {
      EXPECT_STREQ(e.text(), "cannot change npos ") << i;
      EXPECT_EQ(e.kind(), 6);
    }
  }
  EXPECT_EQ(node::npos.label(), "");
  EXPECT_EQ(node::npos.id(), 0);
}

TEST_F(NodeTest, NposIsWhatNavigationFindsWhenThereIsNothing) {
  node n = node::npos;
  EXPECT_EQ(n.addChild("c", "v"), node::npos);
  EXPECT_FALSE(n.hasChildren());
  EXPECT_EQ(n.clone(), node::npos);

  const node r = MakeSample();
  EXPECT_EQ(r.parent(), node::npos);
  EXPECT_EQ(r.nextSibling(), node::npos);
  EXPECT_EQ(r.lastChild().nextSibling(), node::npos);
  EXPECT_EQ(r.child(2), node::npos);
  EXPECT_EQ(r.child(-1), node::npos);
  EXPECT_EQ(r.findLabel("nothing"), node::npos);
  EXPECT_EQ(r.firstAttribute(), node::npos);
  EXPECT_TRUE(node::npos.isNpos());
  EXPECT_FALSE(r.isNpos());
}

TEST_F(NodeTest, AttributesAreKeyedByTheWholeKey) {
  const std::string withNul("arguments\0x", 11);
  node n("min");
  EXPECT_EQ(n.attribute("arguments"), "");
  EXPECT_FALSE(n.hasAttribute("arguments"));

  n.setAttribute("arguments", "1");
  n.setAttribute("Arguments", "A");
  n.setAttribute("arguments", "2");
  n.setAttribute(withNul, "3");
  EXPECT_EQ(n.attribute("arguments"), "2");
  EXPECT_EQ(n.attribute("Arguments"), "A");
  EXPECT_EQ(n.attribute("argument"), "");
  EXPECT_EQ(n.attribute(withNul), "3");

  std::vector<std::string> keys;
  for (node a = n.firstAttribute(); a != node::npos; a = a.nextSibling()) keys.push_back(a.label());
  EXPECT_EQ(keys, (std::vector<std::string>{"arguments", "Arguments", withNul}));
  EXPECT_EQ(n.childCount(), 0);  // attributes are not children
}

TEST_F(NodeTest, PreOrderNavigation) {
  const node r = MakeSample();
  EXPECT_EQ(Walk(r, [](node& n) { return n.goNext(); }),
            (std::vector<std::string>{"r", "a", "a1", "a2", "b", "b1"}));
  EXPECT_EQ(Walk(r.lastLeaf(), [](node& n) { return n.goPrev(); }),
            (std::vector<std::string>{"b1", "b", "a2", "a1", "a", "r"}));
  EXPECT_EQ(Walk(r.firstChild(), [](node& n) { return n.goNextSkipChildren(); }),
            (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(Walk(r.firstLeaf(), [](node& n) { return n.goParent(); }),
            (std::vector<std::string>{"a1", "a", "r"}));

  const node a2 = r.child(0).child(1);
  EXPECT_EQ(a2.label(), "a2");
  EXPECT_EQ(a2.firstSibling().label(), "a1");
  EXPECT_EQ(a2.lastSibling(), a2);
  EXPECT_EQ(a2.root(), r);
  EXPECT_EQ(a2.nextSkipChildren().label(), "b");
  EXPECT_EQ(a2.depth(), 2);
  EXPECT_EQ(r.descendantCount(), 5);
  EXPECT_EQ(r.firstChild().descendantCount(), 2);
  EXPECT_EQ(r.childCount(), 2);
  EXPECT_TRUE(r.isAncestorOf(a2));
  EXPECT_TRUE(a2.isDescendantOf(r));
  EXPECT_FALSE(a2.isAncestorOf(r));
  EXPECT_TRUE(a2.isSiblingOf(r.firstLeaf()));
  EXPECT_FALSE(a2.isSiblingOf(r.lastLeaf()));

  node moving = r;
  EXPECT_FALSE(moving.goParent());  // stays when there is nothing
  EXPECT_EQ(moving, r);
  EXPECT_TRUE(moving.goLastLeaf());
  EXPECT_EQ(moving.label(), "b1");
  EXPECT_EQ(r.useCount(), 3);  // moving within a tree keeps the count
}

TEST_F(NodeTest, Searches) {
  const node r = MakeSample();
  const node a = r.firstChild();
  const node b1 = r.lastLeaf();
  EXPECT_EQ(a.findLabel("b1"), b1);
  EXPECT_EQ(a.findLabelInSubtree("b1"), node::npos);
  EXPECT_EQ(a.findValueInSubtree("x").label(), "a2");  // not a itself
  EXPECT_EQ(a.findValue("y").label(), "a1");
  EXPECT_EQ(b1.findValueBackward("x").label(), "a2");
  EXPECT_EQ(b1.findLabelInAncestors("r"), r);
  EXPECT_EQ(b1.findLabelBackward("nothing"), node::npos);
  EXPECT_EQ(a.findValueUntil("y", r.lastChild()).label(), "a1");
  EXPECT_EQ(r.firstLeaf().findLabelUntil("b1", r.lastChild()), node::npos);
  EXPECT_EQ(b1.findValueBackwardUntil("x", a.lastChild()), node::npos);

  node(b1).setId(7);
  EXPECT_EQ(r.findId(7), b1);
  EXPECT_EQ(r.findIdInSubtree(7), b1);
  EXPECT_EQ(b1.findIdBackward(7), node::npos);
}

TEST_F(NodeTest, AddingABranchMergesTheCounts) {
  node r("r");
  r.addChild("first");
  node branch("branch");
  branch.addChild("inner");
  ASSERT_TRUE(r.addBranch(branch));
  EXPECT_EQ(r.useCount(), 2);  // r and branch
  EXPECT_EQ(branch.parent(), r);
  EXPECT_EQ(branch.firstChild().useCount(), 3);

  node front("front");
  ASSERT_TRUE(r.addBranchFirst(front));
  EXPECT_EQ(r.child(0), front);
  EXPECT_FALSE(r.addBranch(node::npos));
  EXPECT_FALSE(node(node::npos).addBranch(node("x")));
}

TEST_F(NodeTest, InsertingABranchAtAPosition) {
  struct Case {
    int position;
    bool inserted;
    std::string order;
  };
  const std::vector<Case> cases = {
      {0, true, "Nab"}, {1, true, "aNb"}, {2, true, "abN"}, {3, false, "ab"}, {-1, false, "ab"}};
  for (const Case& c : cases) {
    node r("r");
    r.addChild("a");
    r.addChild("b");
    EXPECT_EQ(r.insertBranchAt(node("N"), c.position), c.inserted) << c.position;
    std::string order;
    for (node n = r.firstChild(); n != node::npos; n = n.nextSibling()) order += n.label();
    EXPECT_EQ(order, c.order) << c.position;
  }

  node r("r");
  const node a = r.addChild("a");
  r.addChild("b");
  EXPECT_TRUE(r.insertBranchAfter(node("N"), a));
  EXPECT_EQ(a.nextSibling().label(), "N");
  EXPECT_FALSE(r.insertBranchAfter(node("M"), node("stranger")));
  EXPECT_EQ(r.childCount(), 3);
}

TEST_F(NodeTest, RefusedBranches) {
  node r("root");
  node child = r.addChild("child");
  node other("other");
  const node attributeRoot = [&] {
    node owner("owner");
    owner.setAttribute("k", "v");
    return owner.firstAttribute().parent();
  }();

  struct Case {
    const char* name;
    node receiver;
    node branch;
  };
  // A branch that already has a parent, the node itself, and an attribute
  // root (owned by its node) cannot be added.
  for (const Case& c : {Case{"has parent", other, child}, Case{"itself", r, r},
                        Case{"attribute root", r, attributeRoot}}) {
    try {
      node(c.receiver).addBranch(c.branch);
      ADD_FAILURE() << c.name;
    } catch (const CVL_NodeErrorAddBranch& e) {
      EXPECT_STREQ(e.text(), "cannot add branch : ") << c.name;
      EXPECT_EQ(std::string(e.m_szBranch), c.branch.label()) << c.name;
      EXPECT_EQ(std::string(e.m_szNode), c.receiver.root().label()) << c.name;
    }
  }

  // The root of the receiving tree is already part of it.
  const int count = r.useCount();
  try {
    child.addBranch(r);
    ADD_FAILURE() << "cycle not detected";
  } catch (const CVL_NodeError& e) {
    EXPECT_STREQ(e.text(), "cycle in tree : root");
  }
  EXPECT_EQ(r.useCount(), count);
  EXPECT_EQ(r.parent(), node::npos);
  EXPECT_EQ(child.childCount(), 0);
}

TEST_F(NodeTest, ClearKeepsHeldDescendantsAlive) {
  node r = MakeSample();
  node a1 = r.findLabel("a1");
  a1.setAttribute("k", "v");
  r.clear();
  EXPECT_FALSE(r.hasChildren());
  EXPECT_EQ(r.useCount(), 1);
  // a1's branch (a with a1 and a2) lives on as a tree of its own.
  EXPECT_EQ(a1.useCount(), 1);
  EXPECT_EQ(a1.root().label(), "a");
  EXPECT_EQ(a1.root().parent(), node::npos);
  EXPECT_EQ(a1.attribute("k"), "v");
}

TEST_F(NodeTest, Detach) {
  node r = MakeSample();
  EXPECT_TRUE(r.detach());  // a root: nothing to do
  node a = r.firstChild();
  EXPECT_FALSE(a.detach());  // r still shares the tree
  r = node::npos;
  ASSERT_TRUE(a.detach());  // the rest of the old tree goes with r's handle
  EXPECT_EQ(a.parent(), node::npos);
  EXPECT_EQ(a.useCount(), 1);
  EXPECT_EQ(a.descendantCount(), 2);
}

TEST_F(NodeTest, MoveUpSwapsWithThePreviousSibling) {
  node r = MakeSample();
  node b = r.lastChild();
  EXPECT_TRUE(b.moveUp());
  EXPECT_EQ(r.firstChild(), b);
  EXPECT_EQ(b.nextSibling().label(), "a");
  EXPECT_FALSE(b.moveUp());
}

TEST_F(NodeTest, CloneIsADeepIndependentCopy) {
  node r = MakeSample();
  r.firstChild().setAttribute("arguments", "2");
  r.lastLeaf().setId(1);
  node copy = r.firstChild().clone();
  EXPECT_EQ(copy.useCount(), 1);
  EXPECT_EQ(copy.parent(), node::npos);
  EXPECT_EQ(copy.attribute("arguments"), "2");
  EXPECT_EQ(copy.descendantCount(), 2);
  EXPECT_EQ(copy.lastChild().label(), "a2");
  EXPECT_EQ(r.clone().lastLeaf().id(), 1);

  copy.setAttribute("arguments", "3");
  copy.firstChild().setLabel("changed");
  EXPECT_EQ(r.firstChild().attribute("arguments"), "2");
  EXPECT_EQ(r.firstLeaf().label(), "a1");
}

TEST_F(NodeTest, DeepTreesAreWalkedWithoutRecursion) {
  constexpr int kDepth = 200000;
  node r("r");
  node tip = r;
  for (int i = 0; i < kDepth; ++i) tip = tip.addChild("n");
  tip.setAttribute("k", "v");
  EXPECT_EQ(tip.depth(), kDepth);
  EXPECT_EQ(r.descendantCount(), kDepth);
  const node copy = r.clone();
  EXPECT_EQ(copy.lastLeaf().attribute("k"), "v");
  EXPECT_EQ(r.findLabelInSubtree("none"), node::npos);
  tip = node::npos;
}

TEST_F(NodeTest, ReleasingAndClearingTreesAllocatesNothing) {
#ifdef ORVO_SANITIZED
  GTEST_SKIP() << "needs this program's own failing allocator";
#endif
  // Deep and wide, with attributes at the top, in the middle and on leaves.
  auto build = [] {
    node r("r");
    r.setAttribute("top", "1");
    node tip = r;
    for (int i = 0; i < 1000; ++i) {
      tip = tip.addChild("n");
      tip.addChild("leaf").setAttribute("k", "v");
      if (i % 7 == 0) tip.setAttribute("mid", std::to_string(i));
    }
    return r;
  };
  node released = build();
  node cleared = build();
  node twoHandles = build();
  node inside = twoHandles.lastLeaf().parent();
  g_refuseAllocations = true;
  cleared.clear();
  released = node::npos;
  twoHandles = node::npos;
  inside = node::npos;  // the last handle of that tree
  g_refuseAllocations = false;
  EXPECT_EQ(cleared.descendantCount(), 0);
  EXPECT_EQ(cleared.attribute("top"), "1");
}

}  // namespace
}  // namespace orvo
