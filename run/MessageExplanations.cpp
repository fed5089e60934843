#include "run/MessageExplanations.h"

#include <cctype>
#include <string>

namespace orvo {
namespace {

// How a row's pattern is compared with a message text.
enum class Match { Exact, Prefix, Suffix };

struct ExplanationRow {
  Match match;
  const char* pattern;
  // "{token}": the text the message points at; "{found}": the token the
  // message says was found.
  const char* explanation;
};

// One row per message kind, the more specific before the more general; the
// first row that fits gives the explanation.
constexpr ExplanationRow kExplanations[] = {
    {Match::Exact, "EOF found; ) expected",
     "the file ended inside the parentheses opened here; a ')' is missing"},
    {Match::Exact, "EOL found; ) expected",
     "the line ended inside the parentheses opened here; a directive ends with its line, so "
     "close them on the same line (or continue the line with a backslash)"},
    {Match::Suffix, " found; ) expected",
     "'{found}' cannot stand here: a ')' was expected to close the parentheses opened here"},
    {Match::Suffix, ") expected", "a ')' is missing to close the parentheses opened here"},
    {Match::Exact, "EOF found; unexpected token",
     "the file ended in the middle of something unfinished: a directive, a macro call or "
     "a conditional section (is an #endif missing?)"},
    {Match::Exact, "EOF found; EOL expected",
     "the file ended where this line should have ended; end the last line with a line break"},
    {Match::Suffix, "EOL expected",
     "this line should end here; the text after it does not belong to the directive"},
    {Match::Exact, "ID expected",
     "a name is needed here, such as the macro name after #ifdef, #ifndef or #undef"},
    {Match::Suffix, "; unexpected token",
     "{token} cannot stand here: it fits none of the forms this line may take"},
    {Match::Exact, "unexpected token",
     "{token} cannot stand here: it fits none of the forms this line may take (is an "
     "operand, a name or the rest of the directive missing?)"},
    {Match::Prefix, "bad lexical cast",
     "the constant {token} is not plain decimal digits; in #if this preprocessor reads an "
     "integer constant as digits only (no suffix such as L or U, no character constant): "
     "write it in digits, such as 199901 for 199901L"},
    {Match::Exact, "incomplete",
     "reading stopped here and the rest of the text was not read: this line is no text line "
     "and no directive that may stand here (such as #endif or #else without #if, an unknown "
     "directive, or #include without a file name)"},
    {Match::Exact, "no progress", "the parser could not move past this place"},
    {Match::Suffix, " found again",
     "the function-like macro is defined a second time; the new definition replaces the "
     "earlier one"},
    {Match::Suffix, "within comment",
     "comments do not nest: the first \"*/\" ends the comment that began before"},
    {Match::Exact, "extra tokens at end of #undef directive",
     "#undef takes one macro name; the text after it is no part of the directive and is "
     "written to the output as a line of text"},
    {Match::Prefix, "macro expansion stopped at ','",
     "a macro's result is read again to expand the macros in it, and that reading cannot take "
     "a ',' right after the '(' of a name that is no function-like macro (an empty macro "
     "argument in front of a comma leaves one there); the text from there on is kept as it "
     "stands"},
    {Match::Prefix, "macro expansion stopped at '#'",
     "'#' and '##' act only in a macro's replacement list; one that comes out of an expansion "
     "(from an argument or another macro) ends the reading of the result for further macros, "
     "and the text from there on is kept as it stands"},
    {Match::Prefix, "macro expansion stopped",
     "a macro's result is read again to expand the macros in it, and that reading cannot take "
     "this token here; the text from there on is kept as it stands"},
    {Match::Suffix, "could not be loaded!",
     "the file was found, but it is no regular file or could not be read"},
};

constexpr std::string_view kTokenSlot = "{token}";
constexpr std::string_view kFoundSlot = "{found}";

bool fits(const ExplanationRow& row, std::string_view text) {
  const std::string_view pattern = row.pattern;
  switch (row.match) {
    case Match::Exact:
      return text == pattern;
    case Match::Prefix:
      return text.substr(0, pattern.size()) == pattern;
    case Match::Suffix:
      return text.size() >= pattern.size() &&
             text.substr(text.size() - pattern.size()) == pattern;
  }
  return false;
}

// Farthest a search for an unclosed '(' goes back: a group that opened
// further away than this is no longer "here" for a reader.
constexpr std::size_t kMaxGroupSearchBytes = 64 * 1024;

// Offset of the '(' that is still open at `offset` in `text`, or -1: going
// back, a ')' hides the '(' that matches it.
int unclosedParenthesis(std::string_view text, int offset) {
  if (offset < 0 || static_cast<std::size_t>(offset) > text.size()) return -1;
  const std::size_t end = static_cast<std::size_t>(offset);
  const std::size_t stop = end > kMaxGroupSearchBytes ? end - kMaxGroupSearchBytes : 0;
  int closed = 0;
  for (std::size_t i = end; i > stop; --i) {
    const char c = text[i - 1];
    if (c == ')') ++closed;
    if (c == '(' && closed-- == 0) return static_cast<int>(i - 1);
  }
  return -1;
}

bool isNameByte(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

// The token at `offset`: a name or number, else the one byte there.
std::string_view tokenAt(std::string_view text, int offset) {
  if (offset < 0 || static_cast<std::size_t>(offset) >= text.size()) return {};
  const std::size_t begin = static_cast<std::size_t>(offset);
  std::size_t end = begin;
  while (end < text.size() && (isNameByte(text[end]) || (end > begin && text[end] == '.')))
    ++end;
  if (end == begin) ++end;
  return text.substr(begin, end - begin);
}

}  // namespace

std::string explanationOf(std::string_view text, std::string_view token) {
  for (const ExplanationRow& row : kExplanations) {
    if (!fits(row, text)) continue;
    std::string explanation = row.explanation;
    const std::size_t slot = explanation.find(kTokenSlot);
    if (slot != std::string::npos) {
      std::string shown = "this token";
      if (!token.empty()) {
        shown.assign(1, '\'');
        shown.append(token).push_back('\'');
      }
      explanation.replace(slot, kTokenSlot.size(), shown);
    }
    // The token the parser found, as "NAME found; " names it.
    const std::size_t foundSlot = explanation.find(kFoundSlot);
    const std::size_t foundEnd = text.find(" found; ");
    if (foundSlot != std::string::npos && foundEnd != std::string_view::npos)
      explanation.replace(foundSlot, kFoundSlot.size(), text.substr(0, foundEnd));
    return explanation;
  }
  return std::string();
}

std::vector<DiagnosticNote> explanationNotes(std::string_view text, const SourceRegistry& sources,
                                             SourceId source, int begin, int end,
                                             bool inMacroText) {
  std::vector<DiagnosticNote> notes;
  const std::string_view sourceText = sources.text(source);
  const std::string_view token = inMacroText ? std::string_view() : tokenAt(sourceText, begin);
  const std::string explanation = explanationOf(text, token);
  if (inMacroText) {
    const std::string_view name = tokenAt(sourceText, begin);
    if (!name.empty())
      notes.push_back({"in expansion of macro " + std::string(name), std::nullopt});
  }
  const bool groupOpen = text.size() >= 10 && text.substr(text.size() - 10) == ") expected";
  if (groupOpen && !inMacroText && source != kNoSource) {
    // The range the error points at may end with the '(' itself.
    const int opening = unclosedParenthesis(sourceText, end);
    if (opening >= 0) {
      notes.push_back({"to match this '('", sources.place(source, opening, opening + 1)});
      if (!explanation.empty()) notes.push_back({explanation, notes.back().place});
      return notes;
    }
  }
  if (!explanation.empty()) notes.push_back({explanation, std::nullopt});
  return notes;
}

}  // namespace orvo
