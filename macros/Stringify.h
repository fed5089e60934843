// The # operator's conversion of an argument into a string literal.
#pragma once

#include <string>

namespace orvo {

// `text` in double quotes, with a backslash in front of every double quote
// and every backslash it holds; nothing else changes.
std::string Stringify(const std::string& text);

}  // namespace orvo
