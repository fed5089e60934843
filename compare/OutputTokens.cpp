#include "compare/OutputTokens.h"

#include <array>
#include <algorithm>
#include <cctype>

namespace orvo::compare {
namespace {

bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Punctuators of three, then two bytes; any other punctuator is one byte.
constexpr std::array<std::string_view, 3> kLong = {"...", "<<=", ">>="};
constexpr std::array<std::string_view, 19> kPairs = {"->", "++", "--", "<<", ">>", "<=", ">=",
                                                     "==", "!=", "&&", "||", "*=", "/=", "%=",
                                                     "+=", "-=", "&=", "^=", "|="};

std::size_t punctuatorLength(std::string_view rest) {
  for (std::string_view p : kLong)
    if (rest.substr(0, 3) == p) return 3;
  if (rest.substr(0, 2) == "##") return 2;
  for (std::string_view p : kPairs)
    if (rest.substr(0, 2) == p) return 2;
  return 1;
}

}  // namespace

std::vector<OutputToken> tokensOf(std::string_view text) {
  std::vector<OutputToken> tokens;
  int line = 1;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\n') {
      ++line;
      ++i;
      continue;
    }
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
      continue;
    }
    // Comments are blanks: the main engine writes some (argument-count notes).
    if (text.substr(i, 2) == "//") {
      i = std::min(text.find('\n', i), text.size());
      continue;
    }
    if (text.substr(i, 2) == "/*") {
      const std::size_t close = text.find("*/", i + 2);
      const std::size_t end = close == std::string_view::npos ? text.size() : close + 2;
      for (std::size_t k = i; k < end; ++k) line += text[k] == '\n';
      i = end;
      continue;
    }
    std::size_t end = i + 1;
    if (std::isdigit(static_cast<unsigned char>(c)) ||
        (c == '.' && i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1])))) {
      // A preprocessing number: digits, letters, dots, and signs after an exponent.
      while (end < text.size() &&
             (isNameChar(text[end]) || text[end] == '.' ||
              ((text[end] == '+' || text[end] == '-') &&
               std::string_view("eEpP").find(text[end - 1]) != std::string_view::npos)))
        ++end;
    } else if (isNameChar(c)) {
      while (end < text.size() && isNameChar(text[end])) ++end;
      // An encoding prefix belongs to the literal after it.
      if (end < text.size() && (text[end] == '"' || text[end] == '\'')) {
        const std::string_view prefix = text.substr(i, end - i);
        if (prefix == "L" || prefix == "u" || prefix == "U" || prefix == "u8") end = i;
      }
    } else if (c != '"' && c != '\'') {
      end = i + punctuatorLength(text.substr(i));
    } else {
      end = i;
    }
    if (end == i) {
      // A literal, from its prefix to the closing quote; it ends at the line's end.
      std::size_t at = i;
      while (text[at] != '"' && text[at] != '\'') ++at;
      const char quote = text[at];
      end = at + 1;
      while (end < text.size() && text[end] != quote && text[end] != '\n') {
        end += text[end] == '\\' && end + 1 < text.size() && text[end + 1] != '\n' ? 2 : 1;
      }
      if (end < text.size() && text[end] == quote) ++end;
    }
    tokens.push_back(OutputToken{std::string(text.substr(i, end - i)), line});
    i = end;
  }
  return tokens;
}

}  // namespace orvo::compare
