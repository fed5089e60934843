#include "standard/EventForwarder.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include <clang/Basic/FileEntry.h>
#include <clang/Lex/MacroArgs.h>
#include <clang/Lex/MacroInfo.h>

namespace orvo::standard {
namespace {

constexpr const char* kBuiltinBuffer = "<built-in>";

bool isNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The identifiers of a condition, without "defined" and the names it tests;
// those inside numbers (the suffix of 10UL) are no names.
std::vector<std::string> namesIn(const std::string& text) {
  std::vector<std::string> names;
  bool afterDefined = false;
  for (std::size_t i = 0; i < text.size();) {
    if (isNameStart(text[i]) && (i == 0 || !isNameChar(text[i - 1]))) {
      std::size_t end = i;
      while (end < text.size() && isNameChar(text[end])) ++end;
      std::string name = text.substr(i, end - i);
      if (name == "defined") {
        afterDefined = true;
      } else {
        if (!afterDefined) names.push_back(std::move(name));
        afterDefined = false;
      }
      i = end;
    } else {
      if (std::isdigit(static_cast<unsigned char>(text[i])))
        while (i < text.size() && isNameChar(text[i])) ++i;
      else
        ++i;
    }
  }
  return names;
}

}  // namespace

EventForwarder::EventForwarder(clang::Preprocessor& preprocessor, const ClangPlaces& places,
                               RunObserver* observer, const std::atomic<bool>* cancelRequested,
                               long expansionBudget)
    : m_Preprocessor(preprocessor),
      m_Places(places),
      m_Observer(observer),
      m_CancelRequested(cancelRequested),
      m_ExpansionBudget(expansionBudget),
      m_ExpansionsLeft(expansionBudget) {}

void EventForwarder::stop(std::string reason) {
  if (!m_StopReason.empty()) return;
  m_StopReason = std::move(reason);
  // Tokens already queued drain without expanding further; the output loop
  // ends at the next token it reads.
  m_Preprocessor.SetMacroExpansionOnlyInDirectives();
}

bool EventForwarder::shouldStop() {
  if (m_CancelRequested != nullptr && m_CancelRequested->load(std::memory_order_relaxed))
    stop(kCancelledText);
  return !m_StopReason.empty();
}

int EventForwarder::fileIndex(const std::string& name) {
  const auto found = std::find(m_Files.begin(), m_Files.end(), name);
  if (found != m_Files.end()) return static_cast<int>(found - m_Files.begin());
  m_Files.push_back(name);
  return static_cast<int>(m_Files.size()) - 1;
}

std::string EventForwarder::spell(const clang::Token& token) const {
  return m_Preprocessor.getSpelling(token);
}

void EventForwarder::FileChanged(clang::SourceLocation location, FileChangeReason reason,
                                 clang::SrcMgr::CharacteristicKind, clang::FileID) {
  const clang::SourceManager& sources = m_Preprocessor.getSourceManager();
  const clang::FileID id = sources.getFileID(location);
  if (id != sources.getMainFileID() && sources.getFileEntryForID(id) == nullptr) return;
  const std::string name = m_Places.fileNameOf(location);
  if (reason == EnterFile) {
    fileIndex(name);
    m_Entered.push_back(name);
  } else if (reason == ExitFile && !m_Entered.empty()) {
    // Reported on return to the includer, so the file left is the innermost.
    const std::string left = m_Entered.back();
    m_Entered.pop_back();
    if (m_Observer != nullptr && !m_Entered.empty()) {
      std::string written;
      for (const IncludedFile& file : m_IncludedFiles)
        if (file.path == left) written = file.name;
      m_Observer->includeLeft(
          IncludeLeftEvent{written, left, static_cast<int>(m_Entered.size())});
    }
  }
}

void EventForwarder::InclusionDirective(clang::SourceLocation hash, const clang::Token&,
                                        llvm::StringRef name, bool angled,
                                        clang::CharSourceRange, const clang::FileEntry* file,
                                        llvm::StringRef, llvm::StringRef, const clang::Module*,
                                        clang::SrcMgr::CharacteristicKind) {
  IncludedFile record{name.str(), file != nullptr ? file->getName().str() : std::string(),
                      file != nullptr ? IncludedFile::Status::Loaded
                                      : IncludedFile::Status::NotFound};
  const bool listed = std::any_of(m_IncludedFiles.begin(), m_IncludedFiles.end(),
                                  [&](const IncludedFile& known) {
                                    return known.name == record.name && known.path == record.path;
                                  });
  if (!listed) m_IncludedFiles.push_back(record);
  if (m_Observer == nullptr) return;
  IncludeEvent event;
  event.place = m_Places.placeOf(hash, false);
  event.name = record.name;
  event.angled = angled;
  event.path = record.path;
  event.found = file != nullptr;
  event.loaded = event.found;
  event.depth = static_cast<int>(m_Entered.size());
  m_Observer->includeDirective(event);
}

void EventForwarder::MacroDefined(const clang::Token& name,
                                  const clang::MacroDirective* directive) {
  if (m_Observer == nullptr || directive == nullptr) return;
  const clang::MacroInfo* macro = directive->getMacroInfo();
  if (macro == nullptr || m_Places.fileNameOf(macro->getDefinitionLoc()) == kBuiltinBuffer) return;
  MacroDefinedEvent event;
  event.place = m_Places.placeOf(name.getLocation(), false);
  event.name = spell(name);
  event.kind = macro->isFunctionLike() ? MacroKind::FunctionLike : MacroKind::ObjectLike;
  for (const clang::IdentifierInfo* parameter : macro->params()) {
    const std::string text = parameter->getName().str();
    event.parameters.push_back(text == "__VA_ARGS__" ? "..." : text);
  }
  if (macro->isGNUVarargs() && !event.parameters.empty()) event.parameters.back() += "...";
  bool first = true;
  for (const clang::Token& token : macro->tokens()) {
    if (!first && token.hasLeadingSpace()) event.replacement += ' ';
    event.replacement += spell(token);
    first = false;
  }
  const clang::MacroDirective* previous = directive->getPrevious();
  event.redefined = previous != nullptr && previous->getKind() == clang::MacroDirective::MD_Define;
  m_Observer->macroDefined(event);
}

void EventForwarder::MacroUndefined(const clang::Token& name,
                                    const clang::MacroDefinition& definition,
                                    const clang::MacroDirective*) {
  if (m_Observer == nullptr) return;
  MacroUndefinedEvent event;
  event.place = m_Places.placeOf(name.getLocation(), false);
  event.name = spell(name);
  if (const clang::MacroInfo* macro = definition.getMacroInfo()) {
    event.removedPredefined = m_Places.fileNameOf(macro->getDefinitionLoc()) == kBuiltinBuffer;
    event.removedObjectLike = !event.removedPredefined && !macro->isFunctionLike();
  }
  m_Observer->macroUndefined(event);
}

void EventForwarder::MacroExpands(const clang::Token& name,
                                  const clang::MacroDefinition& definition,
                                  clang::SourceRange range, const clang::MacroArgs* arguments) {
  if (--m_ExpansionsLeft < 0)
    stop(kStandardExpansionBudgetText + std::to_string(m_ExpansionBudget) +
         " expansions (a definition that multiplies its tokens at each level?)");
  shouldStop();
  if (m_Observer == nullptr || !m_StopReason.empty()) return;
  const clang::MacroInfo* macro = definition.getMacroInfo();
  if (macro == nullptr) return;
  ExpansionStep step;
  step.place = m_Places.placeOf(range, false);
  step.expansion = m_NextExpansion++;
  // A name met in a macro's text is a nested expansion.
  step.depth = name.getLocation().isMacroID() ? 2 : 1;
  const std::string macroName = spell(name);
  if (macro->isFunctionLike() && arguments != nullptr) {
    CallCollectedEvent event;
    static_cast<ExpansionStep&>(event) = step;
    event.name = macroName;
    event.callText = m_Places.textOf(range);
    for (unsigned i = 0; i < arguments->getNumMacroArguments(); ++i) {
      std::string text;
      for (const clang::Token* token = arguments->getUnexpArgument(i);
           token->isNot(clang::tok::eof); ++token) {
        if (!text.empty() && token->hasLeadingSpace()) text += ' ';
        text += spell(*token);
      }
      event.arguments.push_back(std::move(text));
    }
    m_Observer->callCollected(event);
  } else {
    ReplacementEvent event;
    static_cast<ExpansionStep&>(event) = step;
    event.name = macroName;
    event.kind = macro->isBuiltinMacro() ? MacroKind::Predefined : MacroKind::ObjectLike;
    bool first = true;
    for (const clang::Token& token : macro->tokens()) {
      if (!first && token.hasLeadingSpace()) event.value += ' ';
      event.value += spell(token);
      first = false;
    }
    m_Observer->replaced(event);
    // A predefined replacement opens no expansion.
    if (event.kind == MacroKind::Predefined) return;
  }
  // The library expands lazily, token by token, so the finished text of an
  // expansion is not known here; the expansion is closed at once.
  CallFinishedEvent finished;
  static_cast<ExpansionStep&>(finished) = step;
  finished.name = macroName;
  m_Observer->callFinished(finished);
}

void EventForwarder::conditional(clang::SourceLocation location, const std::string& directive,
                                 const std::string& expression, bool value, bool earlierTaken) {
  if (m_Observer == nullptr) return;
  ConditionalEvent event;
  event.place = m_Places.placeOf(location, false);
  event.directive = directive;
  event.expression = expression;
  event.value = value ? 1 : 0;
  event.earlierBranchTaken = earlierTaken;
  event.taken = value && !earlierTaken;
  if (directive == "if" || directive == "elif") {
    // Each name with the number it stands for: an integer macro's value, an
    // unknown name 0; a macro of any other text is left out.
    for (const std::string& name : namesIn(expression)) {
      const clang::IdentifierInfo* id = m_Preprocessor.getIdentifierInfo(name);
      const clang::MacroInfo* macro = m_Preprocessor.getMacroInfo(id);
      if (macro == nullptr) {
        event.names.emplace_back(name, 0);
      } else if (!macro->isFunctionLike() && macro->getNumTokens() == 1 &&
                 macro->getReplacementToken(0).is(clang::tok::numeric_constant)) {
        const std::string text = spell(macro->getReplacementToken(0));
        event.names.emplace_back(name, static_cast<int>(std::strtoll(text.c_str(), nullptr, 0)));
      }
    }
  }
  m_Observer->conditional(event);
}

void EventForwarder::If(clang::SourceLocation location, clang::SourceRange condition,
                        ConditionValueKind value) {
  const bool taken = value == CVK_True;
  m_BranchTaken.push_back(taken);
  conditional(location, "if", m_Places.textOf(condition), taken, false);
}

void EventForwarder::Elif(clang::SourceLocation location, clang::SourceRange condition,
                          ConditionValueKind value, clang::SourceLocation) {
  if (m_BranchTaken.empty()) return;
  const bool earlier = m_BranchTaken.back();
  conditional(location, "elif", m_Places.textOf(condition), value == CVK_True, earlier);
  if (value == CVK_True) m_BranchTaken.back() = true;
}

void EventForwarder::Ifdef(clang::SourceLocation location, const clang::Token& name,
                           const clang::MacroDefinition& definition) {
  const bool taken = static_cast<bool>(definition);
  m_BranchTaken.push_back(taken);
  conditional(location, "ifdef", spell(name), taken, false);
}

void EventForwarder::Ifndef(clang::SourceLocation location, const clang::Token& name,
                            const clang::MacroDefinition& definition) {
  const bool taken = !static_cast<bool>(definition);
  m_BranchTaken.push_back(taken);
  conditional(location, "ifndef", spell(name), taken, false);
}

void EventForwarder::Else(clang::SourceLocation location, clang::SourceLocation) {
  if (m_BranchTaken.empty()) return;
  conditional(location, "else", std::string(), true, m_BranchTaken.back());
  m_BranchTaken.back() = true;
}

void EventForwarder::Endif(clang::SourceLocation, clang::SourceLocation) {
  if (!m_BranchTaken.empty()) m_BranchTaken.pop_back();
}

void EventForwarder::SourceRangeSkipped(clang::SourceRange range, clang::SourceLocation) {
  const SourcePlace first = m_Places.placeOf(range.getBegin(), false);
  const SourcePlace last = m_Places.placeOf(range.getEnd(), false);
  if (!first.known()) return;
  m_Skipped.push_back(SkippedLines{fileIndex(first.file), first.line, std::max(first.line, last.line)});
}

}  // namespace orvo::standard
