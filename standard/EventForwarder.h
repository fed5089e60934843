// The Clang preprocessor's callbacks as this system's run events: macro
// definitions, expansions with their arguments, conditionals with their
// decisions, includes; also what the run's result lists (included files,
// skipped lines) and the expansion budget and cancellation, which are
// checked at each expansion because an expansion to nothing gives the
// output loop no token to check at.
#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include <clang/Lex/PPCallbacks.h>
#include <clang/Lex/Preprocessor.h>

#include "orvo/Run.h"
#include "orvo/StandardRun.h"
#include "standard/BuiltinMacroValue.h"
#include "standard/ClangPlaces.h"
#include "standard/ExpansionResults.h"

namespace orvo::standard {

// Expansions one run reports to its observer. The explorer keeps far fewer
// steps (kDefaultRecordedItems) and a comparison reads the first ones; an
// explosive definition makes millions, whose events alone would cost most
// of a minute. Later expansions still count against the run's budget.
inline constexpr long kMaxReportedExpansions = 1'000'000;

// Files include directives may load in one run, every loading counted, as
// in the main engine: headers that include others more than once without
// guards fan out (41 headers each including the next twice would load
// 2^41 files), while a large translation unit loads a few thousand.
inline constexpr long kMaxInclusions = 100'000;

// Expansions between two looks at the memory the process holds (a read
// of /proc/self/statm, a few microseconds): a definition that doubles its
// tokens at each level takes far more than this many expansions to fill
// the budget.
inline constexpr long kMemoryCheckInterval = 1024;

class EventForwarder : public clang::PPCallbacks {
 public:
  // `observer` may be null; `cancelRequested` too.
  EventForwarder(clang::Preprocessor& preprocessor, const ClangPlaces& places,
                 RunObserver* observer, const std::atomic<bool>* cancelRequested,
                 long expansionBudget);

  // Why the run must end now (budget, cancellation); empty while it may go on.
  const std::string& stopReason() const { return m_StopReason; }
  // Where the run was when it had to end; none for a cancelled run.
  const std::optional<SourcePlace>& stopPlace() const { return m_StopPlace; }
  // The work under way is at `location` (progress for the worker's
  // messages).
  void noteProgress(clang::SourceLocation location, bool inExpansion);
  // Checks the cancellation flag; true when the run must end.
  bool shouldStop();
  // A token goes to the output: it adds to the results of the expansions
  // it came out of.
  void tokenOut(const clang::Token& token);
  // The input ended: the expansions still open are finished.
  void finish() { m_Results.closeAll(); }

  std::vector<IncludedFile>& includedFiles() { return m_IncludedFiles; }
  // Files entered, the main input first, and the skipped branches in them.
  const std::vector<std::string>& files() const { return m_Files; }
  std::vector<SkippedLines>& skipped() { return m_Skipped; }
  // The index of a file name in files(), adding it when new.
  int fileIndex(const std::string& name);

  void FileChanged(clang::SourceLocation location, FileChangeReason reason,
                   clang::SrcMgr::CharacteristicKind, clang::FileID) override;
  void InclusionDirective(clang::SourceLocation hash, const clang::Token&, llvm::StringRef name,
                          bool angled, clang::CharSourceRange, const clang::FileEntry* file,
                          llvm::StringRef, llvm::StringRef, const clang::Module*,
                          clang::SrcMgr::CharacteristicKind) override;
  void MacroDefined(const clang::Token& name, const clang::MacroDirective* directive) override;
  void MacroUndefined(const clang::Token& name, const clang::MacroDefinition& definition,
                      const clang::MacroDirective*) override;
  void MacroExpands(const clang::Token& name, const clang::MacroDefinition& definition,
                    clang::SourceRange range, const clang::MacroArgs* arguments) override;
  void If(clang::SourceLocation location, clang::SourceRange condition,
          ConditionValueKind value) override;
  void Elif(clang::SourceLocation location, clang::SourceRange condition,
            ConditionValueKind value, clang::SourceLocation ifLocation) override;
  void Ifdef(clang::SourceLocation location, const clang::Token& name,
             const clang::MacroDefinition& definition) override;
  void Ifndef(clang::SourceLocation location, const clang::Token& name,
              const clang::MacroDefinition& definition) override;
  void Else(clang::SourceLocation location, clang::SourceLocation ifLocation) override;
  void Endif(clang::SourceLocation location, clang::SourceLocation ifLocation) override;
  void SourceRangeSkipped(clang::SourceRange range, clang::SourceLocation endif) override;

 private:
  // Whether a call written at `range` lies within the outermost call last
  // noted as progress (an argument's call); else it becomes that call.
  bool withinProgressCall(clang::SourceRange range);
  void stop(std::string reason, std::optional<SourcePlace> place = std::nullopt);
  // Ends the #if or #elif being evaluated: its expression ends where the
  // library reads next.
  void endDirective(clang::SourceLocation location);
  // Tokens an expansion in an #if adds at most to the expression.
  static long tokensAdded(const clang::MacroInfo& macro, const clang::MacroArgs* arguments);
  void conditional(clang::SourceLocation location, const std::string& directive,
                   const std::string& expression, bool value, bool earlierTaken);
  std::string spell(const clang::Token& token) const;
  void expansionClosed(const OpenExpansion& expansion);
  // The place of an expansion's events: that of the outermost call, worked
  // out once for all the expansions within it.
  const SourcePlace& expansionPlace(clang::SourceRange range);
  // What an expansion in an #if or #elif gives, whose tokens never reach
  // the output: the replacement with the arguments put in and object-like
  // names replaced in turn.
  std::string expandedInDirective(const clang::MacroInfo& macro, const clang::MacroArgs* arguments);
  using Spelled = std::vector<std::pair<std::string, bool>>;  // text, blank before it
  void replaceNames(const Spelled& tokens, std::vector<std::string>& busy, Spelled& out);
  // Reports the #else and #elif lines the library passed over in `range`.
  void reportSkippedBranches(clang::SourceRange range);
  // Whether the #else or #elif on the line of `location` was reported; marks it so.
  bool branchReported(clang::SourceLocation location);

  clang::Preprocessor& m_Preprocessor;
  const ClangPlaces& m_Places;
  RunObserver* m_Observer;
  const std::atomic<bool>* m_CancelRequested;
  long m_ExpansionBudget;
  long m_ExpansionsLeft;
  std::string m_StopReason;
  std::optional<SourcePlace> m_StopPlace;
  long m_Inclusions = 0;
  long m_DirectiveTokens = 0;
  // The outermost call last noted as progress: its file and byte range.
  clang::FileID m_ProgressFile;
  unsigned m_ProgressBegin = 0, m_ProgressEnd = 0;  // added by expansions to the #if being evaluated
  int m_NextExpansion = 1;
  ExpansionResults m_Results;
  BuiltinMacroValues m_BuiltinValues{m_Preprocessor};
  clang::SourceLocation m_PlaceBegin, m_PlaceEnd;  // the file range m_Place is of
  SourcePlace m_Place;
  // The #else and #elif lines reported, as file and line.
  std::vector<std::pair<clang::FileID, unsigned>> m_BranchLines;
  // The conditional the last #endif closed, and whether a branch of it was taken.
  struct ClosedConditional {
    clang::FileID file;
    unsigned line = 0;
    bool branchTaken = false;
  };
  std::optional<ClosedConditional> m_Closed;

  // Whether a branch of each open #if was taken, innermost last.
  std::vector<bool> m_BranchTaken;
  // The files entered, innermost last, for the include events' depth.
  std::vector<std::string> m_Entered;
  std::vector<IncludedFile> m_IncludedFiles;
  std::vector<std::string> m_Files;
  std::vector<SkippedLines> m_Skipped;
};

}  // namespace orvo::standard
