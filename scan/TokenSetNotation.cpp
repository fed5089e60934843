#include "scan/TokenSetNotation.h"

#include "base/Message.h"

namespace orvo {
namespace {

// Numbers in the tables are token ids, group numbers and scanner indices;
// anything longer than this is a typo, not a value.
constexpr int kMaxNumber = 99999;

[[noreturn]] void Malformed() { throw CVL_Message("malformed number list"); }

// Reads blanks and a decimal number at `p`, advancing it past the digits.
int ReadNumber(const char*& p) {
  while (*p == ' ' || *p == '\t') ++p;
  if (*p < '0' || *p > '9') Malformed();
  int value = 0;
  while (*p >= '0' && *p <= '9') {
    value = value * 10 + (*p - '0');
    if (value > kMaxNumber) Malformed();
    ++p;
  }
  return value;
}

void CheckTokenId(int id) {
  if (id > kTokenCount) throw CVL_Message("token number out of range");
}

// Calls `item` for each item of a token-set text, in order.
template <class Item>
void ForEachItem(const char* text, Item&& item) {
  const char* p = text;
  if (*p == '\0') return;
  for (;;) {
    const int first = ReadNumber(p);
    int last = first;
    if (*p == '-') {
      ++p;
      last = ReadNumber(p);
    }
    item(CVL_NumberRange{first, last});
    if (*p == '\0') return;
    if (*p != ',') Malformed();
    ++p;
  }
}

}  // namespace

std::vector<CVL_NumberRange> ParseNumberRanges(const char* text) {
  std::vector<CVL_NumberRange> items;
  ForEachItem(text, [&](CVL_NumberRange item) { items.push_back(item); });
  return items;
}

CVL_TokenSet ParseTokenSet(const char* text) {
  CVL_TokenSet set;
  ForEachItem(text, [&](CVL_NumberRange item) {
    if (item.last < item.first) return;
    CheckTokenId(item.last);
    for (int id = item.first; id <= item.last; ++id) set.insert(id);
  });
  return set;
}

std::vector<std::pair<int, int>> ParsePairList(const char* text) {
  const std::vector<CVL_NumberRange> items = ParseNumberRanges(text);
  if (items.size() % 2 != 0) throw CVL_Message("malformed pair list");
  std::vector<std::pair<int, int>> pairs;
  pairs.reserve(items.size() / 2);
  for (std::size_t i = 0; i < items.size(); i += 2) {
    const CVL_NumberRange& group = items[i];
    const CVL_NumberRange& token = items[i + 1];
    if (group.first != group.last || token.first != token.last)
      throw CVL_Message("malformed pair list");
    CheckTokenId(token.first);
    pairs.emplace_back(group.first, token.first);
  }
  return pairs;
}

}  // namespace orvo
