#include "compare/Reasons.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "compare/OutputTokens.h"

namespace orvo::compare {
namespace {

std::string decision(bool taken) { return taken ? "taken" : "not taken"; }

std::string directiveText(const ConditionalEvent& event) {
  return "#" + event.directive + (event.expression.empty() ? "" : " " + event.expression);
}

std::string inQuotes(const std::string& text) { return "'" + text + "'"; }

// "error: TEXT", as the message would be printed.
std::string clause(const Diagnostic& message) {
  return std::string(severityName(message.severity)) + ": " + message.text;
}

std::string gives(const std::string& text) {
  return text.empty() ? "writes nothing" : "gives " + inQuotes(text);
}

bool isError(const std::optional<Diagnostic>& message) {
  return message && message->severity == Severity::Error;
}

// An integer constant with a U or L suffix: its digits and its suffix.
struct SuffixedConstant {
  std::string text;
  std::string suffix;
  unsigned long long value = 0;
};

std::optional<SuffixedConstant> suffixedConstant(const std::string& token) {
  if (token.empty() || token[0] < '0' || token[0] > '9') return std::nullopt;
  std::size_t end = token.size();
  while (end > 0 && std::string_view("uUlL").find(token[end - 1]) != std::string_view::npos) --end;
  if (end == token.size() || end == 0) return std::nullopt;
  const std::string digits = token.substr(0, end);
  char* stop = nullptr;
  const unsigned long long value = std::strtoull(digits.c_str(), &stop, 0);
  if (stop == nullptr || *stop != '\0') return std::nullopt;
  return SuffixedConstant{token, token.substr(end), value};
}

std::vector<SuffixedConstant> suffixedConstants(const std::string& expression) {
  std::vector<SuffixedConstant> found;
  for (const OutputToken& token : tokensOf(expression))
    if (auto constant = suffixedConstant(token.text)) found.push_back(*constant);
  return found;
}

std::string joinedParts(const std::vector<std::string>& parts) {
  std::string text;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) text += i + 1 == parts.size() ? " and " : ", ";
    text += parts[i];
  }
  return text;
}

// The events of a run on one line; empty when there are none.
template <typename Map>
const typename Map::mapped_type& eventsAt(const Map& byLine, const std::string& file, int line) {
  static const typename Map::mapped_type kNone;
  const auto found = byLine.find({file, line});
  return found == byLine.end() ? kNone : found->second;
}

bool hasToken(const std::string& text, const std::string& token) {
  const std::vector<OutputToken> tokens = tokensOf(text);
  return std::any_of(tokens.begin(), tokens.end(), [&](const OutputToken& t) { return t.text == token; });
}

const std::vector<std::string> kCountedNames = {"__LINE__", "__FILE__", "__DATE__", "__TIME__"};

// What standard C gives for a name this preprocessor fixes at 1.
std::string whatStandardGives(const std::string& name) {
  if (name == "__LINE__") return "the line's number";
  if (name == "__FILE__") return "the file's name";
  if (name == "__DATE__") return "the date";
  return "the time";
}

}  // namespace

Explainer::Explainer(const EventLog& main, const EventLog& standard, const RunResult& mainResult,
                     const RunResult& standardResult, const std::vector<std::string>& includeDirectories)
    : m_Main(main), m_Standard(standard) {
  for (const std::string& directory : includeDirectories) {
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::weakly_canonical(directory, error);
    if (!error && !directory.empty()) m_IncludeDirectories.push_back(canonical.string());
  }
  for (const EventLog* log : {&main, &standard})
    for (const LoggedConditional& logged : log->conditionals)
      if (logged.event.skippedFirstLine > 0)
        m_Skipped.emplace_back(logged.event.place.file, logged.event.skippedFirstLine,
                               logged.event.skippedLastLine);
  for (const LoggedConditional& logged : main.conditionals)
    m_MainAt[{logged.event.place.file, logged.event.place.line}].push_back(&logged);
  for (const LoggedConditional& logged : standard.conditionals)
    m_StandardAt[{logged.event.place.file, logged.event.place.line}].push_back(&logged);
  for (const CallCollectedEvent& call : main.calls) m_MainCalls[{call.place.file, call.place.line}].push_back(&call);
  for (const ReplacementEvent& replaced : main.predefined)
    m_MainPredefined[{replaced.place.file, replaced.place.line}].push_back(&replaced);
  for (const ReplacementEvent& replaced : standard.predefined)
    m_StandardPredefined[{replaced.place.file, replaced.place.line}].push_back(&replaced);
  for (const IncludeEvent& include : main.includes)
    m_MainIncludes[{include.place.file, include.place.line}].push_back(&include);
  for (const IncludeEvent& include : standard.includes)
    m_StandardIncludes[{include.place.file, include.place.line}].push_back(&include);
  for (auto [result, errors] : {std::pair{&mainResult, &m_MainErrors}, std::pair{&standardResult, &m_StandardErrors}}) {
    for (const Diagnostic& message : result->diagnostics)
      if (message.severity == Severity::Error && message.place)
        errors->try_emplace({message.place->file, message.place->line}, &message);
    if (result->error && result->error->place)
      errors->try_emplace({result->error->place->file, result->error->place->line}, nullptr);
  }
  for (const RunResult* result : {&mainResult, &standardResult}) {
    if (!result->explanation) continue;
    const RunExplanation& explanation = *result->explanation;
    for (const SkippedLines& lines : explanation.skipped)
      if (lines.file >= 0 && lines.file < static_cast<int>(explanation.files.size()))
        m_Skipped.emplace_back(explanation.files[static_cast<std::size_t>(lines.file)],
                               lines.firstLine, lines.lastLine);
  }
}

bool Explainer::explainPart(Difference& difference, const RowFacts& facts) const {
  // Tokens that differ only in the blanks between them are the spacing rule
  // whatever else the line holds.
  return (!isError(difference.mainMessage) && !isError(difference.standardMessage) &&
          spacingReason(difference, facts)) ||
         includeReason(difference, facts) || callInIfReason(difference, facts) ||
         variadicReason(difference, facts) || predefinedReason(difference, facts) ||
         (inSkippedBranch(facts) && conditionalReason(difference, facts));
}

void Explainer::explain(Difference& difference, const RowFacts& facts) const {
  // Each part's rule and reason, each reason once; the row takes the first
  // rule that is not "other".
  std::vector<Difference> explained;
  bool found = false;
  for (const RowPart& part : facts.parts) {
    Difference piece = difference;
    piece.mainText = part.mainText;
    piece.standardText = part.standardText;
    RowFacts partFacts = facts;
    partFacts.mainGlued = part.mainGlued;
    partFacts.standardGlued = part.standardGlued;
    if (explainPart(piece, partFacts)) found = true;
    else errorReason(piece);
    if (std::none_of(explained.begin(), explained.end(),
                     [&](const Difference& d) { return d.reason == piece.reason; }))
      explained.push_back(std::move(piece));
  }
  if (explained.empty()) {
    errorReason(difference);
    return;
  }
  const auto ruled = std::find_if(explained.begin(), explained.end(),
                                  [](const Difference& d) { return d.rule != "other"; });
  difference.rule = ruled != explained.end() ? ruled->rule : explained.front().rule;
  difference.reason.clear();
  for (const Difference& piece : explained)
    difference.reason += (difference.reason.empty() ? "" : "; also ") + piece.reason;
  if (!found) return;
  // Where standard C stops or warns on this line, the reason says so.
  if (difference.standardMessage && difference.standardMessage->severity != Severity::Note &&
      difference.reason.find(difference.standardMessage->text) == std::string::npos)
    difference.reason += "; standard C: " + clause(*difference.standardMessage);
  if (isError(difference.mainMessage) &&
      difference.reason.find(difference.mainMessage->text) == std::string::npos)
    difference.reason += "; here: " + clause(*difference.mainMessage);
}

void Explainer::explainStop(Difference& difference, const RowFacts& facts) const {
  const Diagnostic& error = *difference.mainMessage;
  std::string token;
  if (error.place && error.place->column > 0 && error.place->end > error.place->begin)
    token = error.place->lineText.substr(
        std::min(error.place->lineText.size(), static_cast<std::size_t>(error.place->column - 1)),
        static_cast<std::size_t>(error.place->end - error.place->begin));
  const std::string standardPart =
      difference.standardMessage ? "standard C: " + clause(*difference.standardMessage)
                                 : std::string("standard C reports no error there");
  const std::string goesOn = facts.standardGoesOn ? ", and it goes on" : ", and it writes nothing after it";
  if (error.text.find("bad lexical cast") != std::string::npos) {
    if (const auto constant = suffixedConstant(token)) {
      difference.rule = "suffix-in-if";
      difference.reason = "here the run ends with an error at " + constant->text +
                          ": in #if a constant is read as digits alone, so the suffix " +
                          constant->suffix + " makes it no number; standard C reads " +
                          constant->text + " as " + std::to_string(constant->value) + goesOn;
      return;
    }
    if (!token.empty() && token.back() == '\'') {
      difference.rule = "other";
      difference.reason = "here the run ends with an error at the character constant " + token +
                          ": in #if a constant is read as digits alone; standard C reads " + token +
                          " as the character's code" + goesOn;
      return;
    }
  }
  difference.rule = "error";
  difference.reason = "here the run ends at this line with " + clause(error) +
                      ", and nothing is written; " + standardPart + goesOn;
}

// Whether the main run found the file below an include directory, not in it.
bool Explainer::foundInSubdirectory(const IncludeEvent& include) const {
  std::error_code error;
  const std::string path = std::filesystem::weakly_canonical(include.path, error).string();
  const std::string tail = "/" + include.name;
  if (error || !path.ends_with(tail)) return false;
  const std::string directory = path.substr(0, path.size() - tail.size());
  return std::any_of(m_IncludeDirectories.begin(), m_IncludeDirectories.end(), [&](const std::string& top) {
    return directory != top && directory.starts_with(top + "/");
  });
}

bool Explainer::includeReason(Difference& difference, const RowFacts& facts) const {
  for (const IncludeEvent* includeEvent : eventsAt(m_MainIncludes, facts.file[kMainSide], facts.line)) {
    const IncludeEvent& include = *includeEvent;
    const auto& others = eventsAt(m_StandardIncludes, facts.file[kStandardSide], facts.line);
    const IncludeEvent* standard = others.empty() ? nullptr : others.back();
    const bool standardFound = standard != nullptr && standard->found;
    const std::string written =
        include.angled ? "<" + include.name + ">" : "\"" + include.name + "\"";
    if (include.found && !standardFound) {
      difference.rule = "recursive-include";
      difference.reason = "here " + written + " is found as " + include.path +
                          ": include directories are searched with their subdirectories; "
                          "standard C searches each directory itself" +
                          (difference.standardMessage ? ": " + clause(*difference.standardMessage)
                                                      : std::string(" and does not find it"));
    } else if (!include.found && !standardFound) {
      difference.rule = "error";
      difference.reason = "here " + written +
                          " is found in no include directory, and the #include line is kept in "
                          "the output as text; standard C" +
                          (difference.standardMessage ? ": " + clause(*difference.standardMessage)
                                                      : std::string(" does not find it either"));
    } else if (!include.found) {
      difference.rule = "other";
      difference.reason = "here " + written + " is found in no include directory; standard C finds it as " +
                          standard->path;
    } else if (include.path != standard->path && foundInSubdirectory(include)) {
      difference.rule = "recursive-include";
      difference.reason = "here " + written + " is found first as " + include.path +
                          ": include directories are searched with their subdirectories; standard C "
                          "searches each directory itself and finds " + standard->path;
    } else if (include.path != standard->path) {
      difference.rule = "other";
      difference.reason = "here " + written + " is found as " + include.path +
                          "; standard C finds " + standard->path;
    } else {
      continue;
    }
    return true;
  }
  return false;
}

bool Explainer::callInIfReason(Difference& difference, const RowFacts& facts) const {
  for (const LoggedConditional* loggedEvent : eventsAt(m_MainAt, facts.file[kMainSide], facts.line)) {
    const LoggedConditional& logged = *loggedEvent;
    if (logged.functionLike.empty()) continue;
    const std::string& name = logged.functionLike.front();
    const auto& others = eventsAt(m_StandardAt, facts.file[kStandardSide], facts.line);
    const LoggedConditional* standard = others.empty() ? nullptr : others.back();
    difference.rule = "function-call-in-if";
    difference.reason =
        "here " + name + " is not expanded in #" + logged.event.directive + ": " + name +
        " counts as 1 and the text after it" +
        (difference.mainText.empty() ? std::string() : ", " + inQuotes(difference.mainText) + ",") +
        " is written to the output (the condition is " + std::to_string(logged.event.value) + ": " +
        decision(logged.event.taken) + "); standard C expands the call" +
        (standard == nullptr ? std::string()
                             : ", so `" + standard->event.expression + "` is " +
                                   std::to_string(standard->event.value) + ": " +
                                   decision(standard->event.taken));
    return true;
  }
  return false;
}

bool Explainer::variadicReason(Difference& difference, const RowFacts& facts) const {
  for (const CallCollectedEvent* callEvent : eventsAt(m_MainCalls, facts.file[kMainSide], facts.line)) {
    const CallCollectedEvent& call = *callEvent;
    const auto found = m_Main.everDefined.find(call.name);
    if (found == m_Main.everDefined.end()) continue;
    const MacroDefinedEvent& macro = found->second;
    const bool variadic =
        std::any_of(macro.parameters.begin(), macro.parameters.end(),
                    [](const std::string& p) { return p.find("...") != std::string::npos; }) ||
        macro.replacement.find("__VA_ARGS__") != std::string::npos;
    if (!variadic) continue;
    const std::size_t takes = macro.parameters.size();
    const std::size_t passed = call.arguments.size();
    difference.rule = "variadic";
    difference.reason =
        "here " + call.name + " is no variadic macro: its ... takes no extra arguments and "
        "__VA_ARGS__ stays as written" +
        (passed != takes ? ", so the call passes " + std::to_string(passed) + " argument" +
                               (passed == 1 ? "" : "s") + " to a macro that takes " +
                               std::to_string(takes) + " (a warning)"
                         : std::string()) +
        "; standard C passes the extra arguments as __VA_ARGS__";
    return true;
  }
  return false;
}

bool Explainer::predefinedReason(Difference& difference, const RowFacts& facts) const {
  auto standardValue = [&](const std::string& name) -> std::optional<std::string> {
    for (const ReplacementEvent* replaced : eventsAt(m_StandardPredefined, facts.file[kStandardSide], facts.line))
      if (replaced->name == name) return replaced->value;
    return std::nullopt;
  };
  for (const ReplacementEvent* replacedEvent : eventsAt(m_MainPredefined, facts.file[kMainSide], facts.line)) {
    const ReplacementEvent& replaced = *replacedEvent;
    // Its value here, or its name or value in standard C, lies in this part.
    if (!hasToken(difference.mainText, replaced.value) && !hasToken(difference.standardText, replaced.name))
      continue;
    if (std::find(kCountedNames.begin(), kCountedNames.end(), replaced.name) != kCountedNames.end()) {
      const std::optional<std::string> value = standardValue(replaced.name);
      difference.rule = "predefined-values";
      difference.reason = "here " + replaced.name + " is always " + replaced.value +
                          "; standard C gives " + whatStandardGives(replaced.name) + ", " +
                          (value && !value->empty() ? *value : difference.standardText);
    } else {
      difference.rule = "own-predefined";
      difference.reason = "here " + replaced.name + " is predefined as " + replaced.value +
                          "; standard C does not define it and keeps the name";
    }
    return true;
  }
  // A name standard C predefines and this preprocessor does not (__STDC__).
  for (const ReplacementEvent* replacedEvent :
       eventsAt(m_StandardPredefined, facts.file[kStandardSide], facts.line)) {
    const ReplacementEvent& replaced = *replacedEvent;
    if (std::find(kCountedNames.begin(), kCountedNames.end(), replaced.name) != kCountedNames.end())
      continue;
    if (!hasToken(difference.mainText, replaced.name)) continue;
    difference.rule = "own-predefined";
    difference.reason = "here " + replaced.name + " is not predefined and stays as written; standard C "
                        "predefines it as " + replaced.value;
    return true;
  }
  return false;
}

// The conditional nearest above the line, in the same file, that the two
// runs decided differently; for an #else (or an #elif whose own condition
// both runs value alike) the branch above it is what differs.
bool Explainer::conditionalReason(Difference& difference, const RowFacts& facts) const {
  const LoggedConditional* best = nullptr;
  const LoggedConditional* bestStandard = nullptr;
  // From the line upwards, the first conditional both runs met and decided differently.
  auto at = m_MainAt.upper_bound({facts.file[kMainSide], facts.line});
  while (best == nullptr && at != m_MainAt.begin()) {
    --at;
    if (at->first.first != facts.file[kMainSide]) break;
    const auto standard = m_StandardAt.find({facts.file[kStandardSide], at->first.second});
    if (standard == m_StandardAt.end()) continue;
    for (const LoggedConditional* main : at->second)
      for (const LoggedConditional* other : standard->second)
        if (best == nullptr && other->event.taken != main->event.taken) {
          best = main;
          bestStandard = other;
        }
  }
  if (best == nullptr) return false;
  const ConditionalEvent& mainEvent = best->event;
  const ConditionalEvent& standardEvent = bestStandard->event;
  // A directive either run reported an error on decides nothing a learner
  // should read as a rule: the error is the reason.
  const auto mainError = m_MainErrors.find({mainEvent.place.file, mainEvent.place.line});
  const auto standardError = m_StandardErrors.find({standardEvent.place.file, standardEvent.place.line});
  if (mainError != m_MainErrors.end() || standardError != m_StandardErrors.end()) {
    const auto said = [](const auto& found, const auto& all, const std::string& none) {
      if (found == all.end()) return none;
      return "reports " + (found->second != nullptr ? clause(*found->second) : std::string("the error that ended its run"));
    };
    difference.rule = "error";
    difference.reason = directiveText(mainEvent) + " (line " + std::to_string(mainEvent.place.line) +
                        ") has an error: here it " + said(mainError, m_MainErrors, "reports none") +
                        " and the branch is " + decision(mainEvent.taken) + "; standard C " +
                        said(standardError, m_StandardErrors, "reports none") + " and the branch is " +
                        decision(standardEvent.taken);
    return true;
  }
  const bool decidedAbove = mainEvent.directive == "else" ||
                            (mainEvent.directive == "elif" && mainEvent.value == standardEvent.value &&
                             mainEvent.earlierBranchTaken != standardEvent.earlierBranchTaken);
  if (decidedAbove && mainEvent.place.line > 1) {
    Difference above = difference;
    RowFacts aboveFacts = facts;
    aboveFacts.line = mainEvent.place.line - 1;
    if (conditionalReason(above, aboveFacts)) {
      difference.rule = above.rule;
      difference.reason = "the #" + mainEvent.directive + " on line " +
                          std::to_string(mainEvent.place.line) + " is " + decision(mainEvent.taken) +
                          " here and " + decision(standardEvent.taken) + " in standard C, because of " +
                          above.reason;
      return true;
    }
  }
  const std::string lead = directiveText(mainEvent) + " (line " + std::to_string(mainEvent.place.line) + "): ";
  if (mainEvent.directive == "ifdef" || mainEvent.directive == "ifndef") {
    const std::string& name = mainEvent.expression;
    const bool userDefined = m_Main.macro(name) != nullptr;
    const bool definedHere = mainEvent.value == (mainEvent.directive == "ifdef");
    const bool definedThere = standardEvent.value == (standardEvent.directive == "ifdef");
    difference.rule = userDefined ? "other" : "own-predefined";
    difference.reason =
        lead + "here " + name +
        (definedHere ? (userDefined ? " is defined" : " is predefined")
                     : (userDefined ? " is not defined" : " is not predefined")) +
        ", so it is " + decision(mainEvent.taken) + "; standard C " +
        (definedThere ? "defines " + name : "does not define " + name) + ": " +
        decision(standardEvent.taken);
    return true;
  }
  // What each name and each suffixed constant counted as in each run.
  std::vector<std::string> here, there;
  bool userMacro = false, ownName = false;
  for (const auto& [name, value] : mainEvent.names) {
    const auto definition = best->definitions.find(name);
    const bool defined = definition != best->definitions.end() && definition->second.has_value();
    if (std::find(best->functionLike.begin(), best->functionLike.end(), name) != best->functionLike.end()) {
      here.push_back(name + " counts as " + std::to_string(value) +
                     " (a function-like macro is not called in #if)");
    } else if (defined) {
      userMacro = true;
      here.push_back(name + " counts as " + std::to_string(value) +
                     " (a defined macro's value is not used)");
    } else if (value != 0) {
      ownName = true;
      here.push_back(name + " counts as " + std::to_string(value) + " (predefined here)");
    } else {
      here.push_back(name + " counts as 0 (no macro)");
    }
  }
  for (const auto& [name, definition] : bestStandard->definitions) {
    const auto known = std::find_if(standardEvent.names.begin(), standardEvent.names.end(),
                                    [&](const auto& entry) { return entry.first == name; });
    if (std::find(bestStandard->functionLike.begin(), bestStandard->functionLike.end(), name) !=
        bestStandard->functionLike.end())
      there.push_back("the call of " + name + " is expanded");
    else if (definition)
      there.push_back(name + " is " + (definition->empty() ? std::string("empty") : *definition));
    else if (known != standardEvent.names.end() && known->second != 0)
      there.push_back(name + " is " + std::to_string(known->second));
    else
      there.push_back(name + " is no macro, so 0");
  }
  const std::vector<SuffixedConstant> constants = suffixedConstants(mainEvent.expression);
  for (const SuffixedConstant& constant : constants) {
    here.push_back(constant.text + " counts as 0 (a constant with a suffix is not read as a number)");
    there.push_back(constant.text + " is " + std::to_string(constant.value));
  }
  difference.reason = lead + "here " + (here.empty() ? std::string() : joinedParts(here) + ", so ") +
                      "`" + mainEvent.expression + "` is " + std::to_string(mainEvent.value) + ": " +
                      decision(mainEvent.taken) + "; in standard C " +
                      (there.empty() ? std::string() : joinedParts(there) + ", so ") + "it is " +
                      std::to_string(standardEvent.value) + ": " + decision(standardEvent.taken);
  if (!best->functionLike.empty()) difference.rule = "function-call-in-if";
  else if (userMacro) difference.rule = "macro-value-in-if";
  else if (!constants.empty()) difference.rule = "suffix-in-if";
  else if (ownName) difference.rule = "own-predefined";
  else difference.rule = "other";
  return true;
}

bool Explainer::spacingReason(Difference& difference, const RowFacts& facts) const {
  if (facts.mainGlued != facts.standardGlued) return false;
  const auto& calls = eventsAt(m_MainCalls, facts.file[kMainSide], facts.line);
  const CallCollectedEvent* call = calls.empty() ? nullptr : calls.front();
  if (call == nullptr) {
    difference.rule = "other";
    difference.reason = "here the tokens run together as " + inQuotes(difference.mainText) +
                        " without a macro call on this line; standard C keeps them apart: " +
                        inQuotes(difference.standardText);
    return true;
  }
  difference.rule = "spacing";
  difference.reason = "here the call " + call->callText + " gives " + inQuotes(difference.mainText) +
                      ", whose tokens run together: an argument loses the blanks before it and "
                      "no blank keeps tokens apart; standard C gives " +
                      inQuotes(difference.standardText);
  return true;
}

void Explainer::errorReason(Difference& difference) const {
  if (!isError(difference.mainMessage) && !isError(difference.standardMessage)) {
    difference.rule = "other";
    difference.reason = "here the line " + gives(difference.mainText) + "; standard C " +
                        gives(difference.standardText);
    // A name only standard C knows as a macro: its definition was in a file
    // this run did not read, or read another way.
    for (const OutputToken& token : tokensOf(difference.mainText)) {
      const auto standard = m_Standard.everDefined.find(token.text);
      if (standard == m_Standard.everDefined.end() || m_Main.everDefined.count(token.text)) continue;
      difference.reason += ": " + token.text + " is no macro here; standard C defines it at " +
                           standard->second.place.file + ":" + std::to_string(standard->second.place.line);
      break;
    }
    return;
  }
  difference.rule = "error";
  difference.reason =
      "here the line " + gives(difference.mainText) +
      (difference.mainMessage ? ", with " + clause(*difference.mainMessage) : std::string(" without an error")) +
      "; standard C: " +
      (difference.standardMessage ? clause(*difference.standardMessage) : std::string("no error")) +
      ", and it " + gives(difference.standardText);
}

bool Explainer::inSkippedBranch(const RowFacts& facts) const {
  return std::any_of(m_Skipped.begin(), m_Skipped.end(), [&](const auto& range) {
    return (std::get<0>(range) == facts.file[kMainSide] || std::get<0>(range) == facts.file[kStandardSide]) &&
           std::get<1>(range) <= facts.line && facts.line <= std::get<2>(range);
  });
}

}  // namespace orvo::compare
