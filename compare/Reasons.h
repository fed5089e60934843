// The rule behind each difference and a reason in plain words, found from
// the two runs' events and messages: which conditional decided a line and
// what each name counted as there, which call or predefined name gave the
// text, which include was found where, and which error either run reported.
#pragma once

#include <array>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "compare/EventLog.h"
#include "compare/FileIdentity.h"
#include "orvo/Comparison.h"

namespace orvo::compare {

// One stretch of differing tokens within a line: each run's tokens joined
// by blanks, and without.
struct RowPart {
  std::string mainText;
  std::string standardText;
  std::string mainGlued;
  std::string standardGlued;
};

// One differing input line as both runs name it.
struct RowFacts {
  std::array<std::string, 2> file;  // the file as each run names it (by Side); empty: never named
  int line = 0;
  // The stretches of differing tokens, in order: a line with two causes
  // (a call whose tokens run together, then __LINE__) gets both reasons.
  std::vector<RowPart> parts;
  // Of the part being explained.
  std::string mainGlued;
  std::string standardGlued;
  // Whether standard C's output goes on with lines of the main input after this one.
  bool standardGoesOn = true;
};

class Explainer {
 public:
  Explainer(const EventLog& main, const EventLog& standard, const RunResult& mainResult,
            const RunResult& standardResult, const std::vector<std::string>& includeDirectories);

  // Fills rule and reason of a difference whose texts and messages are set.
  void explain(Difference& difference, const RowFacts& facts) const;
  // Fills rule and reason of the difference at the error that ended the
  // main run (which wrote no output).
  void explainStop(Difference& difference, const RowFacts& facts) const;

 private:
  // The rule and reason of one part; false when no rule explains it.
  bool explainPart(Difference& difference, const RowFacts& facts) const;
  bool includeReason(Difference& difference, const RowFacts& facts) const;
  bool callInIfReason(Difference& difference, const RowFacts& facts) const;
  bool variadicReason(Difference& difference, const RowFacts& facts) const;
  bool predefinedReason(Difference& difference, const RowFacts& facts) const;
  bool conditionalReason(Difference& difference, const RowFacts& facts) const;
  bool spacingReason(Difference& difference, const RowFacts& facts) const;
  void errorReason(Difference& difference) const;
  bool inSkippedBranch(const RowFacts& facts) const;

  bool foundInSubdirectory(const IncludeEvent& include) const;

  const EventLog& m_Main;
  const EventLog& m_Standard;
  std::vector<std::string> m_IncludeDirectories;  // canonical
  // The branches either run left out: file (as that run names it), first and last line.
  std::vector<std::tuple<std::string, int, int>> m_Skipped;
  // Each run's events by file and line, so that a reason costs no walk
  // over all of them.
  template <typename Event>
  using ByLine = std::map<std::pair<std::string, int>, std::vector<const Event*>>;
  // The first error each run reported on a line, by file and line.
  std::map<std::pair<std::string, int>, const Diagnostic*> m_MainErrors;
  std::map<std::pair<std::string, int>, const Diagnostic*> m_StandardErrors;
  ByLine<LoggedConditional> m_MainAt;
  ByLine<LoggedConditional> m_StandardAt;
  ByLine<CallCollectedEvent> m_MainCalls;
  ByLine<ReplacementEvent> m_MainPredefined;
  ByLine<ReplacementEvent> m_StandardPredefined;
  ByLine<IncludeEvent> m_MainIncludes;
  ByLine<IncludeEvent> m_StandardIncludes;
};

}  // namespace orvo::compare
