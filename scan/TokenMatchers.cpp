#include "scan/TokenMatchers.h"

#include <cstring>
#include <string_view>

namespace orvo {
namespace {

using Classes = CVL_ByteClasses;
using Groups = CVL_InnerGroups;

bool At(const char* p, const char* end, char c) { return p != end && *p == c; }

bool AtOneOf(const char* p, const char* end, std::string_view set) {
  if (p == end) return false;
  for (const char c : set)
    if (*p == c) return true;
  return false;
}

template <class Test>
const char* While(const char* p, const char* end, Test test) {
  while (p != end && test(*p)) ++p;
  return p;
}

const char* Spaces(const char* p, const char* end, const Classes& c) {
  return While(p, end, [&](char ch) { return c.space(ch); });
}
const char* Digits(const char* p, const char* end, const Classes& c) {
  return While(p, end, [&](char ch) { return c.digit(ch); });
}
const char* WordChars(const char* p, const char* end, const Classes& c) {
  return While(p, end, [&](char ch) { return c.word(ch); });
}
const char* OctalDigits(const char* p, const char* end) {
  return While(p, end, [](char ch) { return ch >= '0' && ch <= '7'; });
}

// `text` at p: the position after it, or null.
const char* Text(const char* p, const char* end, std::string_view text) {
  if (static_cast<std::size_t>(end - p) < text.size()) return nullptr;
  return std::memcmp(p, text.data(), text.size()) == 0 ? p + text.size() : nullptr;
}

// `#\s*keyword`
const char* Directive(const char* p, const char* end, const Classes& c, std::string_view keyword) {
  if (!At(p, end, '#')) return nullptr;
  return Text(Spaces(p + 1, end, c), end, keyword);
}

// (u|ul|U|UL|l|L)? : the longest suffix, recorded as the group.
const char* IntegerSuffix(const char* p, const char* end, Groups& g) {
  const char* q = p;
  if (Text(p, end, "ul") || Text(p, end, "UL"))
    q = p + 2;
  else if (AtOneOf(p, end, "uUlL"))
    q = p + 1;
  if (q != p) g[0] = {p, q};
  return q;
}

// [eE][+-]?\d+[fFdD]? at p.
const char* Exponent(const char* p, const char* end, const Classes& c) {
  if (!AtOneOf(p, end, "eE")) return nullptr;
  ++p;
  if (AtOneOf(p, end, "+-")) ++p;
  const char* digits = Digits(p, end, c);
  if (digits == p) return nullptr;
  return AtOneOf(digits, end, "fFdD") ? digits + 1 : digits;
}

const char* Longer(const char* a, const char* b) {
  if (a == nullptr) return b;
  if (b == nullptr) return a;
  return a > b ? a : b;
}

// \z
const char* EndOfInput(const char* p, const char* end, const Classes&, Groups&) {
  return p == end ? p : nullptr;
}

// \r?\n
const char* LineEnd(const char* p, const char* end, const Classes&, Groups&) {
  if (At(p, end, '\r') && At(p + 1, end, '\n')) return p + 2;
  return At(p, end, '\n') ? p + 1 : nullptr;
}

// #\s*include\s*("([^"]+)"|<([^>]+)>)
const char* Include(const char* p, const char* end, const Classes& c, Groups& g) {
  const char* q = Directive(p, end, c, "include");
  if (q == nullptr) return nullptr;
  q = Spaces(q, end, c);
  if (q == end || (*q != '"' && *q != '<')) return nullptr;
  const bool quoted = *q == '"';
  const char* name = q + 1;
  const void* found = std::memchr(name, quoted ? '"' : '>', static_cast<std::size_t>(end - name));
  if (found == nullptr || found == name) return nullptr;
  const char* close = static_cast<const char*>(found);
  g[0] = {q, close + 1};
  g[quoted ? 1 : 2] = {name, close};
  return close + 1;
}

// \\\s*
const char* BackslashSpaces(const char* p, const char* end, const Classes& c, Groups&) {
  return At(p, end, '\\') ? Spaces(p + 1, end, c) : nullptr;
}

// \w+
const char* Word(const char* p, const char* end, const Classes& c, Groups&) {
  const char* q = WordChars(p, end, c);
  return q != p ? q : nullptr;
}

// L?'(\\([abfnrtv"'\\?]|[0-7]([0-7][0-7]?)?|x[[:xdigit:]]+)|[^'])'
const char* Character(const char* p, const char* end, const Classes& c, Groups& g) {
  const char* q = At(p, end, 'L') ? p + 1 : p;
  if (!At(q, end, '\'')) return nullptr;
  const char* body = q + 1;
  // An escape sequence, always longer than a single character would be.
  if (At(body, end, '\\') && body + 1 != end) {
    const char* escape = body + 1;
    const char* escapeEnd = nullptr;
    const char* octalRest = nullptr;
    if (AtOneOf(escape, end, "abfnrtv\"'\\?")) {
      escapeEnd = escape + 1;
    } else if (AtOneOf(escape, end, "01234567")) {
      const char* digits = OctalDigits(escape, end);
      if (digits - escape <= 3) escapeEnd = digits;
      if (digits - escape >= 2) octalRest = escape + 1;
    } else if (At(escape, end, 'x')) {
      const char* digits = While(escape + 1, end, [&](char ch) { return c.xdigit(ch); });
      if (digits != escape + 1) escapeEnd = digits;
    }
    if (escapeEnd != nullptr && At(escapeEnd, end, '\'')) {
      g[0] = {body, escapeEnd};
      g[1] = {escape, escapeEnd};
      if (octalRest != nullptr) g[2] = {octalRest, escapeEnd};
      return escapeEnd + 1;
    }
  }
  if (body != end && *body != '\'' && At(body + 1, end, '\'')) {
    g[0] = {body, body + 1};
    return body + 2;
  }
  return nullptr;
}

// L?"([^"\\\r\n]*(\\.[^"\\\r\n]*)*)"
const char* String(const char* p, const char* end, const Classes&, Groups& g) {
  const char* q = At(p, end, 'L') ? p + 1 : p;
  if (!At(q, end, '"')) return nullptr;
  const char* const content = q + 1;
  const char* iteration = nullptr;
  for (q = content; q != end; ) {
    const char ch = *q;
    if (ch == '"') {
      g[0] = {content, q};
      if (iteration != nullptr) g[1] = {iteration, q};
      return q + 1;
    }
    if (ch == '\r' || ch == '\n') return nullptr;
    if (ch == '\\') {
      if (q + 1 == end) return nullptr;
      iteration = q;
      q += 2;
    } else {
      ++q;
    }
  }
  return nullptr;
}

// \d+\.\d*[eE][+-]?\d+[fFdD]?|\.\d+[eE][+-]?\d+[fFdD]?|\d+[eE][+-]?\d+[fFdD]?|\d+[fFdD]
const char* Float(const char* p, const char* end, const Classes& c, Groups&) {
  const char* digits = Digits(p, end, c);
  const char* best = nullptr;
  if (digits != p) {
    if (At(digits, end, '.')) best = Longer(best, Exponent(Digits(digits + 1, end, c), end, c));
    best = Longer(best, Exponent(digits, end, c));
    if (AtOneOf(digits, end, "fFdD")) best = Longer(best, digits + 1);
  } else if (At(p, end, '.')) {
    const char* fraction = Digits(p + 1, end, c);
    if (fraction != p + 1) best = Longer(best, Exponent(fraction, end, c));
  }
  return best;
}

// \d+[fFlL]*
const char* Decimal(const char* p, const char* end, const Classes& c, Groups&) {
  const char* digits = Digits(p, end, c);
  if (digits == p) return nullptr;
  return While(digits, end, [](char ch) { return ch == 'f' || ch == 'F' || ch == 'l' || ch == 'L'; });
}

// 0[xX][[:xdigit:]]+(u|ul|U|UL|l|L)?
const char* Hexadecimal(const char* p, const char* end, const Classes& c, Groups& g) {
  if (!At(p, end, '0') || !AtOneOf(p + 1, end, "xX")) return nullptr;
  const char* digits = While(p + 2, end, [&](char ch) { return c.xdigit(ch); });
  if (digits == p + 2) return nullptr;
  return IntegerSuffix(digits, end, g);
}

// 0[0-7]+(u|ul|U|UL|l|L)?
const char* Octal(const char* p, const char* end, const Classes&, Groups& g) {
  if (!At(p, end, '0')) return nullptr;
  const char* digits = OctalDigits(p + 1, end);
  if (digits == p + 1) return nullptr;
  return IntegerSuffix(digits, end, g);
}

// (\d+)[uU]*
const char* Unsigned(const char* p, const char* end, const Classes& c, Groups& g) {
  const char* digits = Digits(p, end, c);
  if (digits == p) return nullptr;
  g[0] = {p, digits};
  return While(digits, end, [](char ch) { return ch == 'u' || ch == 'U'; });
}

// [^ \\\r\n\t\)|&%?:#]
const char* OtherCharacter(const char* p, const char* end, const Classes&, Groups&) {
  if (p == end || AtOneOf(p, end, " \\\r\n\t)|&%?:#")) return nullptr;
  return p + 1;
}

template <const char* Keyword>
const char* DirectiveName(const char* p, const char* end, const Classes& c, Groups&) {
  return Directive(p, end, c, Keyword);
}

// #\s*ifdef\s+
const char* Ifdef(const char* p, const char* end, const Classes& c, Groups&) {
  const char* q = Directive(p, end, c, "ifdef");
  if (q == nullptr) return nullptr;
  const char* spaces = Spaces(q, end, c);
  return spaces != q ? spaces : nullptr;
}

// (\w+)\s*\(
const char* CallBegin(const char* p, const char* end, const Classes& c, Groups& g) {
  const char* name = WordChars(p, end, c);
  if (name == p) return nullptr;
  const char* paren = Spaces(name, end, c);
  if (!At(paren, end, '(')) return nullptr;
  g[0] = {p, name};
  return paren + 1;
}

// (\w+)\(
const char* DefinitionBegin(const char* p, const char* end, const Classes& c, Groups& g) {
  const char* name = WordChars(p, end, c);
  if (name == p || !At(name, end, '(')) return nullptr;
  g[0] = {p, name};
  return name + 1;
}

// //[^\r\n]*$ : the line end or the input end always follows the longest
// run, and nothing before it is a line end, so "$" holds there.
const char* LineComment(const char* p, const char* end, const Classes&, Groups&) {
  if (!Text(p, end, "//")) return nullptr;
  return While(p + 2, end, [](char ch) { return ch != '\r' && ch != '\n'; });
}

constexpr char kDefine[] = "define", kError[] = "error", kEndif[] = "endif", kLine[] = "line",
               kPragma[] = "pragma", kUndef[] = "undef", kWarning[] = "warning",
               kIfndef[] = "ifndef", kIf[] = "if", kElif[] = "elif", kElse[] = "else";

// Keyed by the pattern text, so a changed token table pattern finds no
// matcher and its expressions keep running on the library alone.
constexpr CVL_TokenMatcher kMatchers[] = {
    {R"re(\z)re", 0, EndOfInput},
    {R"re(\r?\n)re", 0, LineEnd, 2},
    {R"re(#\s*include\s*("([^"]+)"|<([^>]+)>))re", 3, Include},
    {R"re(\\\s*)re", 0, BackslashSpaces},
    {R"re(\w+)re", 0, Word},
    {R"re(L?'(\\([abfnrtv"'\\?]|[0-7]([0-7][0-7]?)?|x[[:xdigit:]]+)|[^'])')re", 3, Character},
    {R"re(L?"([^"\\\r\n]*(\\.[^"\\\r\n]*)*)")re", 2, String},
    {R"re(\d+\.\d*[eE][+-]?\d+[fFdD]?|\.\d+[eE][+-]?\d+[fFdD]?|\d+[eE][+-]?\d+[fFdD]?|\d+[fFdD])re",
     0, Float},
    {R"re(\d+[fFlL]*)re", 0, Decimal},
    {R"re(0[xX][[:xdigit:]]+(u|ul|U|UL|l|L)?)re", 1, Hexadecimal},
    {R"re(0[0-7]+(u|ul|U|UL|l|L)?)re", 1, Octal},
    {R"re((\d+)[uU]*)re", 1, Unsigned},
    {R"re([^ \\\r\n\t\)|&%?:#])re", 0, OtherCharacter, 1},
    {R"re(#\s*define)re", 0, DirectiveName<kDefine>},
    {R"re(#\s*error)re", 0, DirectiveName<kError>},
    {R"re(#\s*endif)re", 0, DirectiveName<kEndif>},
    {R"re(#\s*line)re", 0, DirectiveName<kLine>},
    {R"re((\w+)\s*\()re", 1, CallBegin},
    {R"re(#\s*pragma)re", 0, DirectiveName<kPragma>},
    {R"re(#\s*undef)re", 0, DirectiveName<kUndef>},
    {R"re(#\s*warning)re", 0, DirectiveName<kWarning>},
    {R"re(#\s*ifdef\s+)re", 0, Ifdef},
    {R"re((\w+)\()re", 1, DefinitionBegin},
    {R"re(#\s*ifndef)re", 0, DirectiveName<kIfndef>},
    {R"re(#\s*if)re", 0, DirectiveName<kIf>},
    {R"re(#\s*elif)re", 0, DirectiveName<kElif>},
    {R"re(#\s*else)re", 0, DirectiveName<kElse>},
    {R"re(//[^\r\n]*$)re", 0, LineComment},
};

}  // namespace

std::span<const CVL_TokenMatcher> TokenMatchers() { return kMatchers; }

}  // namespace orvo
