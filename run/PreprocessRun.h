// The preprocessing run: the one entry point into the engine that the
// window and the command-line program both call.
#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "run/Diagnostic.h"
#include "run/SourcePlace.h"
#include "run/RunExplanation.h"
#include "run/RunObserver.h"
#include "runtime/Message.h"

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

// ---- Files the run included -------------------------------------------------
// A file an include directive looked for; each is listed once, in the order
// it was first looked for.
struct IncludedFile {
  enum class Status {
    Loaded,      // found and parsed
    Unreadable,  // found, but could not be read
    NotFound,    // in no include directory
  };
  std::string name;  // as written in the directive
  std::string path;  // where it was found; empty when not found
  Status status = Status::Loaded;
};

// Default bound on the size of a run's output; a run that would write more
// ends with a message instead of exhausting memory.
constexpr std::size_t kDefaultMaxOutputBytes = std::size_t{256} << 20;

struct RunOptions {
  std::string sourceDir;     // directory of the opened file; empty for none
  std::string includePaths;  // one include directory per line
  std::size_t maxOutputBytes = kDefaultMaxOutputBytes;

  // ---- Macros given on the command line ----------------------------------
  // Applied in this order before the input, each parsed on its own, so the
  // input's offsets and line numbers stay as they are and its macros see
  // these definitions.
  std::vector<CommandLineMacro> commandLineMacros;

  // Cancelling a run (the window's live preview drops runs over text that
  // has changed since). The run looks at the flag whenever it writes output
  // and, once it is set, ends with the error kCancelledText. Null: the run
  // cannot be cancelled. The flag must outlive the run.
  const std::atomic<bool>* cancelRequested = nullptr;

  // ---- Expansion budgets ---------------------------------------------------
  // The nested parses and the bytes one outermost macro expansion may take
  // before the run ends with a message; 0 sizes each from maxOutputBytes
  // (macros/ExpansionLimits.h). A harness that runs many small inputs may
  // set smaller ones, so that explosive definitions end sooner.
  int maxExpansionParses = 0;
  std::size_t maxExpandedBytes = 0;

  // ---- Reading ------------------------------------------------------------
  // Runs of plain tokens in text lines (names no macro has, numbers,
  // literals, operators) are copied without the scanners. Off, the scanners
  // read every token: the same result, more slowly; tests compare the two.
  bool readPlainTokens = true;

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

struct RunResult {
  std::string output;                     // what the preprocessor wrote; empty after an error
  std::optional<RunError> error;          // set when an exception ended the run
  std::vector<zemra::CVL_Message> messages;  // warnings and errors recorded on the way

  // ---- Command-line macros and included files ---------------------------
  // Warnings about -D and -U entries; their offsets are not in the input.
  std::vector<zemra::CVL_Message> commandLineMessages;
  // Every file the include directives looked for, also after an error.
  std::vector<IncludedFile> includedFiles;

  // ---- Expansion explorer ----------------------------------------------
  // Line map, skipped lines and the final macro table; set when the run had
  // an observer (also after an error, as far as the run got).
  std::optional<RunExplanation> explanation;

  bool ok() const { return !error.has_value(); }

  // ---- Diagnostics ----
  // The recorded messages again, each with its severity and place, in the
  // order they arose.
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
