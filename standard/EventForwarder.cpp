#include "standard/EventForwarder.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include <clang/Basic/FileEntry.h>
#include <clang/Lex/MacroArgs.h>
#include <clang/Lex/MacroInfo.h>

#include "standard/SkippedDirectives.h"
#include "standard/StandardEngine.h"

#include <clang/Lex/PreprocessorOptions.h>

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

// Levels of object-like names replaced within one another when an
// expansion's result in a directive is worked out, and tokens it may hold:
// far beyond any real condition, and a bound on a definition that grows at
// each level.
constexpr int kMaxDirectiveLevels = 64;
constexpr std::size_t kMaxDirectiveTokens = 4096;

bool isName(const std::string& text) { return !text.empty() && isNameStart(text[0]); }

}  // namespace

EventForwarder::EventForwarder(clang::Preprocessor& preprocessor, const ClangPlaces& places,
                               RunObserver* observer, const std::atomic<bool>* cancelRequested,
                               long expansionBudget)
    : m_Preprocessor(preprocessor),
      m_Places(places),
      m_Observer(observer),
      m_CancelRequested(cancelRequested),
      m_ExpansionBudget(expansionBudget),
      m_ExpansionsLeft(expansionBudget),
      m_Results(preprocessor,
                [this](const OpenExpansion& expansion) { expansionClosed(expansion); }) {}

void EventForwarder::stop(std::string reason, std::optional<SourcePlace> place) {
  if (!m_StopReason.empty()) return;
  m_StopReason = std::move(reason);
  m_StopPlace = std::move(place);
  // Tokens already queued drain without expanding further, no further file
  // is included and what the library says from here on is its reaction to
  // the cut; the output loop ends at the next token it reads.
  m_Preprocessor.SetMacroExpansionOnlyInDirectives();
  m_Preprocessor.getPreprocessorOpts().SingleFileParseMode = true;
  m_Preprocessor.getDiagnostics().setSuppressAllDiagnostics(true);
}

void EventForwarder::endDirective(clang::SourceLocation location) {
  auto end = std::make_unique<clang::Token[]>(1);
  end[0].startToken();
  end[0].setKind(clang::tok::eod);
  end[0].setLocation(location);
  m_Preprocessor.EnterTokenStream(std::move(end), 1, /*DisableMacroExpansion=*/true,
                                  /*IsReinject=*/false);
}

long EventForwarder::tokensAdded(const clang::MacroInfo& macro, const clang::MacroArgs* arguments) {
  long tokens = static_cast<long>(macro.getNumTokens());
  if (arguments == nullptr) return tokens;
  for (const clang::Token& token : macro.tokens()) {
    const clang::IdentifierInfo* id = token.getIdentifierInfo();
    const int parameter = id != nullptr ? macro.getParameterNum(id) : -1;
    if (parameter >= 0 && static_cast<unsigned>(parameter) < arguments->getNumMacroArguments())
      tokens += static_cast<long>(
          clang::MacroArgs::getArgLength(arguments->getUnexpArgument(parameter)));
  }
  return tokens;
}

bool EventForwarder::withinProgressCall(clang::SourceRange range) {
  const clang::SourceManager& sources = m_Preprocessor.getSourceManager();
  const auto [file, offset] = sources.getDecomposedExpansionLoc(range.getBegin());
  if (file == m_ProgressFile && offset >= m_ProgressBegin && offset <= m_ProgressEnd) return true;
  const auto [endFile, endOffset] = sources.getDecomposedExpansionLoc(range.getEnd());
  m_ProgressFile = file;
  m_ProgressBegin = offset;
  m_ProgressEnd = endFile == file ? endOffset : offset;
  return false;
}

void EventForwarder::noteProgress(clang::SourceLocation location, bool inExpansion) {
  const clang::SourceManager& sources = m_Preprocessor.getSourceManager();
  clang::SourceLocation at = sources.getExpansionLoc(location);
  // A place in an included file stands at the include directive of the
  // main input that led there.
  for (int depth = 0; at.isValid() && depth < 256; ++depth) {
    const clang::FileID id = sources.getFileID(at);
    if (id == sources.getMainFileID()) {
      standard::noteProgress(static_cast<long>(sources.getFileOffset(at)), inExpansion);
      return;
    }
    at = sources.getIncludeLoc(id);
  }
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
  noteProgress(hash, false);
  if (file != nullptr && ++m_Inclusions > kMaxInclusions)
    stop("#include loads too many files (more than " + std::to_string(kMaxInclusions) +
             " in one run): " + name.str(),
         m_Places.placeOf(hash));
  shouldStop();
  if (m_Observer != nullptr) m_Results.closeAll();
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
  if (!range.getBegin().isMacroID() && !withinProgressCall(range)) noteProgress(range.getBegin(), true);
  if (--m_ExpansionsLeft < 0)
    stop(kStandardExpansionBudgetText + std::to_string(m_ExpansionBudget) +
             " expansions (a definition that multiplies its tokens at each level?)",
         m_Places.placeOf(range));
  if ((m_ExpansionBudget - m_ExpansionsLeft) % kMemoryCheckInterval == 0)
    if (const std::string over = standard::overMemoryBudget(); !over.empty())
      stop(over + " (a definition that multiplies its tokens at each level?)",
           m_Places.placeOf(range));
  if (m_Preprocessor.isParsingIfOrElifDirective()) {
    if (const clang::MacroInfo* macro = definition.getMacroInfo())
      m_DirectiveTokens += tokensAdded(*macro, arguments);
    const long limit = standard::maxOperatorChain();
    if (m_DirectiveTokens > limit && m_StopReason.empty()) {
      stop("#if expression longer than " + std::to_string(limit) +
               " tokens after macro expansion (its evaluation would nest too deeply)",
           m_Places.placeOf(range));
      endDirective(name.getLocation());
    }
  }
  shouldStop();
  if (m_Observer == nullptr || !m_StopReason.empty() || m_NextExpansion > kMaxReportedExpansions)
    return;
  const clang::MacroInfo* macro = definition.getMacroInfo();
  if (macro == nullptr) return;
  const std::string macroName = spell(name);
  const bool predefined = macro->isBuiltinMacro();
  ExpansionStep step;
  step.place = expansionPlace(range);
  step.expansion = m_NextExpansion++;
  step.depth = 1;
  const OpenExpansion* open = nullptr;
  if (!predefined) {
    const bool inDirective = m_Preprocessor.isParsingIfOrElifDirective();
    if (OpenExpansion* opened =
            m_Results.open(step.expansion, macroName, name.getLocation(), range, inDirective)) {
      if (inDirective) opened->result = expandedInDirective(*macro, arguments);
      opened->place = step.place;
      step.parent = opened->parent;
      step.depth = opened->depth;
      open = opened;
    }
  }
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
    event.kind = predefined ? MacroKind::Predefined : MacroKind::ObjectLike;
    bool first = true;
    for (const clang::Token& token : macro->tokens()) {
      if (!first && token.hasLeadingSpace()) event.value += ' ';
      event.value += spell(token);
      first = false;
    }
    if (predefined) event.value = m_BuiltinValues.valueOf(name);
    m_Observer->replaced(event);
  }
  // The expansion is finished (CallFinishedEvent) once its last token has
  // been read (expansionClosed); past the limit of expansions whose results
  // are gathered, at once.
  if (open == nullptr && !predefined) {
    CallFinishedEvent finished;
    static_cast<ExpansionStep&>(finished) = step;
    finished.name = macroName;
    finished.result = "…";
    m_Observer->callFinished(finished);
  }
}

const SourcePlace& EventForwarder::expansionPlace(clang::SourceRange range) {
  const clang::SourceManager& sources = m_Preprocessor.getSourceManager();
  const clang::SourceLocation begin = sources.getExpansionLoc(range.getBegin());
  const clang::SourceLocation end = sources.getExpansionLoc(range.getEnd());
  if (begin != m_PlaceBegin || end != m_PlaceEnd) {
    m_Place = m_Places.placeOf(range, false);
    m_PlaceBegin = begin;
    m_PlaceEnd = end;
  }
  return m_Place;
}

void EventForwarder::tokenOut(const clang::Token& token) {
  if (m_Observer != nullptr) m_Results.tokenOut(token, spell(token));
}

void EventForwarder::expansionClosed(const OpenExpansion& expansion) {
  CallFinishedEvent finished;
  finished.place = expansion.place;
  finished.expansion = expansion.id;
  finished.parent = expansion.parent;
  finished.depth = expansion.depth;
  finished.name = expansion.name;
  finished.result = expansion.result;
  m_Observer->callFinished(finished);
}

void EventForwarder::replaceNames(const Spelled& tokens, std::vector<std::string>& busy,
                                  Spelled& out) {
  for (const auto& token : tokens) {
    if (out.size() >= kMaxDirectiveTokens) return;
    const clang::MacroInfo* macro =
        isName(token.first) && static_cast<int>(busy.size()) < kMaxDirectiveLevels &&
                std::find(busy.begin(), busy.end(), token.first) == busy.end()
            ? m_Preprocessor.getMacroInfo(m_Preprocessor.getIdentifierInfo(token.first))
            : nullptr;
    if (macro == nullptr || macro->isFunctionLike() || macro->isBuiltinMacro()) {
      out.push_back(token);
      continue;
    }
    Spelled value;
    for (const clang::Token& part : macro->tokens())
      value.emplace_back(spell(part), value.empty() ? token.second : part.hasLeadingSpace());
    busy.push_back(token.first);
    replaceNames(value, busy, out);
    busy.pop_back();
  }
}

std::string EventForwarder::expandedInDirective(const clang::MacroInfo& macro,
                                                const clang::MacroArgs* arguments) {
  Spelled built;
  for (const clang::Token& token : macro.tokens()) {
    const int parameter = token.getIdentifierInfo() != nullptr && arguments != nullptr
                              ? macro.getParameterNum(token.getIdentifierInfo())
                              : -1;
    if (parameter < 0 || static_cast<unsigned>(parameter) >= arguments->getNumMacroArguments()) {
      built.emplace_back(spell(token), token.hasLeadingSpace());
      continue;
    }
    bool first = true;
    for (const clang::Token* part = arguments->getUnexpArgument(parameter);
         part->isNot(clang::tok::eof); ++part) {
      built.emplace_back(spell(*part), first ? token.hasLeadingSpace() : part->hasLeadingSpace());
      first = false;
    }
  }
  Spelled replaced;
  std::vector<std::string> busy;
  replaceNames(built, busy, replaced);
  std::string text;
  for (const auto& [spelling, blankBefore] : replaced) {
    if (!text.empty() && blankBefore) text += ' ';
    text += spelling;
  }
  return text;
}

void EventForwarder::conditional(clang::SourceLocation location, const std::string& directive,
                                 const std::string& expression, bool value, bool earlierTaken) {
  if (m_Observer == nullptr) return;
  // The condition's expansions are done.
  m_Results.closeAll();
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
  m_DirectiveTokens = 0;
  noteProgress(location, false);
  const bool taken = value == CVK_True;
  m_BranchTaken.push_back(taken);
  conditional(location, "if", m_Places.textOf(condition), taken, false);
}

void EventForwarder::Elif(clang::SourceLocation location, clang::SourceRange condition,
                          ConditionValueKind value, clang::SourceLocation) {
  m_DirectiveTokens = 0;
  if (m_BranchTaken.empty() || branchReported(location)) return;
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
  if (m_BranchTaken.empty() || branchReported(location)) return;
  conditional(location, "else", std::string(), true, m_BranchTaken.back());
  m_BranchTaken.back() = true;
}

void EventForwarder::Endif(clang::SourceLocation location, clang::SourceLocation) {
  if (m_BranchTaken.empty()) return;
  // A skip that ends here is reported after this, when the conditional is
  // already closed.
  const clang::SourceManager& sources = m_Preprocessor.getSourceManager();
  const clang::SourceLocation at = sources.getExpansionLoc(location);
  m_Closed = ClosedConditional{sources.getFileID(at), sources.getExpansionLineNumber(at),
                               m_BranchTaken.back()};
  m_BranchTaken.pop_back();
}

bool EventForwarder::branchReported(clang::SourceLocation location) {
  const clang::SourceManager& sources = m_Preprocessor.getSourceManager();
  const clang::SourceLocation at = sources.getExpansionLoc(location);
  const std::pair<clang::FileID, unsigned> line{sources.getFileID(at),
                                                sources.getExpansionLineNumber(at)};
  if (std::find(m_BranchLines.begin(), m_BranchLines.end(), line) != m_BranchLines.end())
    return true;
  m_BranchLines.push_back(line);
  return false;
}

void EventForwarder::reportSkippedBranches(clang::SourceRange range) {
  const clang::SourceManager& sources = m_Preprocessor.getSourceManager();
  const clang::SourceLocation begin = sources.getExpansionLoc(range.getBegin());
  const clang::SourceLocation end = sources.getExpansionLoc(range.getEnd());
  if (sources.getFileID(begin) != sources.getFileID(end)) return;
  const unsigned from = sources.getFileOffset(begin);
  const unsigned to = sources.getFileOffset(end);
  bool invalid = false;
  const llvm::StringRef buffer = sources.getBufferData(sources.getFileID(begin), &invalid);
  if (invalid || to < from || to > buffer.size()) return;
  // The range ends at the directive that ended the skip: take its line too.
  std::size_t lineEnd = buffer.find('\n', to);
  if (lineEnd == llvm::StringRef::npos) lineEnd = buffer.size();
  const std::string_view text(buffer.data() + from, lineEnd - from);
  // The conditional the skip belongs to: the innermost open one, or the one
  // whose #endif ended the skip.
  const bool closed = m_Closed && m_Closed->file == sources.getFileID(end) &&
                      m_Closed->line == sources.getExpansionLineNumber(end);
  if (!closed && m_BranchTaken.empty()) return;
  bool branchTaken = closed ? m_Closed->branchTaken : static_cast<bool>(m_BranchTaken.back());
  m_Closed.reset();
  for (const SkippedDirective& found : branchDirectivesIn(text)) {
    const clang::SourceLocation location = begin.getLocWithOffset(static_cast<int>(found.offset));
    if (branchReported(location)) continue;
    // Passed over while skipping: a branch was taken before, or this is the
    // #else the skip of a branch not taken ended at.
    conditional(location, found.directive, found.expression,
                !branchTaken && found.directive == "else", branchTaken);
    branchTaken = true;
  }
  if (!closed) m_BranchTaken.back() = branchTaken;
}

void EventForwarder::SourceRangeSkipped(clang::SourceRange range, clang::SourceLocation) {
  if (m_Observer != nullptr) reportSkippedBranches(range);
  const SourcePlace first = m_Places.placeOf(range.getBegin(), false);
  const SourcePlace last = m_Places.placeOf(range.getEnd(), false);
  if (!first.known()) return;
  m_Skipped.push_back(SkippedLines{fileIndex(first.file), first.line, std::max(first.line, last.line)});
}

}  // namespace orvo::standard
