#include "standard/SkippedDirectives.h"

#include <cctype>

namespace orvo::standard {
namespace {

bool blank(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }

// One logical line: continued lines joined, comments replaced by a blank.
// `inComment` carries a block comment open at the end of a line on to the
// next one.
std::string logicalLine(std::string_view text, std::size_t& at, bool& inComment) {
  std::string line;
  while (at < text.size()) {
    const char c = text[at];
    if (inComment) {
      if (c == '*' && at + 1 < text.size() && text[at + 1] == '/') {
        inComment = false;
        line += ' ';
        at += 2;
      } else {
        ++at;
      }
      if (c == '\n') break;
      continue;
    }
    if (c == '\\' && at + 1 < text.size() && text[at + 1] == '\n') {
      at += 2;
      continue;
    }
    if (c == '\n') {
      ++at;
      break;
    }
    if (c == '/' && at + 1 < text.size() && text[at + 1] == '*') {
      inComment = true;
      at += 2;
      continue;
    }
    if (c == '/' && at + 1 < text.size() && text[at + 1] == '/') {
      while (at < text.size() && text[at] != '\n') ++at;
      continue;
    }
    line += c;
    ++at;
  }
  return line;
}

// The directive name of a line and where its name ends; empty for no directive.
std::string directiveOf(const std::string& line, std::size_t& rest) {
  std::size_t i = 0;
  while (i < line.size() && blank(line[i])) ++i;
  if (i >= line.size() || line[i] != '#') return {};
  ++i;
  while (i < line.size() && blank(line[i])) ++i;
  const std::size_t begin = i;
  while (i < line.size() && (std::isalpha(static_cast<unsigned char>(line[i])) != 0)) ++i;
  rest = i;
  return line.substr(begin, i - begin);
}

std::string trimmed(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && (blank(text[begin]) || text[begin] == '\r')) ++begin;
  while (end > begin && (blank(text[end - 1]) || text[end - 1] == '\r')) --end;
  return text.substr(begin, end - begin);
}

}  // namespace

std::vector<SkippedDirective> branchDirectivesIn(std::string_view text) {
  std::vector<SkippedDirective> found;
  std::size_t at = 0;
  bool inComment = false;
  logicalLine(text, at, inComment);  // the directive that began the skip
  int nesting = 0;
  while (at < text.size()) {
    const std::size_t lineStart = at;
    const std::string line = logicalLine(text, at, inComment);
    std::size_t rest = 0;
    const std::string directive = directiveOf(line, rest);
    if (directive == "if" || directive == "ifdef" || directive == "ifndef") {
      ++nesting;
    } else if (directive == "endif") {
      if (nesting == 0) break;
      --nesting;
    } else if (nesting == 0 && (directive == "elif" || directive == "else")) {
      const std::size_t hash = text.find('#', lineStart);
      found.push_back({hash, directive, directive == "elif" ? trimmed(line.substr(rest)) : ""});
    }
  }
  return found;
}

}  // namespace orvo::standard
