#include "scan/PlainTokenReader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <locale>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "scan/ByteClasses.h"
#include "scan/Symbol.h"
#include "scan/TokenAlternation.h"
#include "scan/TokenSet.h"

namespace orvo {
namespace {

// The literal tokens the reader reads: ")" and "(", the operators and ",".
constexpr int kFirstLiteral = tok::Rparen;
constexpr int kLastOperator = 64;

struct Spelling {
  std::string_view text;
  int id = 0;
};

// Whether `text`, a few bytes, stands at `p`: compared in place, as a
// library call would cost more than the comparison.
bool SpelledAt(const char* p, std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i)
    if (p[i] != text[i]) return false;
  return true;
}

// The literal spellings by first byte, longest first, so the first one that
// matches is the longest. No byte begins more than five of them ("-", "->", "->*", "--", "-=").
class LiteralSpellings {
 public:
  static constexpr std::size_t kMaxPerByte = 5;

  LiteralSpellings() {
    for (int id = kFirstLiteral; id <= kLastOperator; ++id) add(id);
    add(tok::Comma);
  }

  // The longest spelling at `p` whose kind is in `allowed`, or null; a null
  // `allowed` stands for the literals of a text line, where "," is a single
  // character like ";".
  const Spelling* longestAt(const char* p, const char* end, const CVL_TokenSet* allowed) const {
    const std::size_t left = static_cast<std::size_t>(end - p);
    for (const Spelling& spelling : m_ByFirstByte[static_cast<unsigned char>(*p)]) {
      if (spelling.id == 0) break;
      if (allowed != nullptr ? !allowed->contains(spelling.id) : spelling.id == tok::Comma)
        continue;
      if (left >= spelling.text.size() && SpelledAt(p, spelling.text)) return &spelling;
    }
    return nullptr;
  }

 private:
  void add(int id) {
    const Spelling spelling{GetSymbol(id)->pattern, id};
    std::array<Spelling, kMaxPerByte>& slots =
        m_ByFirstByte[static_cast<unsigned char>(spelling.text.front())];
    // Insert keeping the longer ones first.
    std::size_t at = 0;
    while (at < kMaxPerByte && slots[at].id != 0 && slots[at].text.size() >= spelling.text.size())
      ++at;
    if (slots[kMaxPerByte - 1].id != 0) throw std::logic_error("too many literals share a byte");
    std::move_backward(slots.begin() + static_cast<std::ptrdiff_t>(at), slots.end() - 1, slots.end());
    slots[at] = spelling;
  }

  std::array<std::array<Spelling, kMaxPerByte>, 256> m_ByFirstByte{};
};

// Built before main: the token table it reads is constant-initialised.
const LiteralSpellings kSpellings;

// Whether NOT_OTHER_PP_TOKEN_CHAR reads the byte.
bool IsOtherChar(char c) { return c == '\0' || std::strchr(" \\\r\n\t)|&%?:#", c) == nullptr; }

// What the reader needs to know of a byte, by its value: the classes \\w,
// \\d and \\s as the regular-expression library sees them under the global
// locale, which the scanners' expressions are compiled with.
class ReaderBytes {
 public:
  ReaderBytes() {
    const CVL_ByteClasses classes{std::locale()};
    for (int c = 0; c < 256; ++c) {
      const char byte = static_cast<char>(c);
      std::uint8_t bits = 0;
      if (classes.word(byte)) bits |= kWord;
      if (classes.digit(byte)) bits |= kDigit;
      if (classes.space(byte)) bits |= kSpace;
      m_Bits[static_cast<std::size_t>(c)] = bits;
    }
  }

  bool word(char c) const { return has(c, kWord); }
  bool digit(char c) const { return has(c, kDigit); }
  bool space(char c) const { return has(c, kSpace); }

 private:
  static constexpr std::uint8_t kWord = 1, kDigit = 2, kSpace = 4;

  bool has(char c, std::uint8_t bit) const {
    return (m_Bits[static_cast<unsigned char>(c)] & bit) != 0;
  }

  std::array<std::uint8_t, 256> m_Bits{};
};

const ReaderBytes& Bytes() {
  static const ReaderBytes bytes;
  return bytes;
}

// The directive kinds, read from their patterns: "#", any white space,
// then a keyword, and, for some, white space that must follow it.
class DirectiveKinds {
 public:
  struct Kind {
    int id = 0;
    std::string_view keyword;
    bool blanksAfter = false;
    // A pattern with more than a keyword (the include directive's name).
    bool unread = false;
  };

  DirectiveKinds() {
    constexpr std::string_view kHead = R"(#\s*)";
    constexpr std::string_view kBlanksAfter = R"(\s+)";
    for (int id = 1; id < kTokenCount; ++id) {
      const symbol* kind = GetSymbol(id);
      const std::string_view pattern = kind->pattern;
      if (kind->literal || !pattern.starts_with(kHead)) continue;
      std::string_view rest = pattern.substr(kHead.size());
      const auto notLetter = [](char c) { return !std::isalpha(static_cast<unsigned char>(c)); };
      const std::size_t letters =
          static_cast<std::size_t>(std::find_if(rest.begin(), rest.end(), notLetter) - rest.begin());
      Kind entry{id, rest.substr(0, letters), false, false};
      rest.remove_prefix(letters);
      if (rest == kBlanksAfter) {
        entry.blanksAfter = true;
      } else if (!rest.empty()) {
        entry.unread = true;
      }
      // Kept in the order of the kinds, which breaks ties, under the first
      // byte of the keyword: a kind without one is listed under every byte.
      for (int c = 0; c < 256; ++c)
        if (entry.keyword.empty() || static_cast<unsigned char>(entry.keyword.front()) == c)
          m_ByFirstByte[static_cast<std::size_t>(c)].push_back(entry);
    }
  }

  // The kinds whose keyword may begin with the byte `c`.
  const std::vector<Kind>& startingWith(char c) const {
    return m_ByFirstByte[static_cast<unsigned char>(c)];
  }

 private:
  std::array<std::vector<Kind>, 256> m_ByFirstByte;
};

const DirectiveKinds& Directives() {
  static const DirectiveKinds kinds;
  return kinds;
}

// Control bytes, DEL and bytes beyond ASCII, which the reader does not
// take into the escapes of literals.
bool IsUnusual(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte >= 0x7f;
}

// The "(" that follows a word across any white space, where the word
// begins a call (the scanners read it as MACRO_CALL_BEGIN); null otherwise.
const char* CallParenthesis(const char* after, const char* end, const ReaderBytes& bytes) {
  while (after != end && bytes.space(*after)) ++after;
  return after != end && *after == '(' ? after : nullptr;
}

// End of the string literal that begins at the quote `p`, or null when the
// line does not hold a plain one: no escaped line break and no escape of a
// byte the library may treat apart.
const char* StringEnd(const char* p, const char* end) {
  for (const char* q = p + 1; q != end; ++q) {
    if (*q == '"') return q + 1;
    if (*q == '\r' || *q == '\n') return nullptr;
    if (*q == '\\') {
      if (q + 1 == end || IsUnusual(q[1])) return nullptr;
      ++q;
    }
  }
  return nullptr;
}

// End of the character literal that begins at the quote `p` when it is a
// single printable character or a simple escape, else null.
const char* CharEnd(const char* p, const char* end) {
  const std::size_t left = static_cast<std::size_t>(end - p);
  if (left >= 3 && p[2] == '\'' && p[1] != '\'' && p[1] != '\\' && !IsUnusual(p[1])) return p + 3;
  if (left >= 4 && p[1] == '\\' && p[3] == '\'' && std::strchr("abfnrtv\"'\\?", p[2]) != nullptr &&
      p[2] != '\0')
    return p + 4;
  return nullptr;
}

}  // namespace

PlainToken ReadPlainToken(const char* p, const char* end) {
  const ReaderBytes& bytes = Bytes();
  PlainToken token;
  token.prefixBegin = p;
  while (p != end && (*p == ' ' || *p == '\t')) ++p;
  token.begin = p;
  if (p == end) return token;
  const char c = *p;

  if (bytes.word(c)) {
    const char* q = p;
    while (q != end && bytes.word(*q)) ++q;
    // Any word, a number too, followed by "(" begins a call.
    if (CallParenthesis(q, end, bytes) != nullptr) return token;
    if (bytes.digit(c)) {
      // A floating constant may reach beyond the run of word bytes.
      if (q != end && *q == '.') return token;
      const bool exponent = std::find_if(p, q, [](char b) { return b == 'e' || b == 'E'; }) != q;
      if (exponent && q != end && (*q == '+' || *q == '-')) return token;
    } else {
      if (q - p == 1 && c == 'L' && q != end && (*q == '\'' || *q == '"')) return token;
      token.id = tok::Id;
    }
    token.kind = PlainToken::Kind::Word;
    token.end = q;
    return token;
  }

  const char* literalEnd = nullptr;
  int id = 0;
  switch (c) {
    case '"':
      literalEnd = StringEnd(p, end);
      id = tok::String;
      break;
    case '\'':
      literalEnd = CharEnd(p, end);
      id = tok::Char;
      break;
    case '#':
    case '\\':
    case '\r':
    case '\n':
      return token;
    case '/':
      if (p + 1 != end && (p[1] == '/' || p[1] == '*')) return token;
      break;
    case '.':
      if (p + 1 != end && bytes.digit(p[1])) return token;
      break;
    default:
      break;
  }
  if (id != 0) {
    if (literalEnd == nullptr) return token;
  } else if (const Spelling* spelling = kSpellings.longestAt(p, end, nullptr)) {
    literalEnd = p + spelling->text.size();
    id = spelling->id;
  } else {
    literalEnd = p + 1;
    id = tok::NotOtherPpTokenChar;
  }
  token.kind = PlainToken::Kind::Other;
  token.end = literalEnd;
  token.id = id;
  return token;
}

void ReadLineBreak(PlainToken& token, const char* end) {
  if (token.kind != PlainToken::Kind::Stop || token.begin == end) return;
  const char* p = token.begin;
  if (*p == '\r') ++p;
  if (p == end || *p != '\n') return;
  token.kind = PlainToken::Kind::Other;
  token.end = p + 1;
  token.id = tok::Eol;
}

void ReadCallBegin(PlainToken& token, const char* end, const char*& nameEnd) {
  const ReaderBytes& bytes = Bytes();
  if (token.kind != PlainToken::Kind::Stop || token.begin == end ||
      !bytes.word(*token.begin) || bytes.digit(*token.begin))
    return;
  const char* q = token.begin;
  while (q != end && bytes.word(*q)) ++q;
  if (std::string_view(token.begin, static_cast<std::size_t>(q - token.begin)) == "defined")
    return;
  const char* const paren = CallParenthesis(q, end, bytes);
  if (paren == nullptr) return;
  nameEnd = q;
  token.kind = PlainToken::Kind::Other;
  token.end = paren + 1;
  token.id = tok::MacroCallBegin;
}

void AsScannersReadHash(PlainToken& token, const char* end, const CVL_TokenSet& searched) {
  const char* const hash = token.begin;
  const bool atHash = token.kind == PlainToken::Kind::Stop && hash != end && *hash == '#';
  token.kind = PlainToken::Kind::Stop;
  token.end = nullptr;
  token.id = 0;
  if (!atHash) return;
  const ReaderBytes& bytes = Bytes();
  // A literal keeps a tie; every directive is longer than both.
  const char* longest = nullptr;
  if (searched.contains(tok::HashHash) && hash + 1 != end && hash[1] == '#') {
    longest = hash + 2;
    token.id = tok::HashHash;
  } else if (searched.contains(tok::Hash)) {
    longest = hash + 1;
    token.id = tok::Hash;
  }
  const char* keyword = hash + 1;
  while (keyword != end && bytes.space(*keyword)) ++keyword;
  const std::size_t left = static_cast<std::size_t>(end - keyword);
  const char first = keyword != end ? *keyword : '\0';
  for (const DirectiveKinds::Kind& kind : Directives().startingWith(first)) {
    if (!searched.contains(kind.id) || left < kind.keyword.size() ||
        !SpelledAt(keyword, kind.keyword))
      continue;
    if (kind.unread) {
      token.id = 0;
      return;
    }
    const char* tokenEnd = keyword + kind.keyword.size();
    if (kind.blanksAfter) {
      if (tokenEnd == end || !bytes.space(*tokenEnd)) continue;
      while (tokenEnd != end && bytes.space(*tokenEnd)) ++tokenEnd;
    }
    if (longest == nullptr || tokenEnd > longest) {
      longest = tokenEnd;
      token.id = kind.id;
    }
  }
  if (longest == nullptr) return;
  token.kind = PlainToken::Kind::Other;
  token.end = longest;
}

bool IsDigitsOnly(const PlainToken& token) {
  if (token.kind != PlainToken::Kind::Word || token.id != 0) return false;
  return std::all_of(token.begin, token.end, [](char c) { return c >= '0' && c <= '9'; });
}

int NumberKind(const PlainToken& token, const CVL_TokenSet& searched) {
  // Followed by no word byte and no ".", a number of digits alone is read
  // whole by these kinds and by nothing longer; a single character is read
  // by NOT_OTHER_PP_TOKEN_CHAR too.
  const std::size_t length = static_cast<std::size_t>(token.end - token.begin);
  const bool octal = length >= 2 && *token.begin == '0' &&
                     std::all_of(token.begin + 1, token.end, [](char c) { return c <= '7'; });
  const int wholeReaders[] = {tok::Id, tok::DecimalInt, tok::Unsigned, tok::OctInt,
                              tok::NotOtherPpTokenChar};
  const symbol* first = nullptr;
  for (const int id : wholeReaders) {
    if (!searched.contains(id)) continue;
    if (id == tok::OctInt && !octal) continue;
    if (id == tok::NotOtherPpTokenChar && length != 1) continue;
    const symbol* const kind = GetSymbol(id);
    if (first == nullptr || AlternativeBefore(kind, first)) first = kind;
  }
  if (first == nullptr) return 0;
  return first->submatches == 1 ? first->id : -1;
}

bool ScannersMayReadAlike(const PlainToken& token) {
  // A number is read as one of several kinds alike; literals in quotes
  // carry groups the reader does not set.
  if (token.kind == PlainToken::Kind::Word) return token.id == tok::Id;
  return token.kind == PlainToken::Kind::Other && token.id != tok::String && token.id != tok::Char;
}

void AsScannersRead(PlainToken& token, const char* end, const CVL_TokenSet& searched) {
  const auto stop = [&token] {
    token.kind = PlainToken::Kind::Stop;
    token.end = nullptr;
    token.id = 0;
  };
  if (!ScannersMayReadAlike(token)) return stop();
  const std::string_view text(token.begin, static_cast<std::size_t>(token.end - token.begin));
  if (token.kind == PlainToken::Kind::Word) {
    // A single letter is read as ID or as a single character, whichever
    // scanner looks first.
    if (!searched.contains(tok::Id)) return stop();
    if (text.size() == 1 && searched.contains(tok::NotOtherPpTokenChar)) return stop();
    if (text == "defined" && searched.contains(tok::Defined)) return stop();
    return;
  }
  // No other kind begins with a line break.
  if (token.id == tok::Eol) {
    if (!searched.contains(tok::Eol)) stop();
    return;
  }
  // A call begin is longer than the name in it; only a definition's name
  // followed by "(" may be read as long.
  if (token.id == tok::MacroCallBegin) {
    if (!searched.contains(tok::MacroCallBegin) || searched.contains(tok::MacroDefBegin)) stop();
    return;
  }
  // "*/" may end a comment.
  if (text.starts_with("*/")) return stop();
  if (const Spelling* spelling = kSpellings.longestAt(token.begin, end, &searched)) {
    token.end = token.begin + spelling->text.size();
    token.id = spelling->id;
  } else if (searched.contains(tok::NotOtherPpTokenChar) && IsOtherChar(*token.begin)) {
    token.end = token.begin + 1;
    token.id = tok::NotOtherPpTokenChar;
  } else {
    stop();
  }
}

}  // namespace orvo
