#include "standard/StandardRun.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

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
#include "standard/TokenPrinter.h"

namespace orvo {
namespace {

// The language: C11 as a compiler for this machine sees it, with the
// compiler's predefined macros and no system include directories.
std::vector<std::string> invocationArguments(const RunOptions& options) {
  std::vector<std::string> args = {"-triple", llvm::sys::getDefaultTargetTriple(),
                                   "-x", "c", "-std=c11", "-E",
                                   "-nostdsysteminc", "-nobuiltininc"};
  std::size_t from = 0;
  while (from < options.includePaths.size()) {
    std::size_t to = options.includePaths.find('\n', from);
    if (to == std::string::npos) to = options.includePaths.size();
    std::string dir = options.includePaths.substr(from, to - from);
    if (!dir.empty() && dir.back() == '\r') dir.pop_back();
    if (!dir.empty()) {
      args.push_back("-I");
      args.push_back(std::move(dir));
    }
    from = to + 1;
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

}  // namespace

RunResult runStandardC(std::string_view input, const RunOptions& options) {
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
      preprocessor, places, options.observer, options.cancelRequested, kMaxStandardExpansions);
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
    LineOrigin origin;
    if (printer.atLineStart(token)) {
      const SourcePlace place = places.placeOf(token.getLocation(), false);
      if (place.known()) origin = LineOrigin{events.fileIndex(place.file), place.line, place.line};
    }
    if (!printer.print(token, origin)) overLimit = true;
  }
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
    if (options.observer != nullptr)
      options.observer->message(MessageEvent{SourcePlace{}, Severity::Error, stopText, true});
    return result;
  }
  result.output = printer.takeOutput();
  return result;
}

}  // namespace orvo
