// orvo-pp: the command-line preprocessor over the orvo engine.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/CommandLine.h"
#include "cli/CompareCommand.h"
#include "cli/DiagnosticPrinter.h"
#include "run/PreprocessRun.h"
#include "cli/JsonTrace.h"
#include "cli/TextTrace.h"
#include "runtime/InputLimits.h"
#include "standard/StandardRun.h"

namespace {

constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

// Colours only where a person reads them, unless asked otherwise.
bool useColor(orvo::cli::ColorWhen when) {
  if (when != orvo::cli::ColorWhen::Auto) return when == orvo::cli::ColorWhen::Always;
  const char* term = std::getenv("TERM");
  return isatty(STDERR_FILENO) && !(term != nullptr && std::string(term) == "dumb");
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

// The --deps listing: each file the run included, one per line.
std::string dependencyList(const std::vector<orvo::IncludedFile>& files) {
  std::string list;
  for (const orvo::IncludedFile& file : files) {
    if (file.status == orvo::IncludedFile::Status::NotFound)
      list += "not found: " + file.name + "\n";
    else
      list += file.path + "\n";
  }
  return list;
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
  runOptions.commandLineMacros = options->macros;
  runOptions.inputName = displayName;
  orvo::cli::TextTrace textTrace(std::cerr);
  orvo::cli::JsonTrace jsonTrace(std::cerr);
  if (options->trace == orvo::cli::TraceFormat::Text) runOptions.observer = &textTrace;
  if (options->trace == orvo::cli::TraceFormat::Json) runOptions.observer = &jsonTrace;

  if (options->engine == orvo::cli::EngineChoice::Compare) {
    runOptions.observer = nullptr;
    const orvo::compare::Comparison comparison = orvo::compare::compareRuns(input, runOptions);
    if (comparison.trouble) std::cerr << "orvo-pp: " << *comparison.trouble << "\n";
    return orvo::cli::printComparison(comparison, options->trace == orvo::cli::TraceFormat::Json,
                                      std::cout);
  }
  const orvo::RunResult result = options->engine == orvo::cli::EngineChoice::Standard
                                     ? orvo::runStandardC(input, runOptions)
                                     : orvo::runPreprocessor(input, runOptions);

  // Warnings about -D and -U entries name the command line, not a file.
  for (const zemra::CVL_Message& message : result.commandLineMessages)
    std::cerr << orvo::kCommandLinePlace << ": warning: " << message.text() << "\n";
  orvo::cli::DiagnosticPrinter printer(
      std::cerr, orvo::cli::PrintStyle{options->caret, useColor(options->color)});
  for (const orvo::Diagnostic& diagnostic : result.diagnostics) {
    if (diagnostic.severity == orvo::Severity::Note && !options->allMessages) continue;
    printer.print(diagnostic);
  }
  if (!result.ok()) {
    if (result.error->fromCommandLine)
      std::cerr << orvo::kCommandLinePlace << ": error: " << result.error->text << "\n";
    else
      printer.print(result.error->diagnostic());
    return kExitError;
  }

  const std::string dependencies =
      options->deps ? dependencyList(result.includedFiles) : std::string();
  const std::string& produced = options->deps ? dependencies : result.output;
  const std::string converted = options->crlf ? orvo::convertLineEnds(produced) : std::string();
  const std::string& output = options->crlf ? converted : produced;
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
  // As cc -E: the output is written, and the status tells it may lack text.
  return result.hasErrors() ? kExitError : 0;
}
