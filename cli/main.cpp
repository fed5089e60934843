// orvo-pp: the command-line preprocessor over the orvo engine.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "run/PreprocessRun.h"
#include "cli/CommandLine.h"
#include "cli/JsonTrace.h"
#include "cli/TextTrace.h"
#include "runtime/InputLimits.h"

namespace {

constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

// 1-based line and column of a byte offset; a CR does not count as a column,
// like the parser's own line counting.
std::string positionOf(const std::string& text, int offset) {
  int line = 1;
  int column = 1;
  const std::size_t end = std::min<std::size_t>(offset < 0 ? 0 : offset, text.size());
  for (std::size_t i = 0; i < end; ++i) {
    if (text[i] == '\n') {
      ++line;
      column = 1;
    } else if (text[i] != '\r') {
      ++column;
    }
  }
  return std::to_string(line) + ":" + std::to_string(column);
}

const char* kindWord(unsigned char kind) {
  return kind == 3 || kind == 4 ? "warning" : "note";
}

// Reads up to one byte more than a run accepts: an endless stream (a device,
// a pipe that never closes) then ends with the run's message about the input
// size instead of exhausting memory.
// `expectedSize` (a file's size, 0 when unknown) sizes the text up front, so
// that a large input is not copied again each time the text grows.
bool readAll(std::istream& in, std::string& text, std::uintmax_t expectedSize = 0) {
  constexpr std::size_t kReadLimit = zemra::kMaxInputBytes + 1;
  std::vector<char> chunk(std::size_t{1} << 16);
  text.clear();
  text.reserve(static_cast<std::size_t>(std::min<std::uintmax_t>(expectedSize, kReadLimit)));
  while (text.size() < kReadLimit) {
    const std::size_t wanted = std::min(chunk.size(), kReadLimit - text.size());
    in.read(chunk.data(), static_cast<std::streamsize>(wanted));
    text.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    if (!in) break;
  }
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  std::string usageError;
  const auto options =
      orvo::cli::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc), usageError);
  if (!options) {
    std::cerr << "orvo-pp: " << usageError << "\nTry 'orvo-pp --help' for more information.\n";
    return kExitUsage;
  }
  if (options->help) {
    std::cout << orvo::cli::usageText();
    return 0;
  }
  if (options->version) {
    std::cout << "orvo-pp " << ORVO_VERSION << "\n";
    return 0;
  }

  const bool fromStdin = options->inputPath.empty() || options->inputPath == "-";
  const std::string displayName = fromStdin ? "<stdin>" : options->inputPath;
  std::string input;
  orvo::RunOptions runOptions;
  if (fromStdin) {
    if (!readAll(std::cin, input)) {
      std::cerr << "orvo-pp: cannot read standard input\n";
      return kExitUsage;
    }
  } else {
    std::error_code ec;
    if (std::filesystem::is_directory(options->inputPath, ec)) {
      std::cerr << "orvo-pp: cannot read '" << options->inputPath << "': is a directory\n";
      return kExitUsage;
    }
    std::ifstream file(options->inputPath, std::ios::binary);
    const std::uintmax_t size = std::filesystem::file_size(options->inputPath, ec);
    if (!file || !readAll(file, input, ec ? 0 : size)) {
      std::cerr << "orvo-pp: cannot read '" << options->inputPath << "'\n";
      return kExitUsage;
    }
    // Includes beside the file resolve, as after opening it in the window.
    runOptions.sourceDir =
        std::filesystem::absolute(options->inputPath, ec).parent_path().string();
  }
  for (const std::string& dir : options->includeDirs) runOptions.includePaths += dir + "\n";
  if (options->maxOutputBytes) runOptions.maxOutputBytes = *options->maxOutputBytes;
  runOptions.inputName = displayName;
  orvo::cli::TextTrace textTrace(std::cerr);
  orvo::cli::JsonTrace jsonTrace(std::cerr);
  if (options->trace == orvo::cli::TraceFormat::Text) runOptions.observer = &textTrace;
  if (options->trace == orvo::cli::TraceFormat::Json) runOptions.observer = &jsonTrace;

  const orvo::RunResult result = orvo::runPreprocessor(input, runOptions);

  for (const zemra::CVL_Message& message : result.messages) {
    const unsigned char kind = message.kind();
    if (!options->allMessages && kind != 3 && kind != 4) continue;
    std::cerr << displayName << ":" << positionOf(input, message.begin()) << ": "
              << kindWord(kind) << ": " << message.text() << "\n";
  }
  if (!result.ok()) {
    const orvo::RunError& error = *result.error;
    if (error.hasPosition())
      std::cerr << displayName << ":" << positionOf(input, error.begin) << ": error: "
                << error.text << "\n";
    else
      std::cerr << "orvo-pp: error: " << error.text << "\n";
    return kExitError;
  }

  const std::string converted =
      options->crlf ? orvo::convertLineEnds(result.output) : std::string();
  const std::string& output = options->crlf ? converted : result.output;
  if (options->outputPath) {
    std::ofstream out(*options->outputPath, std::ios::binary | std::ios::trunc);
    out << output;
    out.close();
    if (!out) {
      std::cerr << "orvo-pp: cannot write '" << *options->outputPath << "'\n";
      return kExitUsage;
    }
  } else {
    std::cout << output;
    std::cout.flush();
    if (!std::cout) {
      std::cerr << "orvo-pp: cannot write standard output\n";
      return kExitUsage;
    }
  }
  return 0;
}
