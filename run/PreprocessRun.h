// The preprocessing run: the one entry point into the engine that the
// window and the command-line program both call.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

  // Parse errors carry the position of the last consumed token.
  bool hasPosition() const {
    return errorClass == ErrorClass::Expected || errorClass == ErrorClass::Unexpected ||
           errorClass == ErrorClass::Parse;
  }
};

// Default bound on the size of a run's output; a run that would write more
// ends with a message instead of exhausting memory.
constexpr std::size_t kDefaultMaxOutputBytes = std::size_t{256} << 20;

struct RunOptions {
  std::string sourceDir;     // directory of the opened file; empty for none
  std::string includePaths;  // one include directory per line
  std::size_t maxOutputBytes = kDefaultMaxOutputBytes;

  // ---- Expansion explorer ----------------------------------------------
  // Receives every step of the run (run/RunObserver.h); not owned. With an
  // observer the result also carries `explanation`; a plain RunObserver
  // gives that alone. Null: the run reports nothing and costs what it would
  // without the explorer.
  RunObserver* observer = nullptr;
  // The main input's name in places and in the explanation's file list.
  std::string inputName = "<input>";
};

struct RunResult {
  std::string output;                     // what the preprocessor wrote; empty after an error
  std::optional<RunError> error;          // set when an exception ended the run
  std::vector<zemra::CVL_Message> messages;  // warnings and errors recorded on the way

  // ---- Expansion explorer ----------------------------------------------
  // Line map, skipped lines and the final macro table; set when the run had
  // an observer (also after an error, as far as the run got).
  std::optional<RunExplanation> explanation;

  bool ok() const { return !error.has_value(); }
};

// Preprocesses `input` with a fresh parser and plugin. Never throws for
// anything the input can cause: the error that ends a run is returned in
// `error`, and the output written before it is discarded.
RunResult runPreprocessor(std::string_view input, const RunOptions& options);

// Writes every LF as CR LF, keeping CR LF pairs and lone CRs; a text without
// any LF is returned unchanged. Every byte is kept, NUL bytes included.
std::string convertLineEnds(std::string_view text);

}  // namespace orvo
