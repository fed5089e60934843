// The bridge between the parser and a RunObserver: the parser calls the
// hooks of its ParseTrace (grammar/ParseTrace.h; only when a run has an
// observer), and the tracer turns parse-state pointers into places, keeps the expansions in progress, the line map, the
// skipped lines and a copy of the macro table, and sends the events on.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "orvo/Explanation.h"
#include "orvo/Observer.h"
#include "grammar/ParseTrace.h"
#include "run/SourceTracker.h"
#include "tree/Map.h"
#include "tree/Node.h"

namespace orvo {
class CVL_ParseState;
class Cpreprocess_fileParser;
}  // namespace orvo

namespace orvo {

class RecordingPlugin;
struct RunError;

class RunTracer : public orvo::ParseTrace {
 public:
  // Places come from the run's sources, which `sources` follows; the main
  // input is `input`, registered there as `mainSource`.
  RunTracer(RunObserver& observer, std::string inputName, std::string_view input,
            const RecordingPlugin& plugin, const SourceTracker& sources, SourceId mainSource);
  RunTracer(const RunTracer&) = delete;
  RunTracer& operator=(const RunTracer&) = delete;

  // Starts the macro-table copy from the parser's predefined macros; the
  // tracer reads the parser's tables (busy flags) from then on.
  void attach(const orvo::Cpreprocess_fileParser& parser);

  // ---- Definitions ----------------------------------------------------
  void objectDefined(const orvo::CVL_ParseState& s, const std::string& name,
                     const std::string& value) override;
  void functionDefined(const orvo::CVL_ParseState& s, const orvo::node& record,
                       const orvo::CVL_Map<std::string, std::string>& parameters) override;
  void undefined(const orvo::CVL_ParseState& s, const std::string& name) override;

  // ---- Expansions -----------------------------------------------------
  // The current token is the call's ")"; `callBegin` points at its name.
  void callCollected(const orvo::CVL_ParseState& s, const std::string& name,
                     const char* callBegin, const std::vector<std::string>& arguments,
                     const std::string& countMessage) override;
  void expansionBuilt(const std::vector<std::string>& parts) override;
  void callCopiedThrough(std::string_view name) override;
  // Closes the expansion opened by callCollected or objectBegins.
  void expansionFinished(const std::string& result) override;
  // The current token holds the name (an identifier or the start of "name(").
  void predefinedReplaced(const orvo::CVL_ParseState& s, std::string_view name,
                          const std::string& value) override;
  void objectBegins(const orvo::CVL_ParseState& s, std::string_view name,
                    const std::string& value) override;
  // An identifier a rescan pass reads.
  void nameInPass(std::string_view name) override;
  void passBegins() override;
  void passEnds(int pass, const std::string& before, const std::string& after) override;

  // ---- Conditionals ---------------------------------------------------
  // Called when the production of the directive line was left last.
  void conditional(const orvo::CVL_ParseState& s, int value, bool taken, bool earlierTaken) override;
  // Called after the lines of a branch not taken were skipped.
  void branchSkipped(const orvo::CVL_ParseState& s) override;

  // ---- Includes -------------------------------------------------------
  // The current token is the include directive.
  void includeNotLoaded(const orvo::CVL_ParseState& s, const std::string& name,
                        const std::string& path) override;
  void includeEntered(const orvo::CVL_ParseState& s, const std::string& name,
                      const std::string& path, const orvo::CVL_ParseState& file, int depth) override;
  // `report`: false when an exception ends the file's parse.
  void includeLeft(bool report) override;

  // ---- Output ---------------------------------------------------------
  void wrote(const orvo::CVL_ParseState& s, std::string_view text) override;

  // Reports the messages not yet reported and the error that ended the run,
  // and hands over what the explorer keeps of the run.
  RunExplanation finish(const RunError* endingError);

 private:
  struct FileFrame {
    int file = 0;                  // index into the explanation's files
    SourceId source = kNoSource;   // the reading in the run's sources
    const char* begin = nullptr;   // the text its parse reads
    const char* end = nullptr;
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
  FileFrame* fileOf(const orvo::CVL_ParseState& s);
  // 1-based line of `offset` in the frame's text.
  int lineOf(FileFrame& frame, int offset);
  SourcePlace placeIn(FileFrame& frame, const char* begin, const char* end);
  // The place of [begin, end) in the state's text, or of the outermost
  // expansion when the state parses a rescan's text.
  SourcePlace placeOf(const orvo::CVL_ParseState& s, const char* begin, const char* end);
  ExpansionStep stepOpening(const orvo::CVL_ParseState& s, const SourcePlace& place,
                            const std::string& name);
  // Opens the expansion of a name replaced by `value` at the current token
  // and returns its event.
  ReplacementEvent replacementOpening(const orvo::CVL_ParseState& s, std::string_view name,
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
  const RecordingPlugin& m_Plugin;
  const SourceTracker& m_Sources;
  const orvo::Cpreprocess_fileParser* m_pParser = nullptr;
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

}  // namespace orvo
