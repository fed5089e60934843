#include "scan/FastAlternation.h"

#include <bit>
#include <cstring>
#include <string_view>
#include <utility>

#include "scan/FirstByteFilter.h"
#include "scan/ScannerSyntax.h"

namespace orvo {
namespace {

// One bit per alternative in the candidate masks.
constexpr std::size_t kMaxAlternatives = 64;

// Characters that a literal alternative writes with a backslash.
bool IsMetacharacter(char c) { return c != '\0' && std::strchr(R"(\^$.|?*+()[]{})", c) != nullptr; }

// Whether an alternative's ")" stands at `pos`, followed by "|" or the end.
bool ClosesAt(std::string_view body, std::size_t pos) {
  return pos < body.size() && body[pos] == ')' && (pos + 1 == body.size() || body[pos + 1] == '|');
}

// Reads an escaped literal from `pos` up to its ")"; false for anything else.
bool ReadLiteral(std::string_view body, std::size_t& pos, std::string& text) {
  while (pos < body.size() && body[pos] != ')') {
    const char c = body[pos];
    if (c == '\\') {
      if (pos + 1 >= body.size() || !IsMetacharacter(body[pos + 1])) return false;
      text += body[pos + 1];
      pos += 2;
    } else {
      if (IsMetacharacter(c)) return false;
      text += c;
      ++pos;
    }
  }
  return !text.empty();
}

const char* MatchLiteral(const char* p, const char* end, const std::string& text) {
  if (static_cast<std::size_t>(end - p) < text.size()) return nullptr;
  return std::memcmp(p, text.data(), text.size()) == 0 ? p + text.size() : nullptr;
}

}  // namespace

std::unique_ptr<const CVL_FastAlternation> CVL_FastAlternation::Build(
    const std::string& expression, const boost::regex& compiled) {
  if (compiled.flags() != kScannerSyntax) return nullptr;
  std::unique_ptr<const CVL_FastAlternation> fast = Build(expression, compiled.getloc());
  // The library must count the same groups, or the numbering differs.
  if (fast != nullptr && compiled.mark_count() + 1 != fast->m_GroupCount) return nullptr;
  return fast;
}

std::unique_ptr<const CVL_FastAlternation> CVL_FastAlternation::Build(
    const std::string& expression, const std::locale& locale) {
  std::string_view body = expression;
  const bool anchored = body.starts_with(R"(\A()") && body.ends_with(")");
  if (anchored) body = body.substr(3, body.size() - 4);

  std::vector<Alternative> alternatives;
  int group = anchored ? 2 : 1;
  std::size_t pos = 0;
  for (;;) {
    if (pos >= body.size() || body[pos] != '(') return nullptr;
    ++pos;
    // Exactly one token pattern must fit between the parentheses.
    const CVL_TokenMatcher* found = nullptr;
    int fits = 0;
    for (const CVL_TokenMatcher& matcher : TokenMatchers()) {
      const std::string_view pattern = matcher.pattern;
      if (body.substr(pos).starts_with(pattern) && ClosesAt(body, pos + pattern.size())) {
        found = &matcher;
        ++fits;
      }
    }
    if (fits > 1) return nullptr;
    if (found != nullptr) {
      alternatives.push_back({found, found->pattern, group, found->innerGroups, found->longest});
      pos += std::strlen(found->pattern) + 1;
    } else {
      std::string literal;
      if (!ReadLiteral(body, pos, literal) || !ClosesAt(body, pos)) return nullptr;
      const auto longest = static_cast<std::ptrdiff_t>(literal.size());
      alternatives.push_back({nullptr, std::move(literal), group, 0, longest});
      ++pos;
    }
    group += 1 + alternatives.back().innerGroups;
    if (alternatives.size() > kMaxAlternatives) return nullptr;
    if (pos == body.size()) break;
    if (body[pos] != '|') return nullptr;
    ++pos;
  }
  // Every group the expression has belongs to an alternative: its own and
  // its pattern's, counted after the whole match (and the anchor's group).
  return std::unique_ptr<const CVL_FastAlternation>(new CVL_FastAlternation(
      std::move(alternatives), anchored, static_cast<std::size_t>(group), locale));
}

CVL_FastAlternation::CVL_FastAlternation(std::vector<Alternative> alternatives, bool anchored,
                                         std::size_t groupCount, const std::locale& locale)
    : m_Alternatives(std::move(alternatives)),
      m_Anchored(anchored),
      m_GroupCount(groupCount),
      m_Classes(locale) {
  for (std::size_t k = 0; k < m_Alternatives.size(); ++k) {
    const Alternative& alternative = m_Alternatives[k];
    const std::uint64_t bit = std::uint64_t{1} << k;
    if (alternative.matcher == nullptr) {
      m_Candidates[static_cast<unsigned char>(alternative.text[0])] |= bit;
      continue;
    }
    const CVL_FirstByteFilter first(alternative.text, locale);
    for (int b = 0; b < 256; ++b)
      if (first.admits(static_cast<char>(b))) m_Candidates[static_cast<std::size_t>(b)] |= bit;
  }
  int firstBytes = 0;
  for (int b = 0; b < 256; ++b) {
    if (m_Candidates[static_cast<std::size_t>(b)] == 0) continue;
    ++firstBytes;
    m_OnlyFirstByte = b;
  }
  if (firstBytes != 1) m_OnlyFirstByte = -1;
}

int CVL_FastAlternation::search(const char* begin, const char* end,
                                CVL_Submatches& results) const {
  if (m_Anchored) return matchAt(begin, end, results);
  for (const char* p = begin; p != end; ++p) {
    if (m_OnlyFirstByte >= 0) {
      const void* next = std::memchr(p, m_OnlyFirstByte, static_cast<std::size_t>(end - p));
      if (next == nullptr) break;
      p = static_cast<const char*>(next);
    }
    if (m_Candidates[static_cast<unsigned char>(*p)] == 0) continue;
    const int found = matchAt(p, end, results);
    if (found >= 0) return found;
  }
  return matchAt(end, end, results);
}

int CVL_FastAlternation::matchAt(const char* p, const char* end, CVL_Submatches& results) const {
  // At the input end only an empty alternative can match; try them all.
  std::uint64_t candidates = p == end ? ~std::uint64_t{0} >> (64 - m_Alternatives.size())
                                      : m_Candidates[static_cast<unsigned char>(*p)];
  int best = -1;
  const char* bestEnd = nullptr;
  // The winner's groups and the ones being tried take turns in two buffers.
  CVL_InnerGroups first;
  CVL_InnerGroups second;
  CVL_InnerGroups* trial = &first;
  CVL_InnerGroups* kept = &second;
  while (candidates != 0) {
    const int k = std::countr_zero(candidates);
    candidates &= candidates - 1;
    const Alternative& alternative = m_Alternatives[static_cast<std::size_t>(k)];
    // Only a strictly longer match displaces the first of equally long ones.
    if (best >= 0 && alternative.longest != 0 && alternative.longest <= bestEnd - p) continue;
    *trial = CVL_InnerGroups{};
    const char* matchEnd = alternative.matcher != nullptr
                               ? alternative.matcher->match(p, end, m_Classes, *trial)
                               : MatchLiteral(p, end, alternative.text);
    if (matchEnd != nullptr && (best < 0 || matchEnd > bestEnd)) {
      best = k;
      bestEnd = matchEnd;
      std::swap(trial, kept);
    }
  }
  if (best < 0) return -1;
  const Alternative& winner = m_Alternatives[static_cast<std::size_t>(best)];
  results.start(p, bestEnd, m_GroupCount, winner.group, 1 + winner.innerGroups);
  results.setOwn(0, p, bestEnd);
  for (int i = 0; i < winner.innerGroups; ++i) {
    const CVL_GroupSpan& span = (*kept)[static_cast<std::size_t>(i)];
    if (span.begin != nullptr) results.setOwn(i + 1, span.begin, span.end);
  }
  return best;
}

bool CVL_FastAlternation::agreesWith(const CVL_GroupMap& map) const {
  const std::vector<CVL_GroupSymbol>& pairs = map.pairs();
  if (pairs.size() != m_Alternatives.size()) return false;
  for (std::size_t k = 0; k < pairs.size(); ++k) {
    const Alternative& alternative = m_Alternatives[k];
    const symbol* s = pairs[k].m_pSymbol;
    if (pairs[k].m_Group != alternative.group || s == nullptr || s->id == 0 ||
        s->submatches != 1 + alternative.innerGroups ||
        s->literal != (alternative.matcher == nullptr) || alternative.text != s->pattern)
      return false;
  }
  return true;
}

}  // namespace orvo
