// What a run leaves for the explorer besides its events: where each output
// line came from, which lines conditionals skipped, and the macro table at
// the end of the run. Filled when the run is given an observer.
#pragma once

#include <string>
#include <vector>

#include "orvo/Observer.h"

namespace orvo {

// Input lines one output line came from: lines firstLine..lastLine (from 1)
// of files[file]. `file` is -1 for a line that no input line wrote.
struct LineOrigin {
  int file = -1;
  int firstLine = 0;
  int lastLine = 0;

  bool known() const { return file >= 0; }
};

// Lines of a branch that a conditional directive did not take.
struct SkippedLines {
  int file = 0;
  int firstLine = 0;
  int lastLine = 0;
};

// One entry of the macro table. A name can be defined in more than one kind
// at once; each kind is its own entry.
struct MacroEntry {
  std::string name;
  MacroKind kind = MacroKind::ObjectLike;
  std::vector<std::string> parameters;  // function-like only
  std::string replacement;              // as stored (see MacroDefinedEvent)
  SourcePlace definedAt;                // not known for predefined macros

  bool predefined() const { return kind == MacroKind::Predefined; }
};

struct RunExplanation {
  // files[0] is the main input (RunOptions::inputName), then every included
  // file in the order it was first entered.
  std::vector<std::string> files;
  // One entry per output line (lines counted by LF; a last line without LF
  // counts too).
  std::vector<LineOrigin> lineMap;
  std::vector<SkippedLines> skipped;
  // Sorted by name, then kind; predefined entries removed by #undef are gone.
  std::vector<MacroEntry> macros;

  // The origin of output line `outputLine` (from 1); unknown when out of range.
  LineOrigin originOf(int outputLine) const;
  // The output lines (from 1) that input line `line` of files[file] wrote to.
  std::vector<int> outputLinesOf(int file, int line) const;
  // Whether input line `line` of files[file] lies in a skipped branch.
  bool isSkipped(int file, int line) const;
};

}  // namespace orvo
