// The expansion explorer's view of a run: an observer that receives every
// step of a preprocessing run as it happens (definitions, macro calls and
// their rescans, conditional decisions, includes, messages), each with the
// place in the input it belongs to.
//
// Give an observer through RunOptions::observer. Without one, each place in
// the engine that could report a step costs one null-pointer check and
// nothing else.
//
// Order of events:
// - Events arrive in the order the run does the work, top to bottom through
//   the input, an included file's events between its IncludeEvent
//   (entered) and IncludeLeftEvent.
// - A function-like call reports, in this order: CallCollectedEvent (opens
//   expansion N), ExpansionBuiltEvent, the RescanPassEvents of its parts and
//   of the whole result, CallFinishedEvent (closes N). An object-like
//   replacement reports ReplacementEvent (opens N), its RescanPassEvents,
//   CallFinishedEvent (closes N). A predefined replacement reports one
//   ReplacementEvent that opens and closes nothing.
// - Calls expanded inside a rescan pass are nested expansions: their events
//   come before that pass's RescanPassEvent, which is reported when the pass
//   ends. An object-like or predefined name replaced by a pass is listed in
//   that pass's `expanded` and opens no expansion of its own. Passes that
//   change nothing and meet no busy macro are not reported.
// - A conditional directive reports ConditionalEvent once its branch is
//   decided: at once for a branch that is taken, after the branch's lines
//   were skipped for one that is not.
// - Messages are reported at the latest when the step they arose in ends.
//
// Observers are called on the thread that runs the preprocessor and must
// not throw.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "orvo/Diagnostic.h"
#include "orvo/SourcePlace.h"

namespace orvo {

// Events carry a SourcePlace (run/SourcePlace.h) with file, line, column
// and byte range; the tracer leaves its line text and include chain empty.
// Steps that happen inside a macro expansion, on text that exists in no
// file, carry the place of the outermost call or name that started it.

enum class MacroKind { Predefined, ObjectLike, FunctionLike };

// "predefined", "object-like", "function-like".
const char* MacroKindName(MacroKind kind);

// Where an event stands among the expansions in progress.
struct ExpansionStep {
  SourcePlace place;
  int expansion = 0;  // the expansion this step belongs to (or opens); 0 outside any
  int parent = 0;     // the enclosing expansion; 0 at the outermost level
  int depth = 0;      // expansions in progress, this one included
};

// #define: a macro was stored, replacing any earlier one of that name and kind.
struct MacroDefinedEvent {
  SourcePlace place;  // the macro's name in the define line
  std::string name;
  MacroKind kind = MacroKind::ObjectLike;
  std::vector<std::string> parameters;  // function-like only, in order
  std::string replacement;  // as stored: object-like text trimmed, calls in it
                            // already expanded; function-like list with "#"
                            // and "##" as written, no blanks around "##"
  bool redefined = false;   // an earlier definition of this name and kind was replaced
};

// #undef: removes a predefined and an object-like macro of the name; a
// function-like macro of that name stays defined.
struct MacroUndefinedEvent {
  SourcePlace place;
  std::string name;
  bool removedPredefined = false;
  bool removedObjectLike = false;
  bool functionLikeStays = false;
};

// A function-like macro's call whose arguments were collected.
struct CallCollectedEvent : ExpansionStep {
  std::string name;
  std::string callText;                 // from the name to the closing ")", as written
  std::vector<std::string> arguments;   // raw, as collected (first token without its blanks)
  std::string argumentCountMessage;     // the comment written after the expansion, or empty
};

// The replacement list with the arguments put in, "#" and "##" applied,
// before anything is rescanned.
struct ExpansionBuiltEvent : ExpansionStep {
  std::string name;
  std::vector<std::string> parts;  // each part is rescanned on its own
  std::string text;                // the parts joined
};

// One pass over a text: a part of a call's expansion, an object-like
// macro's value, or (`whole`) the once-over of a call's whole result.
struct RescanPassEvent : ExpansionStep {
  int pass = 0;  // 1, 2, ... within its rescan; 0 for the whole-result pass
  bool whole = false;
  std::string before;
  std::string after;
  std::vector<std::string> expanded;  // macros this pass replaced, in order
  std::vector<std::string> busy;      // macros it met while they were being
                                      // expanded, and so left as they stood
};

// An identifier replaced outside a call: an object-like macro (whose value
// is then rescanned) or a predefined one (inserted as it stands).
struct ReplacementEvent : ExpansionStep {
  std::string name;
  MacroKind kind = MacroKind::ObjectLike;
  std::string value;  // as stored
};

// The end of an expansion opened by CallCollectedEvent or ReplacementEvent.
struct CallFinishedEvent : ExpansionStep {
  std::string name;
  std::string result;  // the text that goes into the line
};

// #if, #ifdef, #ifndef, #elif or #else, and which way it went.
struct ConditionalEvent {
  SourcePlace place;          // the directive
  std::string directive;      // "if", "ifdef", "ifndef", "elif", "else"
  std::string expression;     // the condition as written (the name for #ifdef)
  int value = 0;              // the condition's value (#else: 1)
  // Each name in an #if or #elif expression with the value it has there:
  // a predefined macro its number, any other macro 1, an unknown name 0.
  std::vector<std::pair<std::string, int>> names;
  bool earlierBranchTaken = false;  // #elif/#else after a branch that was taken
  bool taken = false;
  int skippedFirstLine = 0;   // lines of the branch that were skipped, when
  int skippedLastLine = 0;    // not taken and not empty; 0 otherwise
};

// #include: the name resolved (or not) and, when loaded, its parse begins.
struct IncludeEvent {
  SourcePlace place;  // the directive
  std::string name;   // as written between the quotes or angle brackets
  bool angled = false;  // written <name>, not "name"
  std::string path;   // the file found; empty when not found
  bool found = false;
  bool loaded = false;  // found, read, and now parsed (IncludeLeftEvent follows)
  int depth = 0;        // 1 for a file included by the main input
};

struct IncludeLeftEvent {
  std::string name;
  std::string path;
  int depth = 0;
};

// A message the run recorded, or the error that ended it.
struct MessageEvent {
  SourcePlace place;
  Severity severity = Severity::Note;
  std::string text;
  bool endedRun = false;
};

class RunObserver {
 public:
  virtual ~RunObserver() = default;

  virtual void macroDefined(const MacroDefinedEvent&) {}
  virtual void macroUndefined(const MacroUndefinedEvent&) {}
  virtual void callCollected(const CallCollectedEvent&) {}
  virtual void expansionBuilt(const ExpansionBuiltEvent&) {}
  virtual void rescanPass(const RescanPassEvent&) {}
  virtual void replaced(const ReplacementEvent&) {}
  virtual void callFinished(const CallFinishedEvent&) {}
  virtual void conditional(const ConditionalEvent&) {}
  virtual void includeDirective(const IncludeEvent&) {}
  virtual void includeLeft(const IncludeLeftEvent&) {}
  virtual void message(const MessageEvent&) {}
};

}  // namespace orvo
