// The preprocessing run: the one entry point into the engine that the
// window and the command-line program both call.
#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "orvo/Diagnostic.h"
#include "orvo/SourcePlace.h"
#include "orvo/Explanation.h"
#include "orvo/IncludedFile.h"
#include "orvo/Observer.h"

namespace orvo {

// Which class of exception ended a run, most specific first.
enum class ErrorClass {
  Expected,    // a token was expected
  Unexpected,  // a token fits no alternative
  Parse,       // any other parse error ("incomplete", "no progress", ...)
  Message,     // another member of the message family (error directive, ...)
  Standard,    // a standard exception of a dependency (file system, conversion, ...)
};

struct RunError {
  ErrorClass errorClass = ErrorClass::Message;
  std::string text;
  int begin = 0;  // byte offsets into the input; meaningful for parse errors
  int end = 0;

  // ---- Errors about macros given on the command line ----------------------
  // Set when a -D or -U entry caused the error: `text` then names the entry,
  // and begin and end are no offsets into the input.
  bool fromCommandLine = false;

  // Parse errors of the input carry the position of the last consumed token.
  bool hasPosition() const {
    return !fromCommandLine &&
           (errorClass == ErrorClass::Expected || errorClass == ErrorClass::Unexpected ||
            errorClass == ErrorClass::Parse);
  }

  // ---- Diagnostics: where the error arose ----
  // Absent only when nothing in the sources is to blame.
  std::optional<SourcePlace> place{};
  // Related places and the plain explanation of the text.
  std::vector<DiagnosticNote> notes{};
  // The error as a diagnostic, for front ends that show all messages alike.
  Diagnostic diagnostic() const { return Diagnostic{Severity::Error, text, place, false, notes}; }
};

// ---- Macros given on the command line (-D, -U) ----------------------------
// One -D or -U entry. A definition reads NAME, NAME=VALUE or NAME(PARAMS)=BODY
// and acts as the line "#define NAME VALUE" ("1" when no value is given); an
// undefinition is a NAME and acts as "#undef NAME".
struct CommandLineMacro {
  enum class Kind { Define, Undefine };
  Kind kind = Kind::Define;
  std::string text;
};

// Stands where a file name would for messages about command-line macros.
inline constexpr std::string_view kCommandLinePlace = "<command line>";

// How a run computes its result. Both modes give the same output, messages
// and exit status; the test suite runs in both and the fuzzer compares them.
enum class Mode {
  // The shortcuts: hand-written token matchers in place of the regular-
  // expression library, the plain token reader, text copied in runs,
  // conditions read in one go, rescans and parses kept and used again.
  Fast,
  // The grammar's productions, the scanner walk and the regular-expression
  // library do every piece of work: the reference the shortcuts must agree
  // with. Several times slower.
  Reference,
};

// The mode the environment asks for: Reference when ORVO_MODE=reference
// (or ORVO_BOOST_ONLY=1, its older name) is set, else Fast. Read once per
// process; it is every RunOptions' default, so that a whole test suite or
// any orvo-pp run can be switched from outside.
Mode modeFromEnvironment();

// The largest input a run reads, and the largest included file: positions
// in a text are int offsets.
inline constexpr std::size_t kMaxInputBytes = 2147483647;

// Default bound on the size of a run's output; a run that would write more
// ends with a message instead of exhausting memory.
constexpr std::size_t kDefaultMaxOutputBytes = std::size_t{256} << 20;

struct RunOptions {
  std::string sourceDir;     // directory of the opened file; empty for none
  // Searched in order (each with its subdirectories) before sourceDir.
  std::vector<std::string> includeDirectories;
  std::size_t maxOutputBytes = kDefaultMaxOutputBytes;

  // ---- Macros given on the command line ----------------------------------
  // Applied in this order before the input, each parsed on its own, so the
  // input's offsets and line numbers stay as they are and its macros see
  // these definitions.
  std::vector<CommandLineMacro> commandLineMacros;

  // Cancelling a run (the window's live preview drops runs over text that
  // has changed since). The run looks at the flag whenever it writes output,
  // at every line (definitions, includes, conditionals, skipped lines) and
  // every rescan pass and, once it is set, ends with the error
  // kCancelledText within milliseconds. Null: the run
  // cannot be cancelled. The flag must outlive the run.
  const std::atomic<bool>* cancelRequested = nullptr;

  // ---- Expansion budgets ---------------------------------------------------
  // The nested parses and the bytes one outermost macro expansion may take
  // before the run ends with a message; 0 sizes each from maxOutputBytes
  // (macros/ExpansionLimits.h). A harness that runs many small inputs may
  // set smaller ones, so that explosive definitions end sooner.
  int maxExpansionParses = 0;
  std::size_t maxExpandedBytes = 0;

  // ---- Mode ---------------------------------------------------------------
  // Fast, or Reference with every shortcut off (see Mode).
  Mode mode = modeFromEnvironment();

  // ---- Expansion explorer ----------------------------------------------
  // Receives every step of the run (run/RunObserver.h); not owned. With an
  // observer the result also carries `explanation`; a plain RunObserver
  // gives that alone. Null: the run reports nothing and costs what it would
  // without the explorer.
  RunObserver* observer = nullptr;
  // The main input's name in places and in the explanation's file list.
  std::string inputName = "<input>";
};

// Text of the error that ends a cancelled run.
inline constexpr const char* kCancelledText = "run cancelled";
// Text of the error that ends a run the system grants no more memory; its
// place is where the run was when memory ran out.
inline constexpr const char* kOutOfMemoryText = "out of memory while preprocessing this line";

struct RunResult {
  std::string output;             // what the preprocessor wrote; empty after an error
  std::optional<RunError> error;  // the run's outcome: set when an error ended the run

  // ---- Included files -----------------------------------------------------
  // Every file the include directives looked for, also after an error.
  std::vector<IncludedFile> includedFiles;

  // ---- Expansion explorer ----------------------------------------------
  // Line map, skipped lines and the final macro table; set when the run had
  // an observer (also after an error, as far as the run got).
  std::optional<RunExplanation> explanation;

  bool ok() const { return !error.has_value(); }

  // ---- Diagnostics ----
  // Every message the run recorded on the way, each with its severity and
  // place, in the order they arose; the error that ended the run is
  // `error`. Messages about -D and -U entries come first, placed in the file
  // kCommandLinePlace at no line.
  std::vector<Diagnostic> diagnostics;
  // Whether the run ended with an error or recorded one (an included file
  // that could not be parsed to its end, say): the output may lack text.
  bool hasErrors() const;
};

// Preprocesses `input` with a fresh parser and plugin. Never throws for
// anything the input can cause: the error that ends a run is returned in
// `error`, and the output written before it is discarded.
RunResult runPreprocessor(std::string_view input, const RunOptions& options);

// Writes every LF as CR LF, keeping CR LF pairs and lone CRs; a text without
// any LF is returned unchanged. Every byte is kept, NUL bytes included.
std::string convertLineEnds(std::string_view text);

}  // namespace orvo
