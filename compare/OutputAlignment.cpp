#include "orvo/OutputAlignment.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "compare/FileIdentity.h"
#include "compare/OutputTokens.h"

namespace orvo {
namespace {

// ---- Tokens of one line -------------------------------------------------------

// The line's tokens as the comparison reads them, each followed by a line
// feed (no token holds one), so two lines hold the same tokens exactly when
// these texts are equal.
std::string tokenText(std::string_view line) {
  std::string tokens;
  for (const compare::OutputToken& token : compare::tokensOf(line)) {
    tokens += token.text;
    tokens.push_back('\n');
  }
  return tokens;
}

bool isBlank(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
}

// The text's lines as an editor counts them (a text ending in a line break
// has an empty last line), without their line ends.
std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t from = 0;
  while (true) {
    const std::size_t end = text.find('\n', from);
    std::string_view line = text.substr(from, end == std::string_view::npos ? std::string_view::npos : end - from);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    from = end + 1;
  }
  return lines;
}

// ---- Origins ------------------------------------------------------------------

using Key = std::uint64_t;
constexpr Key kNoKey = ~Key{0};

// The input line each output line came from, as one number (file, line);
// kNoKey for a line the map does not cover.
std::vector<Key> keysOf(const RunExplanation& explanation, std::size_t lines, compare::Side side,
                        compare::FileIdentity& files) {
  // The main input is file 0 of both runs, whatever name each gave it.
  std::vector<std::uint32_t> numbers;
  for (std::size_t i = 0; i < explanation.files.size(); ++i)
    numbers.push_back(i == 0 ? 0 : static_cast<std::uint32_t>(files.idOf(side, explanation.files[i])));
  std::vector<Key> keys(lines, kNoKey);
  for (std::size_t i = 0; i < lines && i < explanation.lineMap.size(); ++i) {
    const LineOrigin& origin = explanation.lineMap[i];
    if (!origin.known() || origin.file >= static_cast<int>(numbers.size()) || origin.firstLine < 0)
      continue;
    keys[i] = (Key{numbers[static_cast<std::size_t>(origin.file)]} << 32) |
              static_cast<std::uint32_t>(origin.firstLine);
  }
  return keys;
}

// For each main line, the standard line it may stand beside: the n-th
// main line of an input line goes with the n-th standard line of it.
std::vector<int> candidatesOf(const std::vector<Key>& mainKeys, const std::vector<Key>& standardKeys) {
  // The standard lines by input line, in order within each.
  std::vector<std::pair<Key, int>> standardLines;
  standardLines.reserve(standardKeys.size());
  for (std::size_t j = 0; j < standardKeys.size(); ++j)
    if (standardKeys[j] != kNoKey) standardLines.emplace_back(standardKeys[j], static_cast<int>(j));
  std::sort(standardLines.begin(), standardLines.end());
  // How many main lines of each input line were met so far.
  std::unordered_map<Key, std::size_t> used;
  std::vector<int> candidates(mainKeys.size(), -1);
  for (std::size_t i = 0; i < mainKeys.size(); ++i) {
    if (mainKeys[i] == kNoKey) continue;
    const auto first = std::lower_bound(standardLines.begin(), standardLines.end(),
                                        std::make_pair(mainKeys[i], -1));
    if (first == standardLines.end() || first->first != mainKeys[i]) continue;
    std::size_t& n = used[mainKeys[i]];
    const auto at = first + static_cast<std::ptrdiff_t>(n);
    if (at != standardLines.end() && at->first == mainKeys[i]) {
      candidates[i] = at->second;
      ++n;
    }
  }
  return candidates;
}

// The most pairs (main line, standard line) that keep both orders: the
// longest increasing run of the candidates, found by patience sorting.
std::vector<std::pair<int, int>> pairsOf(const std::vector<int>& candidates) {
  std::vector<int> tails;        // main lines ending the best run of each length
  std::vector<int> before(candidates.size(), -1);
  for (int i = 0; i < static_cast<int>(candidates.size()); ++i) {
    const int j = candidates[static_cast<std::size_t>(i)];
    if (j < 0) continue;
    const auto at = std::lower_bound(tails.begin(), tails.end(), j, [&](int line, int value) {
      return candidates[static_cast<std::size_t>(line)] < value;
    });
    if (at != tails.begin()) before[static_cast<std::size_t>(i)] = *(at - 1);
    if (at == tails.end()) tails.push_back(i);
    else *at = i;
  }
  std::vector<std::pair<int, int>> pairs;
  for (int i = tails.empty() ? -1 : tails.back(); i >= 0; i = before[static_cast<std::size_t>(i)])
    pairs.emplace_back(i, candidates[static_cast<std::size_t>(i)]);
  std::reverse(pairs.begin(), pairs.end());
  return pairs;
}

struct Row {
  int main = -1;  // a line of each result, -1 for a gap
  int standard = -1;
};

// Rows of unpaired lines between two pairs, in the order of the input
// lines they came from where both come from one file, main lines first
// otherwise.
void addUnpaired(std::vector<Row>& rows, int mainFrom, int mainTo, int standardFrom, int standardTo,
                 const std::vector<Key>& mainKeys, const std::vector<Key>& standardKeys) {
  int i = mainFrom, j = standardFrom;
  while (i < mainTo || j < standardTo) {
    bool standardFirst = i >= mainTo;
    if (i < mainTo && j < standardTo) {
      const Key a = mainKeys[static_cast<std::size_t>(i)];
      const Key b = standardKeys[static_cast<std::size_t>(j)];
      // Lines no input line wrote (the empty last line after a final line
      // break) stand beside each other.
      if (a == kNoKey && b == kNoKey) {
        rows.push_back(Row{i++, j++});
        continue;
      }
      standardFirst = a != kNoKey && b != kNoKey && (a >> 32) == (b >> 32) && b < a;
    }
    if (standardFirst) rows.push_back(Row{-1, j++});
    else rows.push_back(Row{i++, -1});
  }
}

// Fills a side's gaps and rows from the rows; `line` picks the side's line.
void fillSide(AlignedSide& side, std::size_t lines, const std::vector<Row>& rows, int Row::*line) {
  side.gapAfter.assign(lines, 0);
  side.differs.assign(lines, false);
  side.rowOf.assign(lines, 0);
  int last = -1;
  int pending = 0;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const int own = rows[r].*line;
    if (own < 0) {
      ++pending;
      continue;
    }
    (last < 0 ? side.gapAtTop : side.gapAfter[static_cast<std::size_t>(last)]) = pending;
    pending = 0;
    last = own;
    side.rowOf[static_cast<std::size_t>(own)] = static_cast<int>(r);
  }
  if (pending > 0) (last < 0 ? side.gapAtTop : side.gapAfter[static_cast<std::size_t>(last)]) = pending;
}

}  // namespace

bool sameTokens(std::string_view a, std::string_view b) { return tokenText(a) == tokenText(b); }

OutputAlignment alignOutputs(std::string_view mainText, const RunExplanation& mainExplanation,
                             std::string_view standardText,
                             const RunExplanation& standardExplanation) {
  const std::vector<std::string_view> mainLines = linesOf(mainText);
  const std::vector<std::string_view> standardLines = linesOf(standardText);
  compare::FileIdentity files(mainExplanation.files.empty() ? std::string() : mainExplanation.files[0], {});
  const std::vector<Key> mainKeys = keysOf(mainExplanation, mainLines.size(), compare::kMainSide, files);
  const std::vector<Key> standardKeys =
      keysOf(standardExplanation, standardLines.size(), compare::kStandardSide, files);

  std::vector<Row> rows;
  rows.reserve(std::max(mainLines.size(), standardLines.size()));
  int i = 0, j = 0;
  for (const auto& [pairedMain, pairedStandard] : pairsOf(candidatesOf(mainKeys, standardKeys))) {
    addUnpaired(rows, i, pairedMain, j, pairedStandard, mainKeys, standardKeys);
    rows.push_back(Row{pairedMain, pairedStandard});
    i = pairedMain + 1;
    j = pairedStandard + 1;
  }
  addUnpaired(rows, i, static_cast<int>(mainLines.size()), j, static_cast<int>(standardLines.size()),
              mainKeys, standardKeys);

  OutputAlignment alignment;
  alignment.rows = static_cast<int>(rows.size());
  fillSide(alignment.main, mainLines.size(), rows, &Row::main);
  fillSide(alignment.standard, standardLines.size(), rows, &Row::standard);
  for (const Row& row : rows) {
    const std::string_view a = row.main >= 0 ? mainLines[static_cast<std::size_t>(row.main)] : "";
    const std::string_view b = row.standard >= 0 ? standardLines[static_cast<std::size_t>(row.standard)] : "";
    // Equal bytes and blank lines need no tokens: most lines are either.
    if (a == b || (isBlank(a) && isBlank(b)) || tokenText(a) == tokenText(b)) continue;
    if (row.main >= 0) alignment.main.differs[static_cast<std::size_t>(row.main)] = true;
    if (row.standard >= 0) alignment.standard.differs[static_cast<std::size_t>(row.standard)] = true;
  }
  return alignment;
}

}  // namespace orvo
