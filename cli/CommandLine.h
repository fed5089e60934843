// Options of the orvo-pp command and their parsing.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace orvo::cli {

// What --trace writes to standard error.
enum class TraceFormat { None, Text, Json };

struct Options {
  std::string inputPath;                  // empty or "-": standard input
  std::optional<std::string> outputPath;  // -o; standard output when absent
  std::vector<std::string> includeDirs;   // -I, in order
  bool crlf = false;                      // --crlf
  bool allMessages = false;               // --all-messages
  std::optional<std::size_t> maxOutputBytes;  // --max-output
  TraceFormat trace = TraceFormat::None;  // --trace, --trace=json
  bool help = false;
  bool version = false;
};

// Parses argv; on a usage error returns nothing and sets `error`.
std::optional<Options> parseCommandLine(const std::vector<std::string>& args, std::string& error);

// The text --help prints.
std::string usageText();

}  // namespace orvo::cli
