#include "explain/DroppedBlanks.h"

#include <algorithm>
#include <string_view>

namespace orvo {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool isNameByte(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool blanksOnly(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), isBlank);
}

// The end of the string or character literal that opens at `open`.
std::size_t literalEnd(std::string_view text, std::size_t open) {
  std::size_t i = open + 1;
  while (i < text.size() && text[i] != text[open]) i += text[i] == '\\' ? 2 : 1;
  return std::min(i + 1, text.size());
}

// The first token of `text`, which starts with no blank: a name or number,
// a literal, or one character.
std::string firstToken(std::string_view text) {
  if (text.empty()) return {};
  std::size_t end = 1;
  if (isNameByte(text[0])) {
    while (end < text.size() && isNameByte(text[end])) ++end;
  } else if (text[0] == '"' || text[0] == '\'') {
    end = literalEnd(text, 0);
  }
  return std::string(text.substr(0, end));
}

// The last token of `text`, which ends with no blank.
std::string lastToken(std::string_view text) {
  if (text.empty()) return {};
  std::size_t begin = text.size() - 1;
  if (isNameByte(text[begin])) {
    while (begin > 0 && isNameByte(text[begin - 1])) --begin;
  } else if (text[begin] == '"' || text[begin] == '\'') {
    const std::size_t open = text.rfind(text[begin], begin == 0 ? 0 : begin - 1);
    if (open != std::string_view::npos && begin > 0) begin = open;
  }
  return std::string(text.substr(begin));
}

// The arguments of `callText` as written, between its outer parentheses,
// split at the commas that stand outside parentheses and literals.
std::vector<std::string_view> writtenArguments(std::string_view callText) {
  std::vector<std::string_view> arguments;
  const std::size_t open = callText.find('(');
  if (open == std::string_view::npos) return arguments;
  int depth = 0;
  std::size_t start = open + 1;
  for (std::size_t i = start; i < callText.size(); ++i) {
    const char c = callText[i];
    if (c == '"' || c == '\'') {
      i = literalEnd(callText, i) - 1;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')' && depth > 0) {
      --depth;
    } else if ((c == ',' && depth == 0) || c == ')') {
      arguments.push_back(callText.substr(start, i - start));
      if (c == ')') break;
      start = i + 1;
    }
  }
  return arguments;
}

// Whether `part` is the text of an argument that was written with blanks in
// front of it: every argument of that text was, so the sentence holds
// whichever of them the part came from.
bool argumentLostItsBlank(const std::string& part, const std::vector<std::string>& arguments,
                          const std::vector<std::string_view>& written) {
  bool found = false;
  for (std::size_t i = 0; i < arguments.size() && i < written.size(); ++i) {
    if (arguments[i] != part) continue;
    if (written[i].empty() || !isBlank(written[i].front())) return false;
    found = true;
  }
  return found;
}

std::string quoted(const std::string& token) { return "`" + token + "`"; }

// Each name of `text` that a "(" follows, with whether blanks stood between.
struct NameBeforeParenthesis {
  std::string name;
  bool spaced = false;
};
std::vector<NameBeforeParenthesis> namesBeforeParentheses(std::string_view text) {
  std::vector<NameBeforeParenthesis> found;
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == '"' || c == '\'') {
      i = literalEnd(text, i);
    } else if (isNameByte(c)) {
      const std::size_t begin = i;
      while (i < text.size() && isNameByte(text[i])) ++i;
      std::size_t next = i;
      while (next < text.size() && (text[next] == ' ' || text[next] == '\t')) ++next;
      const bool name = !(c >= '0' && c <= '9');
      if (name && next < text.size() && text[next] == '(')
        found.push_back({std::string(text.substr(begin, i - begin)), next > i});
    } else {
      ++i;
    }
  }
  return found;
}

std::size_t countOf(const std::vector<NameBeforeParenthesis>& found, const std::string& name,
                    bool spaced) {
  return static_cast<std::size_t>(std::count_if(found.begin(), found.end(), [&](const auto& n) {
    return n.name == name && n.spaced == spaced;
  }));
}

// Parts up to this long are quoted whole in a sentence; longer ones by
// the token at the place where they touch.
constexpr std::size_t kWholePartBytes = 16;

// Whether the characters `a` and `b` side by side read as one operator.
bool formOneOperator(char a, char b) {
  static constexpr std::string_view kOperators[] = {
      "--", "++", "->", "&&", "||", "<<", ">>", "<=", ">=", "==", "!=", "+=", "-=",
      "*=", "/=", "%=", "&=", "|=", "^=", "##", "//", "/*", "::"};
  const char pair[] = {a, b};
  const std::string_view joined(pair, 2);
  return std::find(std::begin(kOperators), std::end(kOperators), joined) != std::end(kOperators);
}

}  // namespace

std::vector<std::string> joinedPartsNotes(const std::vector<std::string>& parts) {
  std::vector<std::string> notes;
  const std::string* previous = nullptr;
  for (const std::string& part : parts) {
    if (part.empty()) continue;
    if (previous != nullptr && formOneOperator(previous->back(), part.front()) &&
        notes.size() < kMaxDroppedBlankNotes) {
      // Short parts are named whole, as the learner sees them in the call.
      const std::string left = previous->size() <= kWholePartBytes ? *previous : lastToken(*previous);
      const std::string right = part.size() <= kWholePartBytes ? part : firstToken(part);
      notes.push_back(quoted(left) + " and " + quoted(right) + " run together into " +
                      quoted(left + right) + ": the parts are put side by side with no blank "
                      "between them, and " + quoted(std::string{previous->back(), part.front()}) +
                      " reads as one operator");
    }
    previous = &part;
  }
  return notes;
}

std::vector<std::string> droppedBlankNotes(const std::string& callText,
                                           const std::vector<std::string>& arguments,
                                           const std::vector<std::string>& parts,
                                           const std::string& result) {
  std::vector<std::string> notes;
  std::size_t more = 0;
  std::vector<std::string_view> written;
  const std::string* previous = nullptr;  // the last part with text
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    if (!blanksOnly(part)) {
      if (!part.empty()) previous = &part;
      continue;
    }
    if (previous == nullptr || isBlank(previous->back()) || i + 1 >= parts.size()) continue;
    const std::string& next = parts[i + 1];
    if (next.empty() || isBlank(next.front())) continue;
    if (notes.size() == kMaxDroppedBlankNotes) {
      ++more;
      continue;
    }
    if (written.empty()) written = writtenArguments(callText);
    const std::string left = lastToken(*previous);
    const std::string right = firstToken(next);
    std::string note = "the blank before " + quoted(right) +
                       " in the replacement is dropped (a blank on its own is rescanned to "
                       "nothing)";
    if (argumentLostItsBlank(next, arguments, written))
      note += ", and so is the argument's leading blank (an argument starts at its first token)";
    if (result.find(left + right) != std::string::npos) {
      note += isNameByte(left.back()) && isNameByte(right.front())
                  ? ": " + quoted(left) + " and " + quoted(right) + " run together into " +
                        quoted(left + right)
                  : ": " + quoted(left) + " and " + quoted(right) + " now touch";
    }
    notes.push_back(std::move(note));
  }
  if (more > 0)
    notes.back() += "; " + std::to_string(more) + (more == 1 ? " more blank is" : " more blanks are") +
                    " dropped the same way";
  return notes;
}

std::vector<std::string> passBlankNotes(const std::string& before, const std::string& after) {
  std::vector<std::string> notes;
  const std::vector<NameBeforeParenthesis> from = namesBeforeParentheses(before);
  const std::vector<NameBeforeParenthesis> to = namesBeforeParentheses(after);
  std::vector<std::string> named;
  for (const NameBeforeParenthesis& candidate : from) {
    if (!candidate.spaced ||
        std::find(named.begin(), named.end(), candidate.name) != named.end())
      continue;
    // Fewer spaced and more joined occurrences after the pass: the pass
    // joined them.
    if (countOf(to, candidate.name, true) < countOf(from, candidate.name, true) &&
        countOf(to, candidate.name, false) > countOf(from, candidate.name, false)) {
      named.push_back(candidate.name);
      if (notes.size() < kMaxDroppedBlankNotes)
        notes.push_back("this preprocessor drops the blank between " + quoted(candidate.name) +
                        " and `(`: a name followed by `(` that is no function-like macro keeps "
                        "no blank before it");
    }
  }
  if (named.size() > notes.size())
    notes.back() += "; so for " + std::to_string(named.size() - notes.size()) + " more names";
  return notes;
}

}  // namespace orvo
