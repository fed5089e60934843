#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tree/Map.h"
#include "tree/Node.h"
#include "tree/Vector.h"

namespace orvo {
namespace {

using StringMap = CVL_Map<std::string, std::string>;
using StringVector = CVL_Vector<std::string>;

std::vector<std::string> Keys(const StringMap& map) {
  std::vector<std::string> keys;
  for (const auto& entry : map) keys.push_back(entry.first);
  return keys;
}

std::vector<std::string> WalkForward(StringVector::cursor_type& cursor) {
  std::vector<std::string> seen;
  cursor.reset(false);
  while (cursor.next()) seen.push_back(cursor.value());
  return seen;
}

TEST(MapTest, KeysAreOrderedByteByByte) {
  StringMap map;
  for (const char* key : {"b", "ab", "a", "B", "\xff", ""}) map[key] = "v";
  map["a"] = "again";
  EXPECT_EQ(Keys(map), (std::vector<std::string>{"", "B", "a", "ab", "b", "\xff"}));
}

TEST(MapTest, FindKeyMissKeepsTheCursorOnTheEarlierEntry) {
  StringMap map;
  map["min"] = "1";
  map["max"] = "2";
  EXPECT_EQ(map.value(), "");  // not positioned after the insertions
  ASSERT_TRUE(map.findKey("max"));
  EXPECT_FALSE(map.findKey("mid"));
  EXPECT_EQ(map.value(), "2");
  EXPECT_EQ(map.key(), "max");
}

TEST(MapTest, InsertionResetsEveryRegisteredCursor) {
  StringMap map;
  map["a"] = "1";
  StringMap::cursor_type other(&map);
  ASSERT_TRUE(map.findKey("a"));
  ASSERT_TRUE(other.findKey("a"));
  const StringMap::cursor_type copy = other;

  // Keeping an existing entry counts as an insertion all the same.
  EXPECT_FALSE(map.insert("a", "changed"));
  EXPECT_FALSE(map.cursor().positioned());
  EXPECT_FALSE(other.positioned());
  EXPECT_FALSE(copy.positioned());
  EXPECT_EQ(map.value(), "");

  ASSERT_TRUE(map.findKey("a"));
  EXPECT_EQ(map.value(), "1");
  EXPECT_TRUE(map.insert("b", "2"));
  ASSERT_TRUE(map.findKey("b"));
  EXPECT_EQ(map.value(), "2");
}

TEST(MapTest, EraseAtTheCursorMovesOnToTheNextEntry) {
  StringMap map;
  map["a"] = "1";
  map["b"] = "2";
  map["c"] = "3";
  EXPECT_FALSE(map.erase());  // not positioned: nothing to erase

  StringMap::cursor_type other(&map);
  ASSERT_TRUE(map.findKey("b"));
  ASSERT_TRUE(other.findKey("b"));
  StringMap::cursor_type elsewhere(&map);
  ASSERT_TRUE(elsewhere.findKey("a"));

  ASSERT_TRUE(map.erase());
  EXPECT_EQ(Keys(map), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(map.key(), "c");
  EXPECT_EQ(other.key(), "c");  // not left on the erased entry
  EXPECT_EQ(elsewhere.key(), "a");  // erasing does not reset
  ASSERT_TRUE(map.erase());
  EXPECT_FALSE(map.cursor().positioned());  // past the last entry
  EXPECT_EQ(map.size(), 1u);
}

TEST(MapTest, CursorWalksBothWays) {
  StringMap map;
  StringMap::cursor_type cursor(&map);
  EXPECT_FALSE(cursor.next());
  EXPECT_FALSE(cursor.prev());
  map["a"] = "1";
  map["b"] = "2";
  std::string forward;
  while (cursor.next()) forward += cursor.key();
  std::string backward;
  while (cursor.prev()) backward += cursor.key();
  EXPECT_EQ(forward, "ab");
  EXPECT_EQ(backward, "ba");
  ASSERT_TRUE(cursor.next());
  cursor.setValue("changed");
  EXPECT_EQ(map.begin()->second, "changed");
}

TEST(MapTest, FindSeesEveryStoredKeyAndMovesNoCursor) {
  StringMap map;
  std::set<std::string> stored = {"a", "ab"};
  map.insert("a", "1");
  map["ab"] = "2";
  // Keys of every length and end byte, present and absent.
  for (int n = 0; n < 300; ++n) {
    const std::string key(static_cast<std::size_t>(n % 7 + 1), static_cast<char>('a' + n % 26));
    if (n % 3 == 0) {
      map.insert(key, std::to_string(n));
      stored.insert(key);
    }
    for (const std::string& probe : {key, key + "x", "x" + key})
      ASSERT_EQ(map.find(probe) != nullptr, stored.count(probe) != 0) << probe;
  }
  ASSERT_TRUE(map.findKey("a"));
  EXPECT_NE(map.find(std::string_view("ab")), nullptr);
  EXPECT_EQ(map.key(), "a");
  // Erased, cleared and copied maps answer from their entries alone.
  ASSERT_TRUE(map.findKey("ab"));
  map.erase();
  EXPECT_EQ(map.find(std::string_view("ab")), nullptr);
  const StringMap copy(map);
  EXPECT_NE(copy.find(std::string_view("a")), nullptr);
  map.clear();
  EXPECT_EQ(map.find(std::string_view("a")), nullptr);
  EXPECT_NE(copy.find(std::string_view("a")), nullptr);
}

TEST(MapTest, NodeValuesKeepTheirRecordsAlive) {
  CVL_Map<std::string, node> macros;
  {
    node record("min");
    record.setAttribute("arguments", "2");
    record.addChild("Text", "a");
    macros["min"] = record;
  }
  ASSERT_TRUE(macros.findKey("min"));
  node record = macros.value();
  EXPECT_EQ(record.attribute("arguments"), "2");
  EXPECT_EQ(record.firstChild().value(), "a");
  record.setId(1);  // the busy flag is set on the stored record
  EXPECT_EQ(macros.value().id(), 1);

  // Not positioned: a fresh empty node, which can be changed (unlike npos).
  macros["max"] = node("max");
  node fresh = macros.value();
  EXPECT_NE(fresh, node::npos);
  EXPECT_EQ(fresh.label(), "");
  fresh.setLabel("scratch");
  EXPECT_TRUE(macros.findKey("max"));
  EXPECT_EQ(macros.value().label(), "max");
}

TEST(VectorTest, WalkingVisitsElementsInOrder) {
  StringVector vector;
  EXPECT_TRUE(WalkForward(vector.cursor()).empty());  // first next() is false on empty
  vector.push_back("a");
  vector.push_back("b");
  EXPECT_EQ(WalkForward(vector.cursor()), (std::vector<std::string>{"a", "b"}));
  EXPECT_FALSE(vector.cursor().positioned());  // the walk ends at the end position
}

TEST(VectorTest, PrevFromTheEndAndFromTheFirstElement) {
  StringVector vector;
  StringVector::cursor_type& cursor = vector.cursor();
  EXPECT_FALSE(cursor.prev());  // empty: stays not positioned
  cursor.setValue("x");
  EXPECT_TRUE(vector.empty());
  EXPECT_EQ(cursor.value(), "");

  vector.push_back("a");
  vector.push_back("b");
  ASSERT_TRUE(cursor.prev());
  EXPECT_EQ(cursor.value(), "b");
  ASSERT_TRUE(cursor.prev());
  EXPECT_EQ(cursor.value(), "a");
  EXPECT_FALSE(cursor.prev());  // from the first element to the end
  EXPECT_TRUE(cursor.next());
  EXPECT_EQ(cursor.value(), "a");
}

TEST(VectorTest, SetValueAndResetOnInsertion) {
  StringVector vector;
  vector.push_back("a");
  StringVector::cursor_type other(&vector);
  ASSERT_TRUE(other.next());
  other.setValue("changed");
  EXPECT_EQ(vector[0], "changed");
  vector.push_back("b");
  EXPECT_FALSE(other.positioned());
  other.setValue("ignored");
  EXPECT_EQ(vector[0], "changed");
  EXPECT_EQ(vector[1], "b");
  ASSERT_TRUE(other.next());
  vector.clear();
  EXPECT_FALSE(other.positioned());
  EXPECT_FALSE(other.next());
}

TEST(CursorTest, ContainerDestructionDetachesItsCursors) {
  auto map = std::make_unique<StringMap>();
  (*map)["a"] = "1";
  StringMap::cursor_type cursor(map.get());
  ASSERT_TRUE(cursor.findKey("a"));
  map.reset();
  EXPECT_FALSE(cursor.attached());
  EXPECT_FALSE(cursor.positioned());
  EXPECT_EQ(cursor.value(), "");
  EXPECT_FALSE(cursor.findKey("a"));
  EXPECT_FALSE(cursor.next());
  EXPECT_FALSE(cursor.prev());

  auto vector = std::make_unique<StringVector>();
  vector->push_back("a");
  StringVector::cursor_type vectorCursor(vector.get());
  vector.reset();
  EXPECT_FALSE(vectorCursor.next());
  EXPECT_EQ(vectorCursor.value(), "");
}

TEST(CursorTest, ACursorGoneBeforeItsContainerIsNoLongerNotified) {
  StringVector vector;
  {
    StringVector::cursor_type destroyed(&vector);
    StringVector::cursor_type detached(&vector);
    detached.reset(true);  // leaves the list as well
    EXPECT_FALSE(detached.attached());
  }
  vector.push_back("a");  // would reach freed cursors if they were still listed
  EXPECT_EQ(vector.size(), 1u);

  StringMap map;
  { StringMap::cursor_type destroyed(&map); }
  map["a"] = "1";
  EXPECT_EQ(map.size(), 1u);
}

TEST(CursorTest, ContainerCopiesHaveCursorsOfTheirOwn) {
  StringMap map;
  map["a"] = "1";
  StringMap copy = map;
  ASSERT_TRUE(copy.findKey("a"));
  EXPECT_FALSE(map.cursor().positioned());
  copy.cursor().setValue("2");
  EXPECT_EQ(map.begin()->second, "1");

  ASSERT_TRUE(map.findKey("a"));
  map = copy;  // the old positions are gone with the old entries
  EXPECT_FALSE(map.cursor().positioned());
  ASSERT_TRUE(map.findKey("a"));
  EXPECT_EQ(map.value(), "2");
}

}  // namespace
}  // namespace orvo
