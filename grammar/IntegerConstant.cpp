#include "grammar/IntegerConstant.h"

#include <algorithm>
#include <boost/lexical_cast.hpp>
#include <climits>
#include <cstdlib>

namespace orvo {
namespace {

// strtol reads into a long, which is wider than int here: clamp explicitly.
int ClampedStrtol(const std::string& text, int base) {
  const long parsed = std::strtol(text.c_str(), nullptr, base);
  return static_cast<int>(std::clamp<long>(parsed, INT_MIN, INT_MAX));
}

bool IsHexadecimal(const std::string& text) {
  return text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

}  // namespace

int IntegerConstantValue(const std::string& text) {
  if (text.empty()) return 0;
  if (IsHexadecimal(text)) return ClampedStrtol(text, 16);
  if (text[0] == '0') return ClampedStrtol(text, 8);
  return boost::lexical_cast<int>(text);
}

}  // namespace orvo
