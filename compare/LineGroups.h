// Both runs' output tokens grouped by the input line they came from, found
// through each run's line map. Lines that either run joins into one output
// line (a macro call over several lines, a spliced line, a block comment
// with text after it) form one group; the lines of a file that only one run
// entered count as the #include line that led there, in the nearest file
// both entered. Groups come in input order: the main input's lines, with
// each included file's lines at its #include.
#pragma once

#include <array>
#include <compare>
#include <cstddef>
#include <functional>
#include <string>
#include <map>
#include <vector>

#include "compare/EventLog.h"
#include "compare/FileIdentity.h"
#include "compare/OutputTokens.h"
#include "orvo/Run.h"

namespace orvo::compare {

struct LineKey {
  int file = -1;  // in FileIdentity's numbering; -1 before any known line
  int line = 0;   // the first line of the group, from 1
  friend auto operator<=>(const LineKey&, const LineKey&) = default;
};

struct LineGroup {
  LineKey key;
  std::array<std::vector<std::size_t>, 2> tokens;  // indices into each run's tokens, by Side
  std::vector<int> order;  // #include lines down to the group's line: sorts in input order
};

class LineGroups {
 public:
  // The text of line `line` of file `file` (FileIdentity's numbering).
  using LineText = std::function<std::string(int file, int line)>;

  // Each run's result (with its explanation), tokens and events; `lineText`
  // finds the directive of an output line no input line is known to have
  // written (a #pragma that standard C passes on).
  LineGroups(FileIdentity& files, const std::array<const RunResult*, 2>& results,
             const std::array<const std::vector<OutputToken>*, 2>& tokens,
             const std::array<const EventLog*, 2>& logs, const LineText& lineText);

  // The groups in input order.
  const std::vector<LineGroup>& groups() const { return m_Groups; }
  // The key of line `line` of file `file` (joined lines, files one run
  // alone entered); `side` names the run that names the file so.
  LineKey keyOf(Side side, const std::string& file, int line);
  // The #include lines that led into file `id`, outermost first, as either
  // run names them; empty for the main input or when unknown.
  std::vector<IncludeStep> chainOf(int id) const;
  // Where `key` sorts among the groups.
  std::vector<int> orderOf(const LineKey& key) const;

 private:
  int joinedStart(int file, int line) const;
  LineKey redirected(LineKey key) const;

  FileIdentity& m_Files;
  std::array<const EventLog*, 2> m_Logs;
  // Per file, the spans of lines some output line joins, sorted, none overlapping.
  std::map<int, std::vector<std::pair<int, int>>> m_Joined;
  std::vector<LineGroup> m_Groups;
};

}  // namespace orvo::compare
