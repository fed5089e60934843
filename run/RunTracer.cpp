#include "run/RunTracer.h"

#include <algorithm>
#include <cstdlib>
#include <exception>

#include "grammar/Cpreprocess_fileParser.h"
#include "macros/MacroRecord.h"
#include "run/MessageSeverity.h"
#include "orvo/Run.h"
#include "run/RecordingPlugin.h"
#include "runtime/ParseState.h"
#include "runtime/ParseStatePlugin.h"

namespace orvo {
namespace {

bool IsNameStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool IsNameByte(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }

// Calls `name` with each identifier of `text`, passing over string and
// character literals and numbers.
template <class Name>
void ForEachIdentifier(std::string_view text, const Name& name) {
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '"' || c == '\'') {
      for (++i; i < text.size() && text[i] != c; ++i)
        if (text[i] == '\\') ++i;
      ++i;
    } else if (IsNameByte(c)) {
      const std::size_t begin = i;
      while (i < text.size() && IsNameByte(text[i])) ++i;
      if (IsNameStart(c)) name(text.substr(begin, i - begin));
    } else {
      ++i;
    }
  }
}

std::string Trimmed(std::string_view text) {
  constexpr std::string_view kWhite = " \t\r\n";
  const std::size_t first = text.find_first_not_of(kWhite);
  if (first == std::string_view::npos) return std::string();
  return std::string(text.substr(first, text.find_last_not_of(kWhite) - first + 1));
}

// A function-like macro's replacement list as stored: parameters by name,
// "#" after the blanks in front of it, "##" with no blanks around it.
std::string StoredReplacement(const orvo::node& record) {
  namespace mr = orvo::macro_record;
  std::string text;
  for (orvo::node child = record.firstChild(); !child.isNpos(); child = child.nextSibling()) {
    if (mr::IsParameterReference(child)) {
      text += child.label();
    } else if (child.label() == mr::kStringize) {
      text += child.value() + "#";
    } else {
      text += child.value();
    }
  }
  // A leading "#" keeps the blanks in front of it in the record.
  return Trimmed(text);
}

// Where the production being parsed began: the token that was the
// look-ahead when it was entered.
const char* ProductionStart(const orvo::CVL_ParseState& s) {
  if (!s.m_RuleEndScannerStack.empty() && s.m_RuleEndScannerStack.back().m_pLookaheadBegin)
    return s.m_RuleEndScannerStack.back().m_pLookaheadBegin;
  return s.m_Position.m_Current.m_pTokenBegin;
}

// Whether the include directive `token` names its file in angle brackets.
bool IsAngled(const orvo::CVL_Match& token) {
  for (const char* p = token.m_pTokenBegin; p != nullptr && p < token.m_pTokenEnd; ++p) {
    if (*p == '<') return true;
    if (*p == '"') return false;
  }
  return false;
}

}  // namespace

const char* MacroKindName(MacroKind kind) {
  switch (kind) {
    case MacroKind::Predefined: return "predefined";
    case MacroKind::ObjectLike: return "object-like";
    case MacroKind::FunctionLike: return "function-like";
  }
  return "";
}

RunTracer::RunTracer(RunObserver& observer, std::string inputName, std::string_view input,
                     const RecordingPlugin& plugin, const SourceTracker& sources,
                     SourceId mainSource)
    : m_Observer(observer), m_Plugin(plugin), m_Sources(sources) {
  m_Explanation.files.push_back(std::move(inputName));
  FileFrame main;
  main.source = mainSource;
  main.begin = input.data();
  main.end = input.data() + input.size();
  m_Files.push_back(std::move(main));
}

void RunTracer::attach(const orvo::Cpreprocess_fileParser& parser) {
  m_pParser = &parser;
  for (const auto& [name, value] : parser.m_PredefinedMacros)
    recordMacro(MacroEntry{name, MacroKind::Predefined, {}, value, {}});
}

// ---- Places -----------------------------------------------------------

RunTracer::FileFrame* RunTracer::fileOf(const orvo::CVL_ParseState& s) {
  if (m_Files.empty() || s.m_Position.m_pBegin != m_Files.back().begin) return nullptr;
  return &m_Files.back();
}

int RunTracer::lineOf(FileFrame& frame, int offset) {
  return m_Sources.registry().lineOf(frame.source, offset);
}

SourcePlace RunTracer::placeIn(FileFrame& frame, const char* begin, const char* end) {
  const auto clamp = [&frame](const char* p) {
    if (p == nullptr || p < frame.begin) return 0;
    return static_cast<int>(std::min(p, frame.end) - frame.begin);
  };
  // A file that includes the main input again reads a text of its own,
  // which the sources do not count as the main input.
  return m_Sources.registry().lineAndColumn(frame.source, clamp(begin), clamp(end));
}

SourcePlace RunTracer::placeOf(const orvo::CVL_ParseState& s, const char* begin,
                               const char* end) {
  if (FileFrame* frame = fileOf(s)) return placeIn(*frame, begin, end);
  return m_Expansions.empty() ? SourcePlace{} : m_Expansions.front().place;
}

ExpansionStep RunTracer::stepOpening(const orvo::CVL_ParseState& s, const SourcePlace& place,
                                     const std::string& name) {
  ExpansionStep step;
  step.place = place;
  step.expansion = m_NextExpansion++;
  step.parent = m_Expansions.empty() ? 0 : m_Expansions.back().id;
  int file = m_Expansions.empty() ? -1 : m_Expansions.front().file;
  if (const FileFrame* frame = fileOf(s)) file = frame->file;
  m_Expansions.push_back(OpenExpansion{step.expansion, name, place, file});
  step.depth = static_cast<int>(m_Expansions.size());
  return step;
}

ExpansionStep RunTracer::currentStep() const {
  ExpansionStep step;
  if (m_Expansions.empty()) return step;
  step.place = m_Expansions.front().place;
  step.expansion = m_Expansions.back().id;
  step.parent = m_Expansions.size() > 1 ? m_Expansions[m_Expansions.size() - 2].id : 0;
  step.depth = static_cast<int>(m_Expansions.size());
  return step;
}

// ---- Messages -----------------------------------------------------------

void RunTracer::reportMessages() {
  const auto begin = m_Plugin.messagesBegin();
  const auto end = m_Plugin.messagesEnd();
  const auto count = static_cast<std::size_t>(end - begin);
  for (auto it = begin + static_cast<std::ptrdiff_t>(m_ReportedMessages); it != end; ++it) {
    MessageEvent event;
    // A message recorded inside an expansion has offsets into a rescan's
    // text; it belongs to the call that started the expansion.
    if (!m_Expansions.empty()) {
      event.place = m_Expansions.front().place;
    } else if (!m_Files.empty()) {
      FileFrame& frame = m_Files.back();
      event.place = placeIn(frame, frame.begin + std::max(0, it->begin()),
                            frame.begin + std::max(0, it->end()));
    }
    const RecordedMessage& recorded = m_Plugin.recorded()[static_cast<std::size_t>(it - begin)];
    event.severity = severityOfMessage(recorded.kind, recorded.place.inMacroText);
    event.text = it->text();
    m_Observer.message(event);
  }
  m_ReportedMessages = count;
}

// ---- Definitions --------------------------------------------------------

void RunTracer::recordMacro(MacroEntry entry) {
  auto key = std::make_pair(entry.name, entry.kind);
  m_Macros[std::move(key)] = std::move(entry);
}

void RunTracer::objectDefined(const orvo::CVL_ParseState& s, const std::string& name,
                              const std::string& value) {
  reportMessages();
  const char* start = ProductionStart(s);
  MacroDefinedEvent event;
  event.place = placeOf(s, start, start + name.size());
  event.name = name;
  event.kind = MacroKind::ObjectLike;
  event.replacement = value;
  event.redefined = m_Macros.count({name, MacroKind::ObjectLike}) != 0;
  recordMacro(MacroEntry{name, event.kind, {}, value, event.place});
  m_Observer.macroDefined(event);
}

void RunTracer::functionDefined(const orvo::CVL_ParseState& s, const orvo::node& record,
                                const orvo::CVL_Map<std::string, std::string>& parameters) {
  reportMessages();
  MacroDefinedEvent event;
  event.name = record.label();
  const char* start = ProductionStart(s);
  event.place = placeOf(s, start, start + event.name.size());
  event.kind = MacroKind::FunctionLike;
  // The map is ordered by name; the values are the parameters' indices. A
  // repeated name keeps its first index and leaves a later one unnamed.
  std::vector<std::pair<int, std::string>> byIndex;
  for (const auto& [parameter, index] : parameters) byIndex.emplace_back(std::stoi(index), parameter);
  std::sort(byIndex.begin(), byIndex.end());
  for (auto& entry : byIndex) event.parameters.push_back(std::move(entry.second));
  event.replacement = StoredReplacement(record);
  event.redefined = m_Macros.count({event.name, MacroKind::FunctionLike}) != 0;
  recordMacro(MacroEntry{event.name, event.kind, event.parameters, event.replacement, event.place});
  m_Observer.macroDefined(event);
}

void RunTracer::undefined(const orvo::CVL_ParseState& s, const std::string& name) {
  reportMessages();
  const orvo::CVL_Match& token = s.m_Position.m_Current;
  MacroUndefinedEvent event;
  event.place = placeOf(s, token.m_pTokenBegin, token.m_pTokenEnd);
  event.name = name;
  event.removedPredefined = m_Macros.erase({name, MacroKind::Predefined}) != 0;
  event.removedObjectLike = m_Macros.erase({name, MacroKind::ObjectLike}) != 0;
  event.functionLikeStays = m_Macros.count({name, MacroKind::FunctionLike}) != 0;
  m_Observer.macroUndefined(event);
}

// ---- Expansions ---------------------------------------------------------

void RunTracer::noteExpandedInPass(const std::string& name) {
  if (!m_Passes.empty()) m_Passes.back().expanded.push_back(name);
}

int RunTracer::valueInCondition(std::string_view name) const {
  if (m_pParser == nullptr) return 0;
  if (const std::string* value = m_pParser->m_PredefinedMacros.find(name))
    return std::atoi(value->c_str());
  return m_pParser->m_ObjectMacros.find(name) != nullptr ||
                 m_pParser->m_FunctionMacros.find(name) != nullptr
             ? 1
             : 0;
}

bool RunTracer::isBusy(std::string_view name) const {
  if (m_pParser == nullptr || m_pParser->m_PredefinedMacros.find(name) != nullptr) return false;
  const orvo::node* object = m_pParser->m_ObjectMacros.find(name);
  return object != nullptr && orvo::macro_record::IsBusy(*object);
}

void RunTracer::callCollected(const orvo::CVL_ParseState& s, const std::string& name,
                              const char* callBegin,
                              const std::vector<std::string>& arguments,
                              const std::string& countMessage) {
  reportMessages();
  noteExpandedInPass(name);
  const char* callEnd = s.m_Position.m_Current.m_pTokenEnd;
  CallCollectedEvent event;
  static_cast<ExpansionStep&>(event) = stepOpening(s, placeOf(s, callBegin, callEnd), name);
  event.name = name;
  if (callBegin != nullptr && callEnd != nullptr && callBegin <= callEnd)
    event.callText.assign(callBegin, callEnd);
  event.arguments = arguments;
  event.argumentCountMessage = countMessage;
  m_Observer.callCollected(event);
}

void RunTracer::expansionBuilt(const std::vector<std::string>& parts) {
  reportMessages();
  ExpansionBuiltEvent event;
  static_cast<ExpansionStep&>(event) = currentStep();
  if (!m_Expansions.empty()) event.name = m_Expansions.back().name;
  event.parts = parts;
  for (const std::string& part : parts) event.text += part;
  m_Observer.expansionBuilt(event);
}

void RunTracer::callCopiedThrough(std::string_view name) {
  if (!m_Passes.empty()) m_Passes.back().busy.emplace_back(name);
}

void RunTracer::expansionFinished(const std::string& result) {
  reportMessages();
  if (m_Expansions.empty()) return;
  CallFinishedEvent event;
  static_cast<ExpansionStep&>(event) = currentStep();
  event.name = m_Expansions.back().name;
  event.result = result;
  m_Expansions.pop_back();
  m_Observer.callFinished(event);
}

ReplacementEvent RunTracer::replacementOpening(const orvo::CVL_ParseState& s,
                                               std::string_view name, const std::string& value,
                                               MacroKind kind) {
  reportMessages();
  noteExpandedInPass(std::string(name));
  const char* begin = s.m_Position.m_Current.m_pTokenBegin;
  ReplacementEvent event;
  static_cast<ExpansionStep&>(event) =
      stepOpening(s, placeOf(s, begin, begin + name.size()), std::string(name));
  event.name = name;
  event.kind = kind;
  event.value = value;
  return event;
}

void RunTracer::predefinedReplaced(const orvo::CVL_ParseState& s, std::string_view name,
                                   const std::string& value) {
  const ReplacementEvent event = replacementOpening(s, name, value, MacroKind::Predefined);
  m_Expansions.pop_back();  // inserted as it stands: nothing follows
  m_Observer.replaced(event);
}

void RunTracer::objectBegins(const orvo::CVL_ParseState& s, std::string_view name,
                             const std::string& value) {
  m_Observer.replaced(replacementOpening(s, name, value, MacroKind::ObjectLike));
}

void RunTracer::nameInPass(std::string_view name) {
  if (m_Passes.empty() || m_pParser == nullptr) return;
  OpenPass& pass = m_Passes.back();
  if (m_pParser->m_PredefinedMacros.find(name) != nullptr) {
    pass.expanded.emplace_back(name);
  } else if (const orvo::node* object = m_pParser->m_ObjectMacros.find(name)) {
    (orvo::macro_record::IsBusy(*object) ? pass.busy : pass.expanded).emplace_back(name);
  }
}

void RunTracer::passBegins() {
  reportMessages();
  m_Passes.emplace_back();
}

void RunTracer::passEnds(int pass, const std::string& before, const std::string& after) {
  reportMessages();
  if (m_Passes.empty()) return;
  OpenPass open = std::move(m_Passes.back());
  m_Passes.pop_back();
  // A pass that reads no name one by one gives its text back unchanged; the
  // names in it that stayed are the busy ones.
  if (open.expanded.empty() && open.busy.empty() && before == after)
    ForEachIdentifier(before, [&](std::string_view name) {
      if (isBusy(name)) open.busy.emplace_back(name);
    });
  // Blanks alone always vanish; that says nothing about the macros.
  if (before.find_first_not_of(" \t") == std::string::npos) return;
  if (before == after && open.busy.empty()) return;
  RescanPassEvent event;
  static_cast<ExpansionStep&>(event) = currentStep();
  event.pass = pass;
  event.whole = pass == 0;
  event.before = before;
  event.after = after;
  event.expanded = std::move(open.expanded);
  event.busy = std::move(open.busy);
  m_Observer.rescanPass(event);
}

// ---- Conditionals -------------------------------------------------------

void RunTracer::conditional(const orvo::CVL_ParseState& s, int value, bool taken,
                            bool earlierTaken) {
  reportMessages();
  ConditionalEvent event;
  FileFrame* frame = fileOf(s);
  if (frame == nullptr) {
    // Directives are parsed in files only; keep the pairing with
    // branchSkipped all the same.
    if (!taken) m_PendingBranches.push_back(PendingBranch{std::move(event), 0, 0});
    return;
  }
  event.place = placeIn(*frame, s.m_ProdBegin, s.m_ProdEnd);
  // The directive line: "#", blanks, the directive's word, its operand.
  const std::string_view text(s.m_ProdBegin, static_cast<std::size_t>(
                                                 std::max<std::ptrdiff_t>(0, s.m_ProdEnd - s.m_ProdBegin)));
  std::size_t word = text.find_first_not_of("# \t\r\n");
  if (word == std::string_view::npos) word = text.size();
  std::size_t wordEnd = word;
  while (wordEnd < text.size() && IsNameByte(text[wordEnd])) ++wordEnd;
  event.directive = std::string(text.substr(word, wordEnd - word));
  event.expression = Trimmed(text.substr(wordEnd));
  if (event.directive == "if" || event.directive == "elif") {
    ForEachIdentifier(event.expression, [&](std::string_view name) {
      if (name == "defined") return;
      const std::pair<std::string, int> entry(name, valueInCondition(name));
      if (std::find(event.names.begin(), event.names.end(), entry) == event.names.end())
        event.names.push_back(entry);
    });
  }
  event.value = value;
  event.taken = taken;
  event.earlierBranchTaken = earlierTaken;
  if (taken) {
    m_Observer.conditional(event);
    return;
  }
  const int lastLine = lineOf(*frame, event.place.end > event.place.begin ? event.place.end - 1
                                                                          : event.place.begin);
  m_PendingBranches.push_back(PendingBranch{std::move(event), frame->file, lastLine});
}

void RunTracer::branchSkipped(const orvo::CVL_ParseState& s) {
  reportMessages();
  if (m_PendingBranches.empty()) return;
  PendingBranch branch = std::move(m_PendingBranches.back());
  m_PendingBranches.pop_back();
  if (FileFrame* frame = fileOf(s)) {
    // The skip ends in front of the directive that closes the branch (or at
    // the end of the text).
    const char* next = s.m_Position.m_Lookahead.m_pTokenBegin;
    if (next == nullptr || next < frame->begin || next > frame->end) next = frame->end;
    const int offset = static_cast<int>(next - frame->begin);
    const int last = next == frame->end ? lineOf(*frame, std::max(0, offset - 1))
                                        : lineOf(*frame, offset) - 1;
    const int first = branch.directiveLastLine + 1;
    if (first <= last) {
      branch.event.skippedFirstLine = first;
      branch.event.skippedLastLine = last;
      m_Explanation.skipped.push_back(SkippedLines{frame->file, first, last});
    }
  }
  m_Observer.conditional(branch.event);
}

// ---- Includes -----------------------------------------------------------

void RunTracer::includeNotLoaded(const orvo::CVL_ParseState& s, const std::string& name,
                                 const std::string& path) {
  reportMessages();
  const orvo::CVL_Match& token = s.m_Position.m_Current;
  IncludeEvent event;
  event.place = placeOf(s, token.m_pTokenBegin, token.m_pTokenEnd);
  event.name = name;
  event.angled = IsAngled(token);
  event.path = path;
  event.found = !path.empty();
  event.depth = static_cast<int>(m_Files.size());
  m_Observer.includeDirective(event);
}

void RunTracer::includeEntered(const orvo::CVL_ParseState& s, const std::string& name,
                               const std::string& path, const orvo::CVL_ParseState& file,
                               int depth) {
  reportMessages();
  const orvo::CVL_Match& token = s.m_Position.m_Current;
  IncludeEvent event;
  event.place = placeOf(s, token.m_pTokenBegin, token.m_pTokenEnd);
  event.name = name;
  event.angled = IsAngled(token);
  event.path = path;
  event.found = true;
  event.loaded = true;
  event.depth = depth;
  FileFrame frame;
  const auto known = std::find(m_Explanation.files.begin(), m_Explanation.files.end(), path);
  frame.file = static_cast<int>(known - m_Explanation.files.begin());
  if (known == m_Explanation.files.end()) m_Explanation.files.push_back(path);
  frame.source = m_Sources.innermostSourceOf(file);
  frame.begin = file.m_Position.m_pBegin;
  frame.end = file.m_Position.m_pEnd;
  frame.includeName = name;
  frame.depth = depth;
  m_Files.push_back(std::move(frame));
  m_Observer.includeDirective(event);
}

void RunTracer::includeLeft(bool report) {
  if (report) reportMessages();
  if (m_Files.size() <= 1) return;
  if (!report) {
    // Unwinding: nothing may be allocated now.
    m_Files.pop_back();
    return;
  }
  IncludeLeftEvent event;
  event.name = m_Files.back().includeName;
  event.path = m_Explanation.files[static_cast<std::size_t>(m_Files.back().file)];
  event.depth = m_Files.back().depth;
  m_Files.pop_back();
  m_Observer.includeLeft(event);
}

// ---- Output -------------------------------------------------------------

void RunTracer::wrote(const orvo::CVL_ParseState& s, std::string_view text) {
  if (text.empty()) return;
  int file = -1;
  int first = 0;
  int last = 0;
  if (FileFrame* frame = fileOf(s)) {
    const char* end = s.m_Position.m_Current.m_pTokenEnd;
    const char* start = ProductionStart(s);
    if (start == nullptr || start < frame->begin || start > frame->end) start = end;
    const SourcePlace from = placeIn(*frame, start, start);
    const SourcePlace to = placeIn(*frame, end, end);
    file = frame->file;
    first = from.line;
    // A token that ends a line ends on that line, not on the next one.
    last = to.begin > from.begin && frame->begin[to.begin - 1] == '\n' ? lineOf(*frame, to.begin - 1)
                                                                      : to.line;
    last = std::max(first, last);
  } else if (!m_Expansions.empty()) {
    file = m_Expansions.front().file;
    first = last = m_Expansions.front().place.line;
  }
  extendLineMap(file, first, last, text);
}

void RunTracer::extendLineMap(int file, int firstLine, int lastLine, std::string_view text) {
  std::size_t position = 0;
  while (position < text.size()) {
    if (!m_OutputLineOpen) {
      m_Explanation.lineMap.emplace_back();
      m_OutputLineOpen = true;
    }
    LineOrigin& origin = m_Explanation.lineMap.back();
    if (!origin.known() && file >= 0) {
      origin = LineOrigin{file, firstLine, lastLine};
    } else if (origin.file == file) {
      origin.firstLine = std::min(origin.firstLine, firstLine);
      origin.lastLine = std::max(origin.lastLine, lastLine);
    }
    const std::size_t lineEnd = text.find('\n', position);
    if (lineEnd == std::string_view::npos) break;
    m_OutputLineOpen = false;
    position = lineEnd + 1;
  }
}

// ---- End of the run -----------------------------------------------------

RunExplanation RunTracer::finish(const RunError* endingError) {
  reportMessages();
  if (endingError != nullptr) {
    MessageEvent event;
    if (endingError->place) {
      // Worked out by the run from the sources, an included file's too.
      event.place = *endingError->place;
    } else if (endingError->hasPosition() && !m_Files.empty()) {
      FileFrame& main = m_Files.front();
      event.place = placeIn(main, main.begin + std::max(0, endingError->begin),
                            main.begin + std::max(0, endingError->end));
    } else if (!m_Expansions.empty()) {
      // An error raised by an expansion belongs to the call that started it.
      event.place = m_Expansions.front().place;
    }
    event.severity = Severity::Error;
    event.text = endingError->text;
    event.endedRun = true;
    m_Observer.message(event);
  }
  for (auto& [key, entry] : m_Macros) m_Explanation.macros.push_back(std::move(entry));
  m_Macros.clear();
  return std::move(m_Explanation);
}

}  // namespace orvo
