// orvo-pp: the command-line preprocessor over the orvo engine.
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/CommandLine.h"
#include "cli/CompareCommand.h"
#include "cli/DiagnosticPrinter.h"
#include "orvo/Run.h"
#include "cli/JsonTrace.h"
#include "cli/TextTrace.h"
#include "files/FileRead.h"
#include "files/LineEnds.h"
#include "files/SafeFileWrite.h"
#include "orvo/StandardRun.h"

namespace {

constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

// Colours only where a person reads them, unless asked otherwise.
bool useColor(orvo::cli::ColorWhen when) {
  if (when != orvo::cli::ColorWhen::Auto) return when == orvo::cli::ColorWhen::Always;
  const char* term = std::getenv("TERM");
  return isatty(STDERR_FILENO) && !(term != nullptr && std::string(term) == "dumb");
}

// Reads up to one byte more than a run accepts: an endless stream then ends
// with the run's message about the input size instead of exhausting memory.
bool readAll(std::istream& in, std::string& text) {
  constexpr std::size_t kReadLimit = orvo::kMaxInputBytes + 1;
  std::vector<char> chunk(std::size_t{1} << 16);
  text.clear();
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

// Writes what the run produced to -o OUT (safely) or standard output, with
// CR LF line ends under --crlf; 0, or the exit status of a failed write.
int writeOutput(const orvo::cli::Options& options, const std::string& produced) {
  const std::string converted = options.crlf ? orvo::convertLineEnds(produced) : std::string();
  const std::string& output = options.crlf ? converted : produced;
  if (options.outputPath) {
    if (const auto failure = orvo::files::writeFileSafely(*options.outputPath, output)) {
      std::cerr << "orvo-pp: cannot write '" << *options.outputPath << "': " << *failure << "\n";
      return kExitUsage;
    }
    return 0;
  }
  std::cout << output;
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "orvo-pp: cannot write standard output\n";
    return kExitUsage;
  }
  return 0;
}

// What the program is doing, for the message when memory runs out.
const char* g_stage = "starting";

int runProgram(int argc, char** argv) {
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

  g_stage = "reading the input";
  const bool fromStdin = options->inputPath.empty() || options->inputPath == "-";
  // As cc: writing the result over its own source would lose the source.
  if (!fromStdin && options->outputPath && !options->force &&
      orvo::files::isSameFile(options->inputPath, *options->outputPath)) {
    std::cerr << "orvo-pp: input file '" << options->inputPath
              << "' is the same as the output file (--force writes it anyway)\n";
    return kExitUsage;
  }
  const std::string displayName = fromStdin ? "<stdin>" : options->inputPath;
  std::string input;
  orvo::RunOptions runOptions;
  if (fromStdin) {
    if (!readAll(std::cin, input)) {
      std::cerr << "orvo-pp: cannot read standard input\n";
      return kExitUsage;
    }
  } else {
    if (const auto failure =
            orvo::files::readWholeFile(options->inputPath, orvo::kMaxInputBytes, input)) {
      std::cerr << "orvo-pp: cannot read '" << options->inputPath << "': " << *failure << "\n";
      return kExitUsage;
    }
    // Includes beside the file resolve, as after opening it in the window.
    std::error_code ec;
    runOptions.sourceDir =
        std::filesystem::absolute(options->inputPath, ec).parent_path().string();
  }
  runOptions.includeDirectories = options->includeDirs;
  if (options->maxOutputBytes) runOptions.maxOutputBytes = *options->maxOutputBytes;
  runOptions.commandLineMacros = options->macros;
  runOptions.inputName = displayName;
  orvo::cli::TextTrace textTrace(std::cerr);
  orvo::cli::JsonTrace jsonTrace(std::cerr);
  if (options->trace == orvo::cli::TraceFormat::Text) runOptions.observer = &textTrace;
  if (options->trace == orvo::cli::TraceFormat::Json) runOptions.observer = &jsonTrace;

  // As the window reads it; included files are read so by the engine.
  orvo::files::readLoneCarriageReturnsAsLineEnds(input);
  g_stage = "preprocessing";
  if (options->engine == orvo::cli::EngineChoice::Compare) {
    runOptions.observer = nullptr;
    const orvo::compare::Comparison comparison = orvo::compare::compareRuns(input, runOptions);
    g_stage = "writing the output";
    std::ostringstream report;
    const int status = orvo::cli::printComparison(
        comparison,
        orvo::cli::CompareReport{options->trace == orvo::cli::TraceFormat::Json, options->allMessages,
                                 orvo::cli::PrintStyle{options->caret, useColor(options->color)}},
        report, std::cerr);
    // The report is the output: -o and --crlf apply to it as to a result.
    if (const int written = writeOutput(*options, report.str()); written != 0) return written;
    return status;
  }
  const orvo::RunResult result = options->engine == orvo::cli::EngineChoice::Standard
                                     ? orvo::runStandardC(input, runOptions)
                                     : orvo::runPreprocessor(input, runOptions);
  g_stage = "writing the output";

  if (options->trace == orvo::cli::TraceFormat::Json) {
    for (const orvo::Diagnostic& diagnostic : result.diagnostics) jsonTrace.notes(diagnostic);
    if (!result.ok()) jsonTrace.notes(result.error->diagnostic());
  }
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
  if (const int written = writeOutput(*options, options->deps ? dependencies : result.output);
      written != 0)
    return written;
  // As cc -E: the output is written, and the status tells it may lack text.
  return result.hasErrors() ? kExitError : 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  // Past a file-size limit a write then fails with its reason, which the
  // program reports, instead of the signal ending it with a core dump.
  std::signal(SIGXFSZ, SIG_IGN);
  try {
    return runProgram(argc, argv);
  } catch (const std::bad_alloc&) {
    std::cerr << "orvo-pp: out of memory while " << g_stage << "\n";
    return kExitError;
  }
}
