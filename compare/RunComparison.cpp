#include "orvo/Comparison.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include "compare/EventLog.h"
#include "compare/FileIdentity.h"
#include "compare/LineGroups.h"
#include "compare/ObserverPair.h"
#include "compare/OutputTokens.h"
#include "compare/Reasons.h"
#include "compare/SourceLines.h"
#include "orvo/StandardRun.h"

namespace orvo::compare {
namespace {

int gravity(Severity severity) {
  switch (severity) {
    case Severity::Error: return 2;
    case Severity::Warning: return 1;
    case Severity::Note: return 0;
  }
  return 0;
}

// The gravest message of a run on each input line (the first of equal ones);
// notes are left out.
std::map<LineKey, Diagnostic> messagesByLine(LineGroups& groups, Side side, const RunResult& result) {
  std::map<LineKey, Diagnostic> byLine;
  auto add = [&](const Diagnostic& diagnostic) {
    if (diagnostic.severity == Severity::Note || !diagnostic.place || !diagnostic.place->known()) return;
    const LineKey key = groups.keyOf(side, diagnostic.place->file, diagnostic.place->line);
    const auto [found, added] = byLine.try_emplace(key, diagnostic);
    if (!added && gravity(diagnostic.severity) > gravity(found->second.severity)) found->second = diagnostic;
  };
  for (const Diagnostic& diagnostic : result.diagnostics) add(diagnostic);
  if (result.error) add(result.error->diagnostic());
  return byLine;
}

// Longest text of a result shown for one difference: a whole header that
// one run alone read counts as its #include line, and is cut here, with the
// number of tokens left out.
constexpr std::size_t kMaxShownTextBytes = 400;

std::string joined(const std::vector<OutputToken>& tokens, const std::vector<std::size_t>& indices,
                   std::size_t from, std::size_t to, const char* separator,
                   std::size_t maxBytes = kMaxShownTextBytes) {
  std::string text;
  for (std::size_t i = from; i < to; ++i) {
    if (text.size() > maxBytes) {
      text += " … (" + std::to_string(to - i) + " more tokens)";
      break;
    }
    if (i > from) text += separator;
    text += tokens[indices[i]].text;
  }
  return text;
}

// The path of the main input as the standard run names it when it is
// included (a file that includes itself).
std::string mainInputPath(const RunOptions& options) {
  if (options.sourceDir.empty()) return {};
  return (std::filesystem::path(options.sourceDir) / std::filesystem::path(options.inputName).filename())
      .string();
}

class RowBuilder {
 public:
  RowBuilder(SourceLines& lines, FileIdentity& files, LineGroups& groups,
             const std::array<const std::vector<OutputToken>*, 2>& tokens, const Explainer& explainer)
      : m_Files(files), m_Groups(groups), m_Tokens(tokens), m_Explainer(explainer), m_Lines(lines) {
    // For each group and run, the output line of the first token at or after it.
    const std::vector<LineGroup>& all = groups.groups();
    for (const Side side : {kMainSide, kStandardSide}) {
      const std::vector<OutputToken>& sideTokens = *tokens[side];
      int next = sideTokens.empty() ? 0 : sideTokens.back().line;
      m_NextLine[side].assign(all.size() + 1, next);
      for (std::size_t g = all.size(); g-- > 0;) {
        if (!all[g].tokens[side].empty()) next = sideTokens[all[g].tokens[side].front()].line;
        m_NextLine[side][g] = next;
      }
    }
    for (const LineGroup& group : all)
      if (!group.tokens[kStandardSide].empty() && !group.order.empty())
        m_LastStandardInputLine = std::max(m_LastStandardInputLine, group.order.front());
  }

  // A row for `key`; `group` is its group of tokens, or null when neither run wrote any there.
  Difference row(const LineKey& key, const LineGroup* group, const std::optional<Diagnostic>& mainMessage,
                 const std::optional<Diagnostic>& standardMessage, bool mainStopped) {
    Difference difference;
    difference.mainMessage = mainMessage;
    difference.standardMessage = standardMessage;
    const std::vector<IncludeStep> chain = m_Groups.chainOf(key.file);
    if (key.file >= 0) {
      SourcePlace place;
      place.file = m_Files.shownName(key.file);
      place.line = key.line;
      place.column = 1;
      place.inMainInput = key.file == 0;
      place.includedFrom = chain;
      if (place.inMainInput) {
        place.begin = place.end = static_cast<int>(m_Lines.startOf(key.line));
        place.lineText = m_Lines.mainLine(key.line);
      } else {
        place.lineText = m_Lines.fileLine(place.file, key.line);
      }
      difference.place = std::move(place);
      difference.inputLine = key.file == 0 ? key.line : chain.empty() ? 0 : chain.front().line;
    }
    // The tokens both runs share at the line's start and end are no difference.
    static const std::vector<std::size_t> kNone;
    const std::vector<std::size_t>& a = group != nullptr ? group->tokens[kMainSide] : kNone;
    const std::vector<std::size_t>& b = group != nullptr ? group->tokens[kStandardSide] : kNone;
    const std::vector<OutputToken>& mainTokens = *m_Tokens[kMainSide];
    const std::vector<OutputToken>& standardTokens = *m_Tokens[kStandardSide];
    std::size_t prefix = 0;
    while (prefix < a.size() && prefix < b.size() &&
           mainTokens[a[prefix]].text == standardTokens[b[prefix]].text)
      ++prefix;
    std::size_t suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix &&
           mainTokens[a[a.size() - 1 - suffix]].text == standardTokens[b[b.size() - 1 - suffix]].text)
      ++suffix;
    difference.mainText = joined(mainTokens, a, prefix, a.size() - suffix, " ");
    difference.standardText = joined(standardTokens, b, prefix, b.size() - suffix, " ");
    const std::size_t position = positionOf(key);
    difference.mainLine = lineOf(kMainSide, a, prefix, position);
    difference.standardLine = lineOf(kStandardSide, b, prefix, position);

    RowFacts facts;
    if (key.file >= 0) {
      facts.file = {m_Files.nameIn(kMainSide, key.file), m_Files.nameIn(kStandardSide, key.file)};
      facts.line = key.line;
    }
    for (const auto& [from, to] : parts(a, b, prefix, suffix))
      facts.parts.push_back(RowPart{joined(mainTokens, a, from.first, to.first, " "),
                                    joined(standardTokens, b, from.second, to.second, " "),
                                    joined(mainTokens, a, from.first, to.first, "", SIZE_MAX),
                                    joined(standardTokens, b, from.second, to.second, "", SIZE_MAX)});
    facts.standardGoesOn = m_LastStandardInputLine > difference.inputLine;
    if (mainStopped) m_Explainer.explainStop(difference, facts);
    else m_Explainer.explain(difference, facts);
    return difference;
  }

 private:
  using Cut = std::pair<std::size_t, std::size_t>;  // a position in each run's tokens of a line

  // The stretches of differing tokens between the shared start and end of a
  // line, found by the longest common subsequence of the two runs' tokens;
  // a line too long for it is one stretch.
  std::vector<std::pair<Cut, Cut>> parts(const std::vector<std::size_t>& a, const std::vector<std::size_t>& b,
                                         std::size_t prefix, std::size_t suffix) const {
    const std::size_t n = a.size() - suffix - prefix, m = b.size() - suffix - prefix;
    const Cut end{a.size() - suffix, b.size() - suffix};
    // Enough for any line a person reads; the table grows with the square.
    constexpr std::size_t kMaxPartedTokens = 128;
    if (n == 0 || m == 0 || n > kMaxPartedTokens || m > kMaxPartedTokens) return {{Cut{prefix, prefix}, end}};
    auto same = [&](std::size_t i, std::size_t j) {
      return (*m_Tokens[kMainSide])[a[prefix + i]].text == (*m_Tokens[kStandardSide])[b[prefix + j]].text;
    };
    // common[i][j]: the longest common subsequence of the tokens from i and j on.
    std::vector<std::vector<int>> common(n + 1, std::vector<int>(m + 1, 0));
    for (std::size_t i = n; i-- > 0;)
      for (std::size_t j = m; j-- > 0;)
        common[i][j] = same(i, j) ? common[i + 1][j + 1] + 1 : std::max(common[i + 1][j], common[i][j + 1]);
    std::vector<std::pair<Cut, Cut>> found;
    std::size_t i = 0, j = 0;
    std::optional<Cut> open;
    while (i < n || j < m) {
      if (i < n && j < m && same(i, j) && common[i][j] == common[i + 1][j + 1] + 1) {
        if (open) found.push_back({*open, Cut{prefix + i, prefix + j}});
        open.reset();
        ++i, ++j;
        continue;
      }
      if (!open) open = Cut{prefix + i, prefix + j};
      if (j >= m || (i < n && common[i + 1][j] >= common[i][j + 1])) ++i;
      else ++j;
    }
    if (open) found.push_back({*open, end});
    return found;
  }

  // The index of the first group at or after `key` in input order.
  std::size_t positionOf(const LineKey& key) const {
    const std::vector<LineGroup>& all = m_Groups.groups();
    const std::vector<int> order = m_Groups.orderOf(key);
    return static_cast<std::size_t>(
        std::lower_bound(all.begin(), all.end(), order,
                         [](const LineGroup& group, const std::vector<int>& o) { return group.order < o; }) -
        all.begin());
  }

  // The output line a difference lies on in one run: its first differing
  // token's, else the line of the token that follows.
  int lineOf(Side side, const std::vector<std::size_t>& indices, std::size_t prefix, std::size_t position) const {
    const std::vector<OutputToken>& sideTokens = *m_Tokens[side];
    if (prefix < indices.size()) return sideTokens[indices[prefix]].line;
    if (!indices.empty()) return sideTokens[indices.back()].line;
    return m_NextLine[side][position];
  }

  FileIdentity& m_Files;
  LineGroups& m_Groups;
  std::array<const std::vector<OutputToken>*, 2> m_Tokens;
  const Explainer& m_Explainer;
  SourceLines& m_Lines;
  std::array<std::vector<int>, 2> m_NextLine;
  int m_LastStandardInputLine = 0;
};

bool sameTokens(const LineGroup& group, const std::vector<OutputToken>& main,
                const std::vector<OutputToken>& standard) {
  const std::vector<std::size_t>& a = group.tokens[kMainSide];
  const std::vector<std::size_t>& b = group.tokens[kStandardSide];
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (main[a[i]].text != standard[b[i]].text) return false;
  return true;
}

}  // namespace

Comparison compareRuns(std::string_view input, const RunOptions& options,
                       RunObserver* mainObserver, RunObserver* standardObserver) {
  Comparison comparison;
  EventLog mainLog(false), standardLog(true);
  ObserverPair mainEvents(mainLog, mainObserver);
  ObserverPair standardEvents(standardLog, standardObserver);
  RunOptions mainOptions = options;
  mainOptions.observer = &mainEvents;
  RunOptions standardOptions = options;
  standardOptions.observer = &standardEvents;
  comparison.main = runPreprocessor(input, mainOptions);
  comparison.standard = runStandardC(input, standardOptions);
  if (!comparison.standard.ok()) {
    comparison.trouble = "the standard C run ended: " + comparison.standard.error->text;
    return comparison;
  }

  const std::vector<OutputToken> mainTokens = tokensOf(comparison.main.output);
  const std::vector<OutputToken> standardTokens = tokensOf(comparison.standard.output);
  // The usual case of agreement costs no grouping by line.
  if (comparison.main.ok() && !comparison.main.hasErrors() && !comparison.standard.hasErrors() &&
      std::equal(mainTokens.begin(), mainTokens.end(), standardTokens.begin(), standardTokens.end(),
                 [](const OutputToken& a, const OutputToken& b) { return a.text == b.text; }))
    return comparison;
  FileIdentity files(options.inputName, mainInputPath(options));
  SourceLines sources(input);
  const LineGroups::LineText lineText = [&](int file, int line) {
    return file == 0 ? sources.mainLine(line) : sources.fileLine(files.shownName(file), line);
  };
  LineGroups groups(files, {&comparison.main, &comparison.standard}, {&mainTokens, &standardTokens},
                    {&mainLog, &standardLog}, lineText);
  const std::map<LineKey, Diagnostic> mainMessages = messagesByLine(groups, kMainSide, comparison.main);
  const std::map<LineKey, Diagnostic> standardMessages =
      messagesByLine(groups, kStandardSide, comparison.standard);
  const Explainer explainer(mainLog, standardLog, comparison.main, comparison.standard,
                            options.includeDirectories);
  RowBuilder builder(sources, files, groups, {&mainTokens, &standardTokens}, explainer);
  auto messageAt = [](const std::map<LineKey, Diagnostic>& messages, const LineKey& key) {
    const auto found = messages.find(key);
    return found == messages.end() ? std::optional<Diagnostic>() : std::optional(found->second);
  };

  // A main run that ended with an error wrote nothing: the difference is its
  // stop.
  if (!comparison.main.ok()) {
    const RunError& error = *comparison.main.error;
    LineKey key;
    if (error.place && error.place->known()) key = groups.keyOf(kMainSide, error.place->file, error.place->line);
    comparison.differences.push_back(
        builder.row(key, nullptr, error.diagnostic(), messageAt(standardMessages, key), true));
    return comparison;
  }

  // The input lines that differ: their tokens, or an error only one run reports there.
  struct Pending {
    LineKey key;
    const LineGroup* group;
    std::vector<int> order;
  };
  std::vector<Pending> pending;
  std::map<LineKey, const LineGroup*> byKey;
  std::set<LineKey> differing;
  for (const LineGroup& group : groups.groups()) {
    byKey[group.key] = &group;
    if (sameTokens(group, mainTokens, standardTokens)) continue;
    pending.push_back(Pending{group.key, &group, group.order});
    differing.insert(group.key);
  }
  auto errorAt = [](const std::map<LineKey, Diagnostic>& messages, const LineKey& key) {
    const auto found = messages.find(key);
    return found != messages.end() && found->second.severity == Severity::Error;
  };
  for (const auto* messages : {&mainMessages, &standardMessages}) {
    for (const auto& [key, message] : *messages) {
      if (message.severity != Severity::Error || errorAt(mainMessages, key) == errorAt(standardMessages, key))
        continue;
      // A line where only one run reports an error differs even where the tokens agree.
      if (!differing.insert(key).second) continue;
      const auto group = byKey.find(key);
      pending.push_back(Pending{key, group == byKey.end() ? nullptr : group->second, groups.orderOf(key)});
    }
  }
  std::stable_sort(pending.begin(), pending.end(),
                   [](const Pending& a, const Pending& b) { return a.order < b.order; });
  for (const Pending& p : pending) {
    if (comparison.differences.size() + 1 == kMaxDifferences && pending.size() > kMaxDifferences) {
      Difference rest;
      rest.rule = "other";
      rest.reason = std::to_string(pending.size() - comparison.differences.size()) +
                    " more differences are not listed";
      comparison.differences.push_back(std::move(rest));
      break;
    }
    comparison.differences.push_back(builder.row(p.key, p.group, messageAt(mainMessages, p.key),
                                                 messageAt(standardMessages, p.key), false));
  }
  return comparison;
}

}  // namespace orvo::compare
