#include "macros/Stringify.h"

namespace orvo {

std::string Stringify(const std::string& text) {
  std::string literal;
  literal.reserve(text.size() + 2);
  literal += '"';
  for (const char c : text) {
    if (c == '"' || c == '\\') literal += '\\';
    literal += c;
  }
  literal += '"';
  return literal;
}

}  // namespace orvo
