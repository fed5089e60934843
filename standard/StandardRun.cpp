#include "orvo/StandardRun.h"
#include "standard/StandardEngine.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include <pthread.h>
#include <unistd.h>

#include <cstdio>

#include <clang/Basic/TargetInfo.h>
#include <clang/Frontend/CompilerInstance.h>
#include <clang/Frontend/CompilerInvocation.h>
#include <clang/Lex/Pragma.h>
#include <clang/Lex/Preprocessor.h>
#include <clang/Lex/PreprocessorOptions.h>
#include <llvm/Support/Host.h>
#include <llvm/Support/MemoryBuffer.h>

#include "standard/ClangPlaces.h"
#include "standard/DiagnosticCollector.h"
#include "standard/EventForwarder.h"
#include "standard/InputPlaces.h"
#include "standard/TokenPrinter.h"

namespace orvo {
namespace {

// The language: C11 as a compiler for this machine sees it, with the
// compiler's predefined macros and no system include directories.
std::vector<std::string> invocationArguments(const RunOptions& options) {
  std::vector<std::string> args = {"-triple", llvm::sys::getDefaultTargetTriple(),
                                   "-x", "c", "-std=c11", "-E",
                                   "-nostdsysteminc", "-nobuiltininc"};
  for (const std::string& dir : options.includeDirectories) {
    if (dir.empty()) continue;
    args.push_back("-I");
    args.push_back(dir);
  }
  return args;
}

// A -D or -U entry as the library takes it; a value ends at its first line
// break, as in the main engine.
std::string macroText(const CommandLineMacro& macro) {
  return macro.text.substr(0, macro.text.find_first_of("\r\n"));
}

// Passes a pragma the library has no handler for into the output, as
// `cpp -P` does.
class PragmaPasser : public clang::PragmaHandler {
 public:
  PragmaPasser(standard::TokenPrinter& printer, bool& overLimit)
      : clang::PragmaHandler(llvm::StringRef()), m_Printer(printer), m_OverLimit(overLimit) {}

  void HandlePragma(clang::Preprocessor& preprocessor, clang::PragmaIntroducer,
                    clang::Token& first) override {
    std::string line = "#pragma";
    clang::Token token = first;
    while (token.isNot(clang::tok::eod) && token.isNot(clang::tok::eof)) {
      line += ' ';
      line += preprocessor.getSpelling(token);
      preprocessor.LexUnexpandedToken(token);
    }
    if (!m_Printer.printLine(line, LineOrigin{})) m_OverLimit = true;
  }

 private:
  standard::TokenPrinter& m_Printer;
  bool& m_OverLimit;
};

// The main input's path: its name where that names a file in the source
// directory (as orvo-pp gives it, so __FILE__ reads as on the command line),
// else its base name in the source directory.
std::string mainFilePath(const RunOptions& options) {
  if (options.sourceDir.empty()) return options.inputName;
  std::error_code error;
  const std::filesystem::path named(options.inputName);
  if (std::filesystem::absolute(named, error).parent_path() == std::filesystem::path(options.sourceDir))
    return options.inputName;
  return (std::filesystem::path(options.sourceDir) / named.filename()).string();
}

RunResult failed(std::string text) {
  RunResult result;
  result.error = RunError{ErrorClass::Message, std::move(text)};
  return result;
}

// Deepest nesting of parentheses: nested macro calls cost the library time
// and memory that grow with the square of their depth (1,000 levels take
// about 0.6 s and 110 MB, 5,000 levels 17 s and 1 GB), and real code nests
// a few dozen deep.
constexpr int kMaxParenthesisDepth = 1'000;

std::atomic<std::size_t> g_RunStackBytes{standard::kDefaultRunStackBytes};
std::atomic<long> g_Progress{-1};
std::atomic<bool> g_ProgressInExpansion{false};
std::atomic<void (*)()> g_RunThreadStart{nullptr};
std::atomic<std::size_t> g_MemoryBudget{0};
std::atomic<std::size_t> g_RunMemory{0};

// The first place where parentheses or unary operators nest deeper than
// allowed, as a byte offset and the message; nothing when there is none.
// Comments and line splices count as the blanks they stand for, so that
// `-/**/-/**/-` is the chain the library sees. Literals are not told
// apart: they only make the estimate larger.
std::optional<std::pair<std::size_t, std::string>> tooDeep(std::string_view input) {
  const int maxChain = standard::maxOperatorChain();
  int depth = 0;
  int chain = 0;
  for (std::size_t i = 0; i < input.size(); ++i) {
    const char c = input[i];
    if (c == '/' && i + 1 < input.size() && input[i + 1] == '*') {
      const std::size_t close = input.find("*/", i + 2);
      i = close == std::string_view::npos ? input.size() : close + 1;
      continue;
    }
    if (c == '\\' && i + 1 < input.size() && (input[i + 1] == '\n' || input[i + 1] == '\r')) {
      ++i;
      continue;
    }
    if (c == '(') ++depth;
    else if (c == ')' && depth > 0) --depth;
    if (c == '-' || c == '+' || c == '!' || c == '~') ++chain;
    else if (c != ' ' && c != '\t' && c != '(' && c != '\n' && c != '\r') chain = 0;
    if (depth > kMaxParenthesisDepth)
      return std::pair(i, "parentheses nested deeper than " + std::to_string(kMaxParenthesisDepth) +
                              " levels");
    if (chain > maxChain)
      return std::pair(i, "a chain of more than " + std::to_string(maxChain) +
                              " unary operators");
  }
  return std::nullopt;
}

// Runs `work` on a thread with a stack of runStackBytes() and waits for it;
// false when no such thread can be made.
bool runOnLargeStack(const std::function<void()>& work) {
  pthread_attr_t attributes;
  if (pthread_attr_init(&attributes) != 0) return false;
  pthread_attr_setstacksize(&attributes, standard::runStackBytes());
  pthread_t thread;
  auto start = [](void* argument) -> void* {
    if (void (*const hook)() = g_RunThreadStart.load()) hook();
    (*static_cast<const std::function<void()>*>(argument))();
    return nullptr;
  };
  const bool started =
      pthread_create(&thread, &attributes, start, const_cast<std::function<void()>*>(&work)) == 0;
  pthread_attr_destroy(&attributes);
  if (started) pthread_join(thread, nullptr);
  return started;
}

RunResult runOnThisStack(std::string_view input, const RunOptions& options);

}  // namespace

void standard::setRunStackBytes(std::size_t bytes) { g_RunStackBytes = bytes; }
void standard::setRunThreadStart(void (*start)()) { g_RunThreadStart = start; }
std::size_t standard::runStackBytes() { return g_RunStackBytes; }
int standard::maxOperatorChain() {
  return static_cast<int>(g_RunStackBytes / kStackBytesPerOperator);
}
void standard::noteProgress(long offset, bool inExpansion) {
  g_Progress.store(offset, std::memory_order_relaxed);
  g_ProgressInExpansion.store(inExpansion, std::memory_order_relaxed);
}
void standard::setMemoryBudget(std::size_t processBytes, std::size_t runBytes) {
  g_MemoryBudget = processBytes;
  g_RunMemory = runBytes;
}

std::string standard::describeBytes(std::size_t bytes) {
  constexpr std::size_t kGiB = std::size_t{1} << 30;
  return bytes % kGiB == 0 ? std::to_string(bytes / kGiB) + " GiB"
                           : std::to_string(bytes >> 20) + " MiB";
}

std::string standard::overMemoryBudget() {
  const std::size_t budget = g_MemoryBudget;
  if (budget == 0) return {};
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return {};
  unsigned long pages = 0;
  const bool read = std::fscanf(statm, "%lu", &pages) == 1;
  std::fclose(statm);
  if (!read || pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE)) <= budget) return {};
  return "macro expansion needs more than " + describeBytes(g_RunMemory) + " of memory";
}

bool standard::progressInExpansion() { return g_ProgressInExpansion.load(std::memory_order_relaxed); }
long standard::progressOffset() { return g_Progress.load(std::memory_order_relaxed); }

RunResult standard::runInProcess(std::string_view input, const RunOptions& options) {
  noteProgress(-1, false);
  if (const auto deep = tooDeep(input)) {
    RunResult result = failed(deep->second);
    result.error->place = standard::placeAtOffset(input, deep->first, options.inputName);
    return result;
  }
  RunResult result;
  if (!runOnLargeStack([&] { result = runOnThisStack(input, options); }))
    return failed("cannot start the standard C run: no thread for it");
  return result;
}

namespace {

RunResult runOnThisStack(std::string_view input, const RunOptions& options) {
  standard::DiagnosticCollector collector;
  collector.setObserver(options.observer);
  auto instance = std::make_unique<clang::CompilerInstance>();
  instance->createDiagnostics(&collector, /*ShouldOwnClient=*/false);

  const std::vector<std::string> args = invocationArguments(options);
  std::vector<const char*> argv;
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  if (!clang::CompilerInvocation::CreateFromArgs(instance->getInvocation(), argv,
                                                 instance->getDiagnostics()))
    return failed("cannot set up the standard C preprocessor");
  for (const CommandLineMacro& macro : options.commandLineMacros) {
    if (macro.kind == CommandLineMacro::Kind::Define)
      instance->getPreprocessorOpts().addMacroDef(macroText(macro));
    else
      instance->getPreprocessorOpts().addMacroUndef(macroText(macro));
  }
  instance->setTarget(clang::TargetInfo::CreateTargetInfo(
      instance->getDiagnostics(), instance->getInvocation().TargetOpts));
  if (!instance->hasTarget()) return failed("cannot set up the standard C preprocessor's target");
  instance->createFileManager();
  instance->createSourceManager(instance->getFileManager());
  clang::SourceManager& sources = instance->getSourceManager();
  // The main input is a file of the file manager whose contents come from
  // memory, so that the include search knows its directory.
  const std::string mainPath = mainFilePath(options);
  const clang::FileEntry* mainFile = instance->getFileManager().getVirtualFile(
      mainPath, static_cast<off_t>(input.size()), 0);
  sources.overrideFileContents(
      mainFile, llvm::MemoryBuffer::getMemBufferCopy(llvm::StringRef(input.data(), input.size()),
                                                     mainPath));
  sources.setMainFileID(sources.createFileID(mainFile, clang::SourceLocation(), clang::SrcMgr::C_User));
  instance->createPreprocessor(clang::TU_Complete);
  clang::Preprocessor& preprocessor = instance->getPreprocessor();

  standard::ClangPlaces places(sources, options.inputName);
  collector.setPlaces(&places);
  auto forwarder = std::make_unique<standard::EventForwarder>(
      preprocessor, places, options.observer, options.cancelRequested,
      options.maxExpansionParses > 0 ? options.maxExpansionParses : kMaxStandardExpansions);
  standard::EventForwarder& events = *forwarder;
  preprocessor.addPPCallbacks(std::move(forwarder));
  standard::TokenPrinter printer(preprocessor, options.maxOutputBytes);
  bool overLimit = false;
  auto pragmas = std::make_unique<PragmaPasser>(printer, overLimit);
  preprocessor.AddPragmaHandler(pragmas.get());

  collector.BeginSourceFile(instance->getLangOpts(), &preprocessor);
  preprocessor.EnterMainSourceFile();
  clang::Token token;
  for (;;) {
    preprocessor.Lex(token);
    if (token.is(clang::tok::eof) || overLimit || events.shouldStop()) break;
    events.tokenOut(token);
    LineOrigin origin;
    if (printer.atLineStart(token)) {
      events.noteProgress(token.getLocation(), token.getLocation().isMacroID());
      const SourcePlace place = places.placeOf(token.getLocation(), false);
      if (place.known()) origin = LineOrigin{events.fileIndex(place.file), place.line, place.line};
    }
    if (!printer.print(token, origin)) overLimit = true;
  }
  events.finish();
  preprocessor.RemovePragmaHandler(pragmas.get());
  collector.EndSourceFile();

  RunResult result;
  result.diagnostics = std::move(collector.diagnostics());
  result.includedFiles = std::move(events.includedFiles());
  if (options.observer != nullptr) {
    RunExplanation explanation;
    explanation.files = events.files();
    if (explanation.files.empty()) explanation.files.push_back(options.inputName);
    explanation.lineMap = std::move(printer.lineMap());
    explanation.skipped = std::move(events.skipped());
    result.explanation = std::move(explanation);
  }
  std::string stopText = events.stopReason();
  if (overLimit)
    stopText = kStandardOutputLimitText + std::to_string(options.maxOutputBytes) + " bytes";
  if (!stopText.empty()) {
    result.error = RunError{ErrorClass::Message, stopText};
    if (!overLimit) result.error->place = events.stopPlace();
    if (options.observer != nullptr)
      options.observer->message(MessageEvent{result.error->place.value_or(SourcePlace{}),
                                             Severity::Error, stopText, true});
    return result;
  }
  result.output = printer.takeOutput();
  return result;
}

}  // namespace
}  // namespace orvo
