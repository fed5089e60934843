// The bridge between the parser and a RunObserver: the parser calls these
// hooks (only when a run has an observer), and the tracer turns parse-state
// pointers into places, keeps the expansions in progress, the line map, the
// skipped lines and a copy of the macro table, and sends the events on.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "run/RunExplanation.h"
#include "run/RunObserver.h"
#include "tree/Map.h"
#include "tree/Node.h"

namespace zemra {
class CVL_ParseState;
class CVL_ParseStatePlugin;
class Cpreprocess_fileParser;
}  // namespace zemra

namespace orvo {

struct RunError;

class RunTracer {
 public:
  RunTracer(RunObserver& observer, std::string inputName, std::string_view input,
            const zemra::CVL_ParseStatePlugin& plugin);
  RunTracer(const RunTracer&) = delete;
  RunTracer& operator=(const RunTracer&) = delete;

  // Starts the macro-table copy from the parser's predefined macros; the
  // tracer reads the parser's tables (busy flags) from then on.
  void attach(const zemra::Cpreprocess_fileParser& parser);

  // ---- Definitions ----------------------------------------------------
  void objectDefined(const zemra::CVL_ParseState& s, const std::string& name,
                     const std::string& value);
  void functionDefined(const zemra::CVL_ParseState& s, const zemra::node& record,
                       const zemra::CVL_Map<std::string, std::string>& parameters);
  void undefined(const zemra::CVL_ParseState& s, const std::string& name);

  // ---- Expansions -----------------------------------------------------
  // The current token is the call's ")"; `callBegin` points at its name.
  void callCollected(const zemra::CVL_ParseState& s, const std::string& name,
                     const char* callBegin, const std::vector<std::string>& arguments,
                     const std::string& countMessage);
  void expansionBuilt(const std::vector<std::string>& parts);
  void callCopiedThrough(std::string_view name);
  // Closes the expansion opened by callCollected or objectBegins.
  void expansionFinished(const std::string& result);
  // The current token holds the name (an identifier or the start of "name(").
  void predefinedReplaced(const zemra::CVL_ParseState& s, std::string_view name,
                          const std::string& value);
  void objectBegins(const zemra::CVL_ParseState& s, std::string_view name,
                    const std::string& value);
  // An identifier a rescan pass reads.
  void nameInPass(std::string_view name);
  void passBegins();
  void passEnds(int pass, const std::string& before, const std::string& after);

  // ---- Conditionals ---------------------------------------------------
  // Called when the production of the directive line was left last.
  void conditional(const zemra::CVL_ParseState& s, int value, bool taken, bool earlierTaken);
  // Called after the lines of a branch not taken were skipped.
  void branchSkipped(const zemra::CVL_ParseState& s);

  // ---- Includes -------------------------------------------------------
  // The current token is the include directive.
  void includeNotLoaded(const zemra::CVL_ParseState& s, const std::string& name,
                        const std::string& path);
  void includeEntered(const zemra::CVL_ParseState& s, const std::string& name,
                      const std::string& path, const zemra::CVL_ParseState& file, int depth);
  // `report`: false when an exception ends the file's parse.
  void includeLeft(bool report);

  // ---- Output ---------------------------------------------------------
  void wrote(const zemra::CVL_ParseState& s, std::string_view text);

  // Reports the messages not yet reported and the error that ended the run,
  // and hands over what the explorer keeps of the run.
  RunExplanation finish(const RunError* endingError);

 private:
  struct FileFrame {
    int file = 0;
    const char* begin = nullptr;
    const char* end = nullptr;
    std::vector<int> lineStarts;  // built on first use
    std::string name;         // the file as places name it
    std::string includeName;  // as the include directive wrote it
    int depth = 0;
  };
  struct OpenExpansion {
    int id = 0;
    std::string name;
    SourcePlace place;
    int file = -1;  // index of place.file, for the line map
  };
  struct OpenPass {
    std::vector<std::string> expanded;
    std::vector<std::string> busy;
  };
  struct PendingBranch {
    ConditionalEvent event;
    int file = 0;
    int directiveLastLine = 0;
  };

  // The frame whose text `s` parses, or null for a rescan's private text.
  FileFrame* fileOf(const zemra::CVL_ParseState& s);
  // 1-based line of `offset` in the frame's text.
  int lineOf(FileFrame& frame, int offset);
  SourcePlace placeIn(FileFrame& frame, const char* begin, const char* end);
  // The place of [begin, end) in the state's text, or of the outermost
  // expansion when the state parses a rescan's text.
  SourcePlace placeOf(const zemra::CVL_ParseState& s, const char* begin, const char* end);
  ExpansionStep stepOpening(const zemra::CVL_ParseState& s, const SourcePlace& place,
                            const std::string& name);
  // Opens the expansion of a name replaced by `value` at the current token
  // and returns its event.
  ReplacementEvent replacementOpening(const zemra::CVL_ParseState& s, std::string_view name,
                                      const std::string& value, MacroKind kind);
  ExpansionStep currentStep() const;
  void reportMessages();
  bool isBusy(std::string_view name) const;
  // What `name` counts as in a condition.
  int valueInCondition(std::string_view name) const;
  void noteExpandedInPass(const std::string& name);
  void recordMacro(MacroEntry entry);
  void extendLineMap(int file, int firstLine, int lastLine, std::string_view text);

  RunObserver& m_Observer;
  const zemra::CVL_ParseStatePlugin& m_Plugin;
  const zemra::Cpreprocess_fileParser* m_pParser = nullptr;
  std::size_t m_ReportedMessages = 0;

  std::vector<FileFrame> m_Files;  // the include chain; [0] the main input
  std::vector<OpenExpansion> m_Expansions;
  std::vector<OpenPass> m_Passes;
  std::vector<PendingBranch> m_PendingBranches;
  int m_NextExpansion = 1;

  RunExplanation m_Explanation;
  bool m_OutputLineOpen = false;  // the last output line has text but no LF yet
  std::map<std::pair<std::string, MacroKind>, MacroEntry> m_Macros;
};

// Reports one rescan pass when its scope ends: `after` then holds the pass's
// result. Costs a null check without a tracer.
class RescanPassTrace {
 public:
  // Inline, so that without a tracer a pass pays for the checks only.
  RescanPassTrace(RunTracer* tracer, int pass, const std::string& before, const std::string& after)
      : m_pTracer(tracer), m_Pass(pass), m_Before(before), m_After(after) {
    if (m_pTracer != nullptr) begin();
  }
  // Reports the pass's result, which may allocate and throw; not while an
  // exception unwinds.
  ~RescanPassTrace() noexcept(false) {
    if (m_pTracer != nullptr) end();
  }
  RescanPassTrace(const RescanPassTrace&) = delete;
  RescanPassTrace& operator=(const RescanPassTrace&) = delete;

 private:
  void begin();
  void end();

  RunTracer* m_pTracer;
  int m_Pass;
  const std::string& m_Before;
  const std::string& m_After;
  int m_Exceptions = 0;
};

// Reports an included file's parse as entered for its lifetime.
class IncludeTrace {
 public:
  IncludeTrace(RunTracer* tracer, const zemra::CVL_ParseState& s, const std::string& name,
               const std::string& path, const zemra::CVL_ParseState& file, int depth);
  // Reports the end of the file, which may allocate and throw; while an
  // exception unwinds it only forgets the file, which cannot.
  ~IncludeTrace() noexcept(false);
  IncludeTrace(const IncludeTrace&) = delete;
  IncludeTrace& operator=(const IncludeTrace&) = delete;

 private:
  RunTracer* m_pTracer;
  int m_Exceptions;
};

}  // namespace orvo
