// The preprocessor: one member function per production of its grammar, the
// parse driver, and the tables the semantic actions work on (macros,
// include directories).
#pragma once

#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "macros/ExpansionLimits.h"
#include "macros/ExpansionWalk.h"
#include "runtime/CancelCheck.h"
#include "runtime/ParseState.h"
#include "runtime/Parser.h"
#include "runtime/SourceTrail.h"
#include "grammar/ParseTrace.h"
#include "tree/Map.h"
#include "tree/Node.h"
#include "tree/Vector.h"

namespace orvo {

// Names of object-like macros expanded by a rescan pass; their owner clears
// their busy flags when done.
using RecordedMacros = CVL_Vector<std::string>;

class IncludeSearch;
struct TokenScanner;
struct PlainRunGrammar;
struct PlainToken;

class Cpreprocess_fileParser : public CVL_Parser {
 public:
  Cpreprocess_fileParser();
  ~Cpreprocess_fileParser() override;

  // Parses [begin, end) from the start rule and checks that all of it was
  // consumed. A null plugin gets a default one writing to standard output.
  void parse(const char* begin, const char* end, CVL_ParseStatePlugin* plugin);
  // Sizes the expansion budget for a run whose output may grow to
  // `maxOutputBytes`.
  void setOutputLimit(std::size_t maxOutputBytes) {
    m_OutputLimit = maxOutputBytes;
    m_Expansion.maxParses = ExpansionParseBudget(maxOutputBytes);
    m_Expansion.maxProducedBytes = ExpansionByteBudget(maxOutputBytes);
  }
  // Ends the parse with a CVL_Message of `message` soon after `flag` is set
  // (checked at every line, skipped line and rescan pass); null: never.
  void setCancelFlag(const std::atomic<bool>* flag, std::string message) {
    m_Cancel.watch(flag, std::move(message));
  }
  // Sets the expansion budget's limits where they are not 0.
  void setExpansionBudget(int maxParses, std::size_t maxProducedBytes) {
    if (maxParses > 0) m_Expansion.maxParses = maxParses;
    if (maxProducedBytes > 0) m_Expansion.maxProducedBytes = maxProducedBytes;
  }

  int lookahead(CVL_ParseState& s, int elementIndex, int scannerIndex, bool ruleEndFlag,
                const char* production, const char* element) override;
  int inclusionHook(CVL_ParseState& s, int elementIndex, const char* production,
                    const char* element) override;

  // ---- Productions (grammar/) ------------------------------------------
  // Every production takes the state, the scanner index for the token after
  // it, and the caller's rule-end flag, then its own parameters.
  void preprocess_file(CVL_ParseState& s, int si, int re);
  void outer_group(CVL_ParseState& s, int si, int re, bool output, int depth);
  void group(CVL_ParseState& s, int si, int re, bool output, int depth);
  void control_line(CVL_ParseState& s, int si, int re);
  void if_section(CVL_ParseState& s, int si, int re, bool output, int depth);
  void include_line(CVL_ParseState& s, int si, int re, bool output, int depth);
  void cpp_operator(CVL_ParseState& s, int si, int re);
  void error_line(CVL_ParseState& s, int si, int re);
  void if_begin(CVL_ParseState& s, int si, int re, int& cond);
  void groups(CVL_ParseState& s, int si, int re, bool output, bool taken, int depth);
  void if_end(CVL_ParseState& s, int si, int re, bool output, bool pending, int depth);
  void line_line(CVL_ParseState& s, int si, int re);
  void pragma_line(CVL_ParseState& s, int si, int re);
  void undef_line(CVL_ParseState& s, int si, int re);
  void warning_line(CVL_ParseState& s, int si, int re);
  void ifdef_line(CVL_ParseState& s, int si, int re, int& cond);
  void elif_section(CVL_ParseState& s, int si, int re, bool output, bool pending, int depth);
  void else_section(CVL_ParseState& s, int si, int re, bool output, bool pending, int depth);
  void ifndef_line(CVL_ParseState& s, int si, int re, int& cond);
  void if_line(CVL_ParseState& s, int si, int re, int& cond);
  void skip_group(CVL_ParseState& s, int si, int re);
  void const_expr(CVL_ParseState& s, int si, int re, int& value);
  // Reads and evaluates the condition of an #if or #elif line without the
  // expression productions where it can; false, with nothing read, where
  // they must parse it.
  bool evaluateDirectiveCondition(CVL_ParseState& s, int& value);
  void elif_begin_line(CVL_ParseState& s, int si, int re, int& cond);
  void else_begin_line(CVL_ParseState& s, int si, int re, bool output, bool pending);
  void macro_token(CVL_ParseState& s, int si, int re);
  void skip_if_section(CVL_ParseState& s, int si, int re);
  void log_or_expr(CVL_ParseState& s, int si, int re, int& value);
  void skip_if_begin(CVL_ParseState& s, int si, int re);
  void skip_if_end(CVL_ParseState& s, int si, int re);
  void log_and_expr(CVL_ParseState& s, int si, int re, int& value);
  void skip_elif_section(CVL_ParseState& s, int si, int re);
  void skip_else_section(CVL_ParseState& s, int si, int re);
  void inclusive_or_expr(CVL_ParseState& s, int si, int re, int& value);
  void exclusive_or_expr(CVL_ParseState& s, int si, int re, int& value);
  void and_expr(CVL_ParseState& s, int si, int re, int& value);
  void equality_expr(CVL_ParseState& s, int si, int re, int& value);
  void relational_expr(CVL_ParseState& s, int si, int re, int& value);
  void shift_expr(CVL_ParseState& s, int si, int re, int& value);
  void add_expr(CVL_ParseState& s, int si, int re, int& value);
  void multiply_expr(CVL_ParseState& s, int si, int re, int& value);
  void unary_expr(CVL_ParseState& s, int si, int re, int& value);
  void prim_expr(CVL_ParseState& s, int si, int re, int& value);
  void constant(CVL_ParseState& s, int si, int re, int& value);
  void comment(CVL_ParseState& s, int si, int re);
  void block_comment(CVL_ParseState& s, int si, int re);
  void header(CVL_ParseState& s, int si, int re, bool output, int depth);
  void IncludePaths(CVL_ParseState& s, int si, int re);

  // ---- Productions (macros/) -------------------------------------------
  void pp_tokens(CVL_ParseState& s, int si, int re, bool output);
  void definition(CVL_ParseState& s, int si, int re);
  void macro_call_begin(CVL_ParseState& s, int si, int re, std::string& callBuffer,
                        RecordedMacros& recorded);
  void function_like_macro(CVL_ParseState& s, int si, int re);
  void macro_call(CVL_ParseState& s, int si, int re, std::string& callBuffer, std::string& rest);
  void object_like_macro(CVL_ParseState& s, int si, int re);
  // Collects a call's arguments token by token through macro_tokens, up to
  // and with the ")" that closes the call: each argument goes to
  // `arguments`, or, when `busy`, the list as written to `callBuffer`.
  void collectArguments(CVL_ParseState& s, bool busy, std::string& callBuffer,
                        std::vector<std::string>& arguments, int& commas);
  void macro_tokens(CVL_ParseState& s, int si, int re, std::string& argument);
  void macro_parenthesis(CVL_ParseState& s, int si, int re, std::string& text);
  void re_macro_call(CVL_ParseState& s, int si, int re, std::string& output,
                     RecordedMacros& recorded);
  void re_pp_tokens(CVL_ParseState& s, int si, int re, std::string& output,
                    RecordedMacros& recorded);

  // ---- Macro tables and their operations (macros/) ----------------------
  void fillPredefinedMacros();
  // Whether the name is a key of any of the three tables.
  bool isDefined(const std::string& name);
  // Value of an identifier in a constant expression.
  int numericValue(const std::string& name);
  // Removes a predefined and an object-like definition of the name.
  void undefine(const std::string& name);
  // Re-parses `text` until it no longer changes; `parent` supplies plugin and look-ups.
  std::string rescan(CVL_ParseState& parent, const std::string& text);
  // Appends the rescanned `parts` of a call's expansion to `out`; `sources`
  // tells for each part the argument (of `argumentCount`) it is, or -1.
  // Where `inertBytes` is given, an inert part is a run already rescanned,
  // which counts that many bytes.
  void appendRescannedParts(CVL_ParseState& parent, const std::vector<std::string>& parts,
                            const std::vector<int>& sources,
                            const std::vector<std::size_t>* inertBytes,
                            std::size_t argumentCount, std::string& out);
  // One re-parse of `text`, line breaks included.
  std::string rescanOnce(CVL_ParseState& parent, const std::string& text,
                         RecordedMacros& recorded);
  // Clears the busy flags of the object-like macros named in `recorded`.
  void resetRecorded(RecordedMacros& recorded);

  // Whether the shortcuts are on: the run's mode is Fast. Every parse
  // state of the run takes it (CVL_ParseState::m_bFastPaths).
  bool m_bFastPaths = true;
  // The output the run may write, and what it has written: a stretch of
  // plain lines is written in one piece only where it stays within the
  // limit, so that the error of a run that exceeds it points at the line
  // that does.
  std::size_t m_OutputLimit = static_cast<std::size_t>(-1);
  std::size_t m_BytesWritten = 0;

  CVL_Map<std::string, std::string> m_PredefinedMacros;
  CVL_Map<std::string, node> m_ObjectMacros;
  CVL_Map<std::string, node> m_FunctionMacros;
  // The replacement list of each function-like macro, read from its record
  // when it is defined.
  std::unordered_map<std::string, std::vector<ReplacementElement>> m_Replacements;

  // ---- Include handling (grammar/) --------------------------------------
  CVL_Vector<std::string> m_IncludeDirs;
  CVL_Map<std::string, std::string> m_MissingIncludes;
  // Files loaded by include directives so far in this run (each reading).
  int m_Inclusions = 0;
  // The text of each file loaded, by path: a header read again in the same
  // run costs no system calls.
  std::unordered_map<std::string, std::string> m_IncludedTexts;

  // ---- Places of messages -------------------------------------------------
  // Told of every nested parse so that messages can be placed; may be null.
  CVL_SourceTrail* m_pSourceTrail = nullptr;
  // Where each macro was defined last, as the trail keeps it, for the notes
  // of redefinitions and of calls with the wrong number of arguments.
  std::unordered_map<std::string, int> m_ObjectDefinitionMarks;
  std::unordered_map<std::string, int> m_FunctionDefinitionMarks;
  // Keeps [begin, end) of the innermost parse's text as where `name` is
  // defined; does nothing without a trail.
  void markDefinition(std::unordered_map<std::string, int>& marks, const std::string& name,
                      int begin, int end);
  // Warns when an object-like macro gets a replacement other than the one
  // it has; `nameBegin` is the offset of the name in the new definition.
  void warnObjectRedefined(CVL_ParseState& s, const std::string& name, const std::string& value,
                           int nameBegin);
  // Warns of a call, from `callBegin` to its current token, whose argument
  // count `comment` (the comment the output gets) finds wrong.
  void warnArgumentCount(CVL_ParseState& s, const std::string& name, const std::string& comment,
                         const char* callBegin);
  // Attaches a note at `name`'s definition, if its place is kept, to the
  // message recorded last.
  void noteDefinition(const std::unordered_map<std::string, int>& marks, const std::string& name,
                      const char* text);

  // ---- Expansion explorer (grammar/ParseTrace.h) -------------------------
  // Receives every step of the run when the run has an observer. Null
  // otherwise, which costs each hook one pointer check.
  ParseTrace* m_pTrace = nullptr;

 private:
  // Block comments open around the scan; a second one opens only where a
  // comment's body begins with "/*", and then swallows text up to the next
  // "*/" as well.
  int m_OpenBlockComments = 0;
  // Blanks the comment production wrote straight to the output, counted so
  // that a parse kept for reuse is known to have written none: reusing it
  // could not write them again.
  long m_CommentBlanksWritten = 0;
  // Warns of a comment opener, the pending look-ahead, inside a block
  // comment, where it swallows the "*/" that would end that comment in C.
  void warnInsideComment(CVL_ParseState& s, const char* text);

  // ---- Grammar core helpers (grammar/) ----------------------------------
  // Look-ahead id at a decision; -1 (error state) becomes 0.
  int peek(CVL_ParseState& s, int element);
  // Writes to the plugin's output stream, if there is a plugin.
  void write(CVL_ParseState& s, std::string_view text);
  // Fills m_IncludeDirs from the plugin's include-path text and source dir.
  void readIncludeDirectories(CVL_ParseState& s);
  // Searches, reads and parses the file named by the current PD_INCLUDE
  // token; returns whether a file was loaded.
  bool includeFile(CVL_ParseState& s, int depth);
  // Directory listings cached for the run's include searches.
  std::unique_ptr<IncludeSearch> m_pIncludeSearch;

  // ---- Macro helpers (macros/) ------------------------------------------
  // Appends the text of an identifier outside a call to `out`: a predefined
  // value, the rescanned value of an idle object-like macro, or the name.
  void expandIdentifier(CVL_ParseState& s, std::string_view name, std::string& out);
  // Copies the run of tokens from the pending lookahead on that the plain
  // token reader reads and that nothing expands, up to the last one after
  // which `grammar` names the scanner, to `line` (unless null), and matches
  // them as `grammar`'s production would.
  // False, with nothing matched, where no such run of two tokens or more
  // begins or where it would end before `stop`; `stop` then becomes the
  // place the reader stopped, so the tokens before it are not read again.
  bool copyPlainTokens(CVL_ParseState& s, const PlainRunGrammar& grammar, std::string* line,
                       const char*& stop);
  // Writes (when `output` is set) the stretch of whole text lines, from the
  // pending lookahead on, that hold only tokens copyPlainTokens would copy,
  // with their line breaks, and matches them as the groups of those lines
  // and of their line breaks would. False, with nothing matched, where the
  // first line is no such line.
  bool copyPlainLines(CVL_ParseState& s, bool output);
  // Appends the run of tokens of a macro argument, from the pending
  // lookahead on, that the plain token reader reads, up to the last one
  // before a ",", a parenthesis or whatever the reader leaves to the
  // scanners, to `argument` as collecting them one by one would, and
  // matches them but that last one, which becomes the pending lookahead.
  // False, with nothing matched, where such a run holds fewer than two
  // tokens or would end before `stop`, which then becomes where the reader
  // stopped.
  bool copyPlainArgumentTokens(CVL_ParseState& s, std::string& argument, const char*& stop);
  // Collects a call's whole argument list, from the pending lookahead (the
  // token after "(") through the ")" that closes the call, where the plain
  // token reader reads every token of it: as collectArguments would, and
  // matches the ")" as it would. False, with nothing matched, otherwise.
  bool copyPlainArgumentList(CVL_ParseState& s, bool busy, std::string& callBuffer,
                             std::vector<std::string>& arguments, int& commas);
  // Whether the pending lookahead may begin a run of plain tokens here.
  bool mayReadPlainTokens(const CVL_ParseState& s) const;
  // Whether `token` is a name that is replaced where it stands outside a
  // call.
  bool expandsAsName(const PlainToken& token) const;
  // Reads the pending lookahead into `first` where a run of plain tokens
  // may begin with it and it begins after `stop`; sets `stop` to it where
  // the reader reads it otherwise than the scanners did.
  bool startPlainRun(CVL_ParseState& s, const char*& stop, PlainToken& first) const;
  // Reads the pending lookahead with the plain token reader into `token`;
  // whether the reader reads it as the scanners did.
  bool readPendingPlainToken(const CVL_ParseState& s, PlainToken& token) const;
  // The replacement list of the function-like macro `name`, whose record
  // is `record`.
  const std::vector<ReplacementElement>& replacementOf(const std::string& name,
                                                       const node& record);
  // Stores a definition, replacing an earlier one of the same name.
  void defineObjectLike(const std::string& name, const std::string& value);
  void defineFunctionLike(CVL_ParseState& s, const node& record);
  // One rescan pass over a text it can work out without parsing (blanks, a
  // text with nothing to expand or join): sets `output`, charges the
  // budget and returns true; false when the pass has to parse.
  bool passWithoutParse(const std::string& text, std::string& output);
  // One rescan pass over a text whose names the bytes alone tell apart:
  // sets `output` to the text with each name replaced as the pass would
  // replace it, charges the budget and returns true; false when the pass
  // has to parse.
  bool passBySubstitution(const std::string& text, std::string& output,
                          RecordedMacros& recorded);
  // What a rescan pass writes for an identifier: a predefined value, the
  // stored text of an idle object-like macro (made busy and recorded), or
  // the name.
  void appendRescannedName(std::string_view name, std::string& output, RecordedMacros& recorded);
  // One nested parse of `text` for a rescan: re_pp_tokens, or re_macro_call
  // when `wholeLines` is set.
  std::string parsePass(CVL_ParseState& parent, const std::string& text,
                        RecordedMacros& recorded, bool wholeLines);
  // Called when the rescan pass of `sub` stopped before the end of its
  // text, keeping `unread`, the rest of that text, as it stands: where a
  // name in it would have been replaced, counts the stop and warns of it,
  // once per outermost expansion, at the place the trail gives the pass
  // (the macro call in the source).
  void warnExpansionStopped(CVL_ParseState& sub, std::string_view unread);
  // The choice among single tokens and operators that text lines, object-like
  // replacement lists and rescans share: looks ahead at `element`, then
  // matches the token (scanner after it from `table`) or parses an operator.
  void singleToken(CVL_ParseState& s, int element, std::span<const TokenScanner> table,
                   int operatorScanner, const char* production, const char* choice);
  // Depth and cost of the macro expansions in progress.
  ExpansionBudget m_Expansion;
  // Polled where every kind of work passes, so a cancelled run ends soon.
  CancelCheck m_Cancel;
  // Nested parses run for rescans so far.
  int m_NestedParses = 0;
  // Rescan passes so far that stopped early and left a macro unexpanded; a
  // parse kept for reuse must have had none, since reusing it would not
  // warn again.
  int m_ExpansionStops = 0;
  // The outermost expansion (ExpansionBudget::outermost) whose stop was
  // warned of last: the passes after the first meet the same stop again.
  int m_StopWarnedExpansion = -1;
  // The vectors of the calls being expanded, one set for each level of
  // calls within calls, kept from call to call so that a call reuses what
  // the last one at its level allocated.
  struct CallBuffers {
    std::vector<std::string> arguments;
    std::vector<std::string> parts;
    std::vector<int> sources;
    std::vector<std::size_t> inertBytes;
  };
  std::vector<std::unique_ptr<CallBuffers>> m_CallBuffers;
  int m_CallsInProgress = 0;
  class CallBuffersInUse;
  // Object-like and function-like macros being expanded now: while one is,
  // a rescan may give another result than the same rescan gives otherwise.
  int m_BusyObjectMacros = 0;
  int m_BusyFunctionMacros = 0;
  // Rescans kept to be used again, by the text rescanned: what they gave,
  // what they cost and the nested parses they ran. A definition or removal
  // clears them.
  struct SettledRescan {
    std::string text;
    int parses = 0;
    std::size_t bytes = 0;
    int nestedParses = 0;
    // Expansions in progress when it ran: the same work from a deeper
    // one may cross the depth limit.
    int depth = 0;
  };
  // Rescans that settled without a nested parse while no object-like macro
  // was busy.
  std::unordered_map<std::string, SettledRescan> m_SettledRescans;
  // Single parse passes over a call's expansion made while no macro was
  // busy, which recorded no message and left no macro busy.
  std::unordered_map<std::string, SettledRescan> m_SettledParses;
  // The parse pass of rescanOnce, or its kept result.
  std::string parsePassOnce(CVL_ParseState& parent, const std::string& text,
                            RecordedMacros& recorded);
  // The rescan loop behind rescan(), once its first pass did not settle.
  std::string rescanPasses(CVL_ParseState& parent, const std::string& text, bool firstPassParses);
};

// Production and grammar-element names for messages (index as passed to
// enter and lookahead).
const char* ProductionName(int index);
const char* ElementName(int index);

}  // namespace orvo
