#include "compare/LineGroups.h"

#include <algorithm>
#include <climits>
#include <optional>

namespace orvo::compare {

namespace {

// A #pragma directive (or a line with the _Pragma operator).
bool isPragmaLine(const std::string& text) {
  std::size_t at = text.find_first_not_of(" \t");
  if (at == std::string::npos) return false;
  if (text.find("_Pragma") != std::string::npos) return true;
  if (text[at] != '#') return false;
  at = text.find_first_not_of(" \t", at + 1);
  return at != std::string::npos && text.compare(at, 6, "pragma") == 0;
}

// The input line of an output line whose origin is unknown: the first pragma
// line between the known lines before and after it in the same file.
std::optional<int> pragmaLine(const RunExplanation& explanation, int outputLine, const LineOrigin& before,
                              int beforeFile, const LineGroups::LineText& lineText) {
  int last = INT_MAX;
  for (std::size_t next = static_cast<std::size_t>(outputLine); next < explanation.lineMap.size(); ++next) {
    const LineOrigin& origin = explanation.lineMap[next];
    if (!origin.known()) continue;
    if (origin.file == before.file) last = origin.firstLine;
    break;
  }
  // Far enough for any block of directives between two lines of text.
  constexpr int kMaxSearchedLines = 1000;
  for (int line = before.lastLine + 1; line < last && line <= before.lastLine + kMaxSearchedLines; ++line) {
    const std::string text = lineText(beforeFile, line);
    if (isPragmaLine(text)) return line;
    if (text.empty() && line > before.lastLine + 1 && last == INT_MAX) break;
  }
  return std::nullopt;
}

}  // namespace

LineGroups::LineGroups(FileIdentity& files, const std::array<const RunResult*, 2>& results,
                       const std::array<const std::vector<OutputToken>*, 2>& tokens,
                       const std::array<const EventLog*, 2>& logs, const LineText& lineText)
    : m_Files(files), m_Logs(logs) {
  // Each run's file numbers in the common numbering, and the spans of lines
  // its output lines join.
  std::array<std::vector<int>, 2> ids;
  for (const Side side : {kMainSide, kStandardSide}) {
    if (!results[side]->explanation) continue;
    const RunExplanation& explanation = *results[side]->explanation;
    for (const std::string& name : explanation.files) {
      ids[side].push_back(m_Files.idOf(side, name));
      m_Files.markEntered(side, ids[side].back());
    }
    for (const LineOrigin& origin : explanation.lineMap)
      if (origin.known() && origin.lastLine > origin.firstLine &&
          origin.file < static_cast<int>(ids[side].size()))
        m_Joined[ids[side][static_cast<std::size_t>(origin.file)]].emplace_back(origin.firstLine,
                                                                                 origin.lastLine);
  }
  for (auto& [file, spans] : m_Joined) {
    std::sort(spans.begin(), spans.end());
    std::vector<std::pair<int, int>> merged;
    for (const auto& span : spans) {
      if (!merged.empty() && span.first <= merged.back().second)
        merged.back().second = std::max(merged.back().second, span.second);
      else
        merged.push_back(span);
    }
    spans = std::move(merged);
  }

  std::map<LineKey, std::size_t> index;
  for (const Side side : {kMainSide, kStandardSide}) {
    const std::vector<OutputToken>& sideTokens = *tokens[side];
    const RunExplanation* explanation =
        results[side]->explanation ? &*results[side]->explanation : nullptr;
    LineKey current;
    LineOrigin lastKnown;
    int outputLine = -1;
    std::size_t group = 0;
    bool haveGroup = false;
    for (std::size_t i = 0; i < sideTokens.size(); ++i) {
      if (sideTokens[i].line != outputLine || !haveGroup) {
        outputLine = sideTokens[i].line;
        const LineOrigin origin = explanation != nullptr ? explanation->originOf(outputLine) : LineOrigin{};
        if (origin.known() && origin.file < static_cast<int>(ids[side].size())) {
          const int file = ids[side][static_cast<std::size_t>(origin.file)];
          current = redirected(LineKey{file, joinedStart(file, origin.firstLine)});
          lastKnown = origin;
        } else if (explanation != nullptr && lastKnown.known()) {
          // A line no input line is known to have written (a pragma the
          // library passes on) belongs to its directive, else to the line
          // before it.
          const int file = ids[side][static_cast<std::size_t>(lastKnown.file)];
          if (const auto line = pragmaLine(*explanation, outputLine, lastKnown, file, lineText))
            current = redirected(LineKey{file, joinedStart(file, *line)});
        }
        const auto [found, added] = index.try_emplace(current, m_Groups.size());
        if (added) m_Groups.push_back(LineGroup{current, {}, {}});
        group = found->second;
        haveGroup = true;
      }
      m_Groups[group].tokens[side].push_back(i);
    }
  }
  for (LineGroup& group : m_Groups) group.order = orderOf(group.key);
  std::stable_sort(m_Groups.begin(), m_Groups.end(),
                   [](const LineGroup& a, const LineGroup& b) { return a.order < b.order; });
}

int LineGroups::joinedStart(int file, int line) const {
  const auto found = m_Joined.find(file);
  if (found == m_Joined.end()) return line;
  const std::vector<std::pair<int, int>>& spans = found->second;
  auto after = std::upper_bound(spans.begin(), spans.end(), std::pair(line, INT_MAX));
  if (after == spans.begin()) return line;
  --after;
  return after->first <= line && line <= after->second ? after->first : line;
}

LineKey LineGroups::redirected(LineKey key) const {
  if (key.file < 0 || (m_Files.entered(kMainSide, key.file) && m_Files.entered(kStandardSide, key.file)))
    return key;
  const Side side = m_Files.entered(kMainSide, key.file) ? kMainSide : kStandardSide;
  const std::vector<IncludeStep>* chain = m_Logs[side]->chainOf(m_Files.nameIn(side, key.file));
  if (chain == nullptr) return key;
  for (auto step = chain->rbegin(); step != chain->rend(); ++step) {
    const int file = m_Files.idOf(side, step->file);
    if (m_Files.entered(kMainSide, file) && m_Files.entered(kStandardSide, file))
      return LineKey{file, joinedStart(file, step->line)};
  }
  return key;
}

LineKey LineGroups::keyOf(Side side, const std::string& file, int line) {
  const int id = m_Files.idOf(side, file);
  return redirected(LineKey{id, joinedStart(id, line)});
}

std::vector<IncludeStep> LineGroups::chainOf(int id) const {
  if (id <= 0) return {};
  for (const Side side : {kMainSide, kStandardSide}) {
    const std::string& name = m_Files.nameIn(side, id);
    if (name.empty()) continue;
    if (const std::vector<IncludeStep>* chain = m_Logs[side]->chainOf(name)) return *chain;
  }
  return {};
}

std::vector<int> LineGroups::orderOf(const LineKey& key) const {
  if (key.file < 0) return {};
  std::vector<int> order;
  if (key.file > 0) {
    const std::vector<IncludeStep> chain = chainOf(key.file);
    if (chain.empty()) order.push_back(INT_MAX);  // a file entered by no #include known
    for (const IncludeStep& step : chain) order.push_back(step.line);
  }
  order.push_back(key.line);
  return order;
}

}  // namespace orvo::compare
