// Options of the orvo-pp command and their parsing.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "orvo/Run.h"

namespace orvo::cli {

// When diagnostics are coloured: auto colours them only on a terminal.
enum class ColorWhen { Auto, Always, Never };
// Which engine runs: the main one, the standard-C one (--standard), or both
// with their differences listed (--compare).
enum class EngineChoice { Main, Standard, Compare };
// What --trace writes to standard error.
enum class TraceFormat { None, Text, Json };

struct Options {
  std::string inputPath;                  // empty or "-": standard input
  std::optional<std::string> outputPath;  // -o; standard output when absent
  bool force = false;                     // --force: -o may name the input file
  std::vector<std::string> includeDirs;   // -I, in order
  bool crlf = false;                      // --crlf
  bool allMessages = false;               // --all-messages
  bool caret = true;                      // false with --no-caret
  ColorWhen color = ColorWhen::Auto;      // --color[=WHEN]
  std::optional<std::size_t> maxOutputBytes;  // --max-output
  std::vector<CommandLineMacro> macros;   // -D and -U, in order
  bool deps = false;                      // --deps: list the included files instead
  TraceFormat trace = TraceFormat::None;  // --trace, --trace=json
  EngineChoice engine = EngineChoice::Main;  // --standard, --compare
  bool help = false;
  bool version = false;
};

// Parses argv; on a usage error returns nothing and sets `error`.
std::optional<Options> parseCommandLine(const std::vector<std::string>& args, std::string& error);

// The text --help prints.
std::string usageText();

}  // namespace orvo::cli
