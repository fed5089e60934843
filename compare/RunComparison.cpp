#include "orvo/Comparison.h"

#include <algorithm>
#include <map>
#include <regex>
#include <tuple>

#include "compare/ObserverPair.h"
#include "compare/OutputTokens.h"
#include "orvo/StandardRun.h"

namespace orvo::compare {
namespace {

// ---- What each run did, as far as reasons need it ---------------------------

struct LoggedConditional {
  ConditionalEvent event;
  // The text each name of the expression stood for when the directive was
  // met: a macro's replacement, or nothing when the name was no macro.
  std::map<std::string, std::optional<std::string>> definitions;
};

class EventLog : public RunObserver {
 public:
  void macroDefined(const MacroDefinedEvent& event) override {
    m_Macros[event.name] = event;
    everDefined[event.name] = event;
  }
  void macroUndefined(const MacroUndefinedEvent& event) override { m_Macros.erase(event.name); }
  void callCollected(const CallCollectedEvent& event) override { calls.push_back(event); }
  void replaced(const ReplacementEvent& event) override {
    if (event.kind == MacroKind::Predefined) predefined.push_back(event);
  }
  void conditional(const ConditionalEvent& event) override {
    LoggedConditional logged{event, {}};
    // Names, not the suffixes of numbers (10UL).
    static const std::regex kName("(^|[^A-Za-z0-9_.])([A-Za-z_][A-Za-z0-9_]*)");
    for (std::sregex_iterator it(event.expression.begin(), event.expression.end(), kName), end;
         it != end; ++it) {
      const std::string name = (*it)[2].str();
      if (name == "defined") continue;
      const auto found = m_Macros.find(name);
      logged.definitions[name] =
          found == m_Macros.end() ? std::nullopt : std::optional(found->second.replacement);
    }
    conditionals.push_back(std::move(logged));
  }
  void includeDirective(const IncludeEvent& event) override { includes.push_back(event); }

  const MacroDefinedEvent* macro(const std::string& name) const {
    const auto found = m_Macros.find(name);
    return found == m_Macros.end() ? nullptr : &found->second;
  }

  std::vector<CallCollectedEvent> calls;
  std::vector<ReplacementEvent> predefined;
  std::vector<LoggedConditional> conditionals;
  std::vector<IncludeEvent> includes;
  // The last definition of each name, also of names undefined since, for
  // calls made before the #undef.
  std::map<std::string, MacroDefinedEvent> everDefined;

 private:
  // The definitions in force.
  std::map<std::string, MacroDefinedEvent> m_Macros;
};

bool samePlace(const SourcePlace& place, const std::string& file, int line) {
  return place.file == file && place.line == line;
}

// ---- The token diff ---------------------------------------------------------

struct Hunk {
  std::size_t a0, a1, b0, b1;  // [a0, a1) of the main tokens, [b0, b1) of the standard ones
};

// Most edits the diff looks for before it lists the rest as one difference;
// its memory grows with the square of this.
constexpr int kMaxEdits = 4000;

// The shortest edit script (Myers) between the token texts, as hunks.
std::vector<Hunk> diff(const std::vector<OutputToken>& a, const std::vector<OutputToken>& b) {
  std::size_t start = 0;
  while (start < a.size() && start < b.size() && a[start].text == b[start].text) ++start;
  std::size_t endA = a.size(), endB = b.size();
  while (endA > start && endB > start && a[endA - 1].text == b[endB - 1].text) --endA, --endB;
  if (start == endA && start == endB) return {};
  const int n = static_cast<int>(endA - start), m = static_cast<int>(endB - start);
  auto same = [&](int x, int y) { return a[start + x].text == b[start + y].text; };
  const int offset = std::min(n + m, kMaxEdits) + 1;
  std::vector<int> v(2 * offset + 1, 0);
  std::vector<std::vector<int>> trace;
  int found = -1;
  for (int d = 0; d <= std::min(n + m, kMaxEdits) && found < 0; ++d) {
    trace.emplace_back(v.begin() + offset - d, v.begin() + offset + d + 1);
    for (int k = -d; k <= d; k += 2) {
      int x = (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1])) ? v[offset + k + 1]
                                                                             : v[offset + k - 1] + 1;
      int y = x - k;
      while (x < n && y < m && same(x, y)) ++x, ++y;
      v[offset + k] = x;
      if (x >= n && y >= m) {
        found = d;
        break;
      }
    }
  }
  if (found < 0) return {Hunk{start, endA, start, endB}};
  // Walks back through the saved frontiers, marking each step that is no match.
  std::vector<std::pair<int, int>> path;  // points (x, y) from the end to the start
  int x = n, y = m;
  for (int d = found; d > 0; --d) {
    // The frontier before step d, indexed by diagonal k + d.
    const std::vector<int>& before = trace[d];
    auto frontier = [&](int kk) { return before[kk + d]; };
    const int k = x - y;
    const bool down = k == -d || (k != d && frontier(k - 1) < frontier(k + 1));
    const int prevK = down ? k + 1 : k - 1;
    const int prevX = frontier(prevK);
    const int prevY = prevX - prevK;
    while (x > prevX && y > prevY) --x, --y;  // the matches after the edit
    path.emplace_back(x, y);
    x = prevX;
    y = prevY;
  }
  std::reverse(path.begin(), path.end());
  // Each point is the end of one edit: merge runs of edits into hunks.
  std::vector<Hunk> hunks;
  x = 0;
  y = 0;
  for (const auto& [px, py] : path) {
    // One edit leads to (px, py) from (px - 1, py) or (px, py - 1).
    const bool deleted = px - py > x - y;
    const int fromX = deleted ? px - 1 : px, fromY = deleted ? py : py - 1;
    const std::size_t ax = start + fromX, by = start + fromY;
    if (!hunks.empty() && hunks.back().a1 == ax && hunks.back().b1 == by) {
      hunks.back().a1 = start + px;
      hunks.back().b1 = start + py;
    } else {
      hunks.push_back(Hunk{ax, start + px, by, start + py});
    }
    x = px;
    y = py;
  }
  return hunks;
}

// ---- Reasons ------------------------------------------------------------------

std::string joined(const std::vector<OutputToken>& tokens, std::size_t from, std::size_t to) {
  std::string text;
  for (std::size_t i = from; i < to; ++i) {
    if (!text.empty()) text += ' ';
    text += tokens[i].text;
  }
  return text;
}

std::string glued(const std::vector<OutputToken>& tokens, std::size_t from, std::size_t to) {
  std::string text;
  for (std::size_t i = from; i < to; ++i) text += tokens[i].text;
  return text;
}

std::string decision(bool taken) { return taken ? "taken" : "not taken"; }

std::string directiveText(const ConditionalEvent& event) {
  return "#" + event.directive + (event.expression.empty() ? "" : " " + event.expression);
}

bool hasSuffixedConstant(const std::string& expression) {
  static const std::regex kSuffixed("\\b[0-9][0-9A-Fa-fxX]*([uU][lL]{0,2}|[lL]{1,2}[uU]?)\\b");
  return std::regex_search(expression, kSuffixed);
}

class Explainer {
 public:
  // `skipped`: the branches either run left out, as file, first and last line.
  Explainer(const EventLog& main, const EventLog& standard,
            std::vector<std::tuple<std::string, int, int>> skipped)
      : m_Main(main), m_Standard(standard), m_Skipped(std::move(skipped)) {}

  // Fills rule and reason of a difference at input line `line` of `file`.
  void explain(Difference& difference, const std::string& file, int line,
               const std::string& mainGlued, const std::string& standardGlued) const {
    if (includeReason(difference, file, line)) return;
    if (callInIfReason(difference, file, line)) return;
    if (variadicReason(difference, file, line)) return;
    if (predefinedReason(difference, file, line)) return;
    // Only a line in a branch that one of the runs left out differs by a conditional.
    if (inSkippedBranch(file, line) && conditionalReason(difference, file, line)) return;
    if (mainGlued == standardGlued) {
      difference.rule = "spacing";
      const CallCollectedEvent* call = callOn(m_Main, file, line);
      difference.reason =
          (call != nullptr ? "here the call " + call->callText + " gives " : std::string("here ")) +
          "'" + difference.mainText + "', whose tokens run together: an argument loses the "
          "blanks before it and no blank keeps tokens apart; standard C gives '" +
          difference.standardText + "'";
      return;
    }
    difference.rule = "other";
    difference.reason = "here '" + difference.mainText + "'; standard C gives '" +
                        difference.standardText + "'";
  }

 private:
  static const CallCollectedEvent* callOn(const EventLog& log, const std::string& file, int line) {
    for (const CallCollectedEvent& call : log.calls)
      if (samePlace(call.place, file, line)) return &call;
    return nullptr;
  }

  bool includeReason(Difference& difference, const std::string& file, int line) const {
    for (const IncludeEvent& include : m_Main.includes) {
      if (!include.found) continue;
      const bool here = samePlace(include.place, file, line) || include.path == file;
      if (!here) continue;
      std::string standardPath;
      for (const IncludeEvent& other : m_Standard.includes)
        if (other.place.file == include.place.file && other.place.line == include.place.line)
          standardPath = other.path;
      if (standardPath == include.path) continue;
      difference.rule = "recursive-include";
      const std::string written = include.angled ? "<" + include.name + ">" : "\"" + include.name + "\"";
      difference.reason = "here " + written + " is found as " + include.path +
                          " by searching the include directories with their subdirectories; "
                          "standard C: " + (standardPath.empty() ? "not found" : "finds " + standardPath);
      return true;
    }
    return false;
  }

  bool callInIfReason(Difference& difference, const std::string& file, int line) const {
    for (const LoggedConditional& logged : m_Main.conditionals) {
      if (!samePlace(logged.event.place, file, line)) continue;
      for (const auto& [name, value] : logged.event.names) {
        const MacroDefinedEvent* macro = m_Main.macro(name);
        if (macro == nullptr || macro->kind != MacroKind::FunctionLike) continue;
        // The standard run's view of the directive holds the whole condition.
        std::string directive = directiveText(logged.event);
        for (const LoggedConditional& standard : m_Standard.conditionals)
          if (samePlace(standard.event.place, file, line)) directive = directiveText(standard.event);
        difference.rule = "function-call-in-if";
        difference.reason = "here the call of " + name + " in " + directive +
                            " is not expanded: the text after the name is written out ('" +
                            difference.mainText + "') and " + name + " counts " +
                            std::to_string(value) + "; standard C expands the call in the condition";
        return true;
      }
    }
    return false;
  }

  bool variadicReason(Difference& difference, const std::string& file, int line) const {
    for (const CallCollectedEvent& call : m_Main.calls) {
      if (!samePlace(call.place, file, line)) continue;
      const auto found = m_Main.everDefined.find(call.name);
      if (found == m_Main.everDefined.end()) continue;
      const MacroDefinedEvent& macro = found->second;
      const bool variadic =
          std::any_of(macro.parameters.begin(), macro.parameters.end(),
                      [](const std::string& p) { return p.find("...") != std::string::npos; }) ||
          macro.replacement.find("__VA_ARGS__") != std::string::npos;
      if (!variadic) continue;
      difference.rule = "variadic";
      difference.reason = "here " + call.name + " is no variadic macro" +
                          (call.argumentCountMessage.empty() ? std::string()
                                                             : " (" + call.argumentCountMessage + ")") +
                          " and __VA_ARGS__ stays as written; standard C passes the extra "
                          "arguments as __VA_ARGS__ and gives '" + difference.standardText + "'";
      return true;
    }
    return false;
  }

  bool predefinedReason(Difference& difference, const std::string& file, int line) const {
    for (const ReplacementEvent& replaced : m_Main.predefined) {
      if (!samePlace(replaced.place, file, line)) continue;
      if (difference.mainText.find(replaced.value) == std::string::npos &&
          difference.standardText.find(replaced.name) == std::string::npos)
        continue;
      static const std::vector<std::string> kCounted = {"__LINE__", "__FILE__", "__DATE__", "__TIME__"};
      const bool counted = std::find(kCounted.begin(), kCounted.end(), replaced.name) != kCounted.end();
      difference.rule = counted ? "predefined-values" : "own-predefined";
      difference.reason =
          "here " + replaced.name + " is predefined as " + replaced.value + "; standard C: " +
          (counted ? "it gives '" + difference.standardText + "'" : replaced.name + " is not defined");
      return true;
    }
    return false;
  }

  // The conditional nearest above the line, in the same file, that the two
  // runs decided differently.
  bool conditionalReason(Difference& difference, const std::string& file, int line) const {
    const LoggedConditional* best = nullptr;
    const LoggedConditional* bestStandard = nullptr;
    for (const LoggedConditional& main : m_Main.conditionals) {
      if (main.event.place.file != file || main.event.place.line > line) continue;
      for (const LoggedConditional& standard : m_Standard.conditionals) {
        if (standard.event.place.file != file || standard.event.place.line != main.event.place.line)
          continue;
        if (standard.event.taken == main.event.taken) continue;
        if (best == nullptr || main.event.place.line > best->event.place.line) {
          best = &main;
          bestStandard = &standard;
        }
      }
    }
    if (best == nullptr) return false;
    // An #else differs because a branch above it does: that one is the reason.
    if (best->event.directive == "else" && best->event.place.line > 1) {
      Difference above = difference;
      if (conditionalReason(above, file, best->event.place.line - 1)) {
        difference.rule = above.rule;
        difference.reason = "#else at line " + std::to_string(best->event.place.line) + " is " +
                            decision(best->event.taken) + " here and " +
                            decision(bestStandard->event.taken) + " in standard C, after " +
                            above.reason;
        return true;
      }
    }
    const ConditionalEvent& mainEvent = best->event;
    const ConditionalEvent& standardEvent = bestStandard->event;
    std::string here, standard;
    bool userMacro = false, ownName = false;
    if (mainEvent.directive == "ifdef" || mainEvent.directive == "ifndef") {
      const std::string& name = mainEvent.expression;
      const bool userDefined = m_Main.macro(name) != nullptr;
      ownName = !userDefined;
      here = name + (mainEvent.value == (mainEvent.directive == "ifdef")
                         ? (userDefined ? " is defined" : " is predefined")
                         : " is not defined");
      standard = name + (standardEvent.value == (standardEvent.directive == "ifdef")
                             ? " is defined"
                             : " is not defined");
    } else {
      for (const auto& [name, value] : mainEvent.names) {
        if (!here.empty()) here += ", ";
        here += name + " counts " + std::to_string(value);
        if (m_Main.macro(name) != nullptr) userMacro = true;
        else if (value != 0) ownName = true;
      }
      for (const auto& definition : bestStandard->definitions) {
        const std::string& name = definition.first;
        const std::optional<std::string>& text = definition.second;
        if (!standard.empty()) standard += ", ";
        const auto known = std::find_if(standardEvent.names.begin(), standardEvent.names.end(),
                                        [&](const auto& entry) { return entry.first == name; });
        if (text) standard += name + " is " + *text;
        else if (known != standardEvent.names.end() && known->second != 0)
          standard += name + " is " + std::to_string(known->second);
        else standard += name + " is no macro";
      }
    }
    const std::string lead = directiveText(mainEvent) + ": here ";
    difference.reason = lead + (here.empty() ? std::string() : here + " → ") +
                        std::to_string(mainEvent.value) + ", " + decision(mainEvent.taken) +
                        "; standard C: " + (standard.empty() ? std::string() : standard + " → ") +
                        std::to_string(standardEvent.value) + ", " + decision(standardEvent.taken);
    if (hasSuffixedConstant(mainEvent.expression)) difference.rule = "suffix-in-if";
    else if (userMacro) difference.rule = "macro-value-in-if";
    else if (ownName) difference.rule = "own-predefined";
    else difference.rule = "other";
    return true;
  }

  bool inSkippedBranch(const std::string& file, int line) const {
    return std::any_of(m_Skipped.begin(), m_Skipped.end(), [&](const auto& range) {
      return std::get<0>(range) == file && std::get<1>(range) <= line && line <= std::get<2>(range);
    });
  }

  const EventLog& m_Main;
  const EventLog& m_Standard;
  std::vector<std::tuple<std::string, int, int>> m_Skipped;
};

// The branches a run left out: from its conditionals' events, and from its
// explanation's skipped lines.
void addSkipped(const EventLog& log, const RunResult& result,
                std::vector<std::tuple<std::string, int, int>>& skipped) {
  for (const LoggedConditional& logged : log.conditionals)
    if (logged.event.skippedFirstLine > 0)
      skipped.emplace_back(logged.event.place.file, logged.event.skippedFirstLine,
                           logged.event.skippedLastLine);
  if (!result.explanation) return;
  for (const SkippedLines& lines : result.explanation->skipped)
    if (lines.file >= 0 && lines.file < static_cast<int>(result.explanation->files.size()))
      skipped.emplace_back(result.explanation->files[lines.file], lines.firstLine, lines.lastLine);
}

// The input place an output line came from.
std::optional<SourcePlace> placeOf(const RunResult& result, int outputLine,
                                   std::string_view input, const std::string& inputName) {
  if (!result.explanation || outputLine <= 0) return std::nullopt;
  const LineOrigin origin = result.explanation->originOf(outputLine);
  if (!origin.known() || origin.file >= static_cast<int>(result.explanation->files.size()))
    return std::nullopt;
  SourcePlace place;
  place.file = result.explanation->files[origin.file];
  place.line = origin.firstLine;
  place.column = 1;
  place.inMainInput = place.file == inputName;
  if (place.inMainInput) {
    std::size_t from = 0;
    for (int l = 1; l < place.line && from != std::string_view::npos; ++l) {
      from = input.find('\n', from);
      if (from != std::string_view::npos) ++from;
    }
    if (from != std::string_view::npos) {
      const std::size_t to = std::min(input.find_first_of("\r\n", from), input.size());
      place.begin = static_cast<int>(from);
      place.end = static_cast<int>(from);
      place.lineText = std::string(input.substr(from, std::min(to - from, SourcePlace::kMaxLineTextBytes)));
    }
  }
  return place;
}

}  // namespace

Comparison compareRuns(std::string_view input, const RunOptions& options,
                       RunObserver* mainObserver, RunObserver* standardObserver) {
  Comparison comparison;
  EventLog mainLog, standardLog;
  ObserverPair mainEvents(mainLog, mainObserver);
  ObserverPair standardEvents(standardLog, standardObserver);
  RunOptions mainOptions = options;
  mainOptions.observer = &mainEvents;
  RunOptions standardOptions = options;
  standardOptions.observer = &standardEvents;
  comparison.main = runPreprocessor(input, mainOptions);
  comparison.standard = runStandardC(input, standardOptions);
  if (!comparison.standard.ok()) {
    comparison.trouble = "the standard C run ended: " + comparison.standard.error->text;
    return comparison;
  }
  std::vector<std::tuple<std::string, int, int>> skipped;
  addSkipped(mainLog, comparison.main, skipped);
  addSkipped(standardLog, comparison.standard, skipped);
  const Explainer explainer(mainLog, standardLog, std::move(skipped));
  if (!comparison.main.ok()) {
    const RunError& error = *comparison.main.error;
    Difference difference;
    difference.place = error.place;
    difference.mainText = "(no output: " + error.text + ")";
    difference.standardText = comparison.standard.output.substr(0, 200);
    difference.mainLine = 0;
    difference.standardLine = 1;
    if (error.text.find("bad lexical cast") != std::string::npos) {
      difference.rule = "suffix-in-if";
      difference.reason = "here the run ends with \"" + error.text +
                          "\" at a constant with a suffix; standard C reads the suffix as part "
                          "of the constant";
    } else {
      difference.rule = "other";
      difference.reason = "here the run ends with the error \"" + error.text + "\"; standard C goes on";
    }
    comparison.differences.push_back(std::move(difference));
    return comparison;
  }

  const std::vector<OutputToken> mainTokens = tokensOf(comparison.main.output);
  const std::vector<OutputToken> standardTokens = tokensOf(comparison.standard.output);
  const std::vector<Hunk> hunks = diff(mainTokens, standardTokens);
  auto lineOf = [](const std::vector<OutputToken>& tokens, std::size_t from, std::size_t to) {
    if (from < to || from < tokens.size()) return tokens[from].line;
    return tokens.empty() ? 0 : tokens.back().line;
  };
  auto originLine = [&](const RunResult& result, int outputLine) {
    const std::optional<SourcePlace> place = placeOf(result, outputLine, input, options.inputName);
    return place ? std::make_pair(place->file, place->line) : std::make_pair(std::string(), 0);
  };
  // A replacement whose two sides came from different input lines (a
  // branch taken by one run only, another by the other) is two differences.
  std::vector<Hunk> pieces;
  for (const Hunk& hunk : hunks) {
    if (hunk.a0 < hunk.a1 && hunk.b0 < hunk.b1 &&
        originLine(comparison.main, mainTokens[hunk.a0].line) !=
            originLine(comparison.standard, standardTokens[hunk.b0].line)) {
      // In the order of their input lines, when both lie in one file.
      const auto mainOrigin = originLine(comparison.main, mainTokens[hunk.a0].line);
      const auto standardOrigin = originLine(comparison.standard, standardTokens[hunk.b0].line);
      const Hunk removed{hunk.a0, hunk.a1, hunk.b0, hunk.b0};
      const Hunk added{hunk.a1, hunk.a1, hunk.b0, hunk.b1};
      const bool addedFirst =
          mainOrigin.first == standardOrigin.first && standardOrigin.second < mainOrigin.second;
      pieces.push_back(addedFirst ? added : removed);
      pieces.push_back(addedFirst ? removed : added);
    } else {
      pieces.push_back(hunk);
    }
  }
  std::vector<std::pair<std::string, int>> placed;  // the input line of each difference
  std::vector<Hunk> spans;                          // the tokens of each difference
  for (const Hunk& hunk : pieces) {
    if (comparison.differences.size() + 1 == kMaxDifferences && pieces.size() > kMaxDifferences) {
      Difference rest;
      rest.rule = "other";
      rest.reason = std::to_string(pieces.size() - comparison.differences.size()) +
                    " more differences are not listed";
      comparison.differences.push_back(std::move(rest));
      break;
    }
    Difference difference;
    difference.mainLine = lineOf(mainTokens, hunk.a0, hunk.a1);
    difference.standardLine = lineOf(standardTokens, hunk.b0, hunk.b1);
    difference.place =
        hunk.b0 < hunk.b1 ? placeOf(comparison.standard, difference.standardLine, input, options.inputName)
                          : placeOf(comparison.main, difference.mainLine, input, options.inputName);
    if (!difference.place)
      difference.place = placeOf(comparison.main, difference.mainLine, input, options.inputName);
    const std::string file = difference.place ? difference.place->file : options.inputName;
    const int line = difference.place ? difference.place->line : 0;
    // Differences from one input line are one: the rule is found once for all its tokens.
    Hunk span = hunk;
    if (!placed.empty() && placed.back() == std::make_pair(file, line) && line > 0) {
      span.a0 = spans.back().a0;
      span.b0 = spans.back().b0;
      comparison.differences.pop_back();
      spans.pop_back();
      placed.pop_back();
      difference.mainLine = lineOf(mainTokens, span.a0, span.a1);
      difference.standardLine = lineOf(standardTokens, span.b0, span.b1);
    }
    difference.mainText = joined(mainTokens, span.a0, span.a1);
    difference.standardText = joined(standardTokens, span.b0, span.b1);
    explainer.explain(difference, file, line, glued(mainTokens, span.a0, span.a1),
                      glued(standardTokens, span.b0, span.b1));
    comparison.differences.push_back(std::move(difference));
    spans.push_back(span);
    placed.emplace_back(file, line);
  }
  return comparison;
}

}  // namespace orvo::compare
