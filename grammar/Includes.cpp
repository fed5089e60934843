// Include handling: the include directories, the include directive, the
// search for the named file and the nested parse of its text.
#include <algorithm>
#include <boost/filesystem.hpp>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "files/LineEnds.h"
#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/GrammarNames.h"
#include "grammar/GrammarPositions.h"
#include "grammar/IncludeSearch.h"
#include "grammar/RuleEndFlags.h"
#include "orvo/Run.h"
#include "runtime/MessageKind.h"

namespace orvo {
namespace {

namespace fs = boost::filesystem;

// Deepest nesting of included files; a file that includes itself, directly
// or through others, ends the run here instead of recursing without end.
constexpr int kMaxIncludeDepth = 200;

// Files loaded by include directives in one run, every reading counted.
// Headers that include others more than once without guards fan out: 41
// headers each including the next twice would load 2^41 files. A header
// is read once per run, so a loading costs about 1 µs and keeps a 12-byte
// record of where it happened: 100,000 end such a run within a few tenths
// of a second and a few MB. A large translation unit loads a few thousand
// (guarded headers count at each reading), far below.
constexpr int kMaxInclusions = 100000;

constexpr int kIncludePathsElement = 55;
constexpr int kHeaderElement = 54;

std::string Trim(const std::string& text) {
  constexpr const char* kWhite = " \t\r\n";
  const std::size_t first = text.find_first_not_of(kWhite);
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(kWhite) - first + 1);
}

// Reads a whole regular file. Anything else (a device, a pipe, a dangling
// link) is not read, so a search hit can neither block nor run without end.
// A file too large to parse ends the run before any of it is read.
bool ReadFile(const std::string& path, std::string& text) {
  boost::system::error_code ec;
  if (!fs::is_regular_file(path, ec)) return false;
  const boost::uintmax_t size = fs::file_size(path, ec);
  if (!ec && size > kMaxInputBytes) {
    throw CVL_Message(("#include file too large (more than " + std::to_string(kMaxInputBytes) +
                       " bytes): " + path)
                          .c_str());
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream buffer;
  buffer << file.rdbuf();
  if (file.bad()) return false;
  text = std::move(buffer).str();
  // Line ends as the main input has them, whoever gave it.
  files::readLoneCarriageReturnsAsLineEnds(text);
  return true;
}

// An included file whose parse stopped before its end loses the rest of its
// text; that is an error, unless one recorded already explains it. It points
// at the rest of the line where reading stopped, from its first token on.
void ReportUnreadRest(CVL_ParseState& sub) {
  if (parse_status::isErrorState(sub.m_Status) || sub.m_pFailedMatchAt != nullptr || sub.atEnd())
    return;
  const CVL_Position& position = sub.m_Position;
  const char* begin = position.m_Current.m_pTokenEnd;
  if (sub.m_pScanner != nullptr) begin = sub.m_pScanner->skipIgnored(begin, position.m_pEnd);
  const std::string_view rest(begin, static_cast<std::size_t>(position.m_pEnd - begin));
  const std::size_t lineLength = std::min(rest.find_first_of("\r\n"), rest.size());
  sub.report("incomplete", sub.offsetOf(begin), sub.offsetOf(begin + lineLength), "header",
             ElementName(sub.m_ElementIndex), message_kind::kParseError);
}

// Longest list of searched directories a warning names in full; the message
// text holds 255 bytes, and the part that fits is what a reader needs.
constexpr std::size_t kMaxSearchedText = 160;

// Where a file that was not found was looked for (each directory and its
// subdirectories), or why nowhere.
std::string SearchedText(const std::string& searched, bool anyDirectory) {
  if (!searched.empty()) return "searched " + searched;
  return anyDirectory ? "no include directory could be searched" : "no include directories are set";
}

// A missing file leaves its directive in the output; the warning says so
// and where the file was looked for.
void WarnNotFound(CVL_ParseState& s, const std::string& name, std::string where) {
  if (where.size() > kMaxSearchedText) where = where.substr(0, kMaxSearchedText) + "...";
  const CVL_Match& directive = s.m_Position.m_Current;
  s.report(("include file not found: " + name + " (" + where + ")").c_str(),
           s.offsetOf(directive.m_pTokenBegin), s.offsetOf(directive.m_pTokenEnd), "include_line",
           ElementName(s.m_ElementIndex), message_kind::kWarning);
}

// Longest path a warning about the search names in full. The message text
// holds 255 bytes; with the longest wording around it (under 100 bytes) a
// path of 150 fits. A longer one keeps its start and its end, and the note
// after the warning holds it whole.
constexpr std::size_t kMaxPathText = 150;
constexpr std::size_t kPathHeadText = 50;

// Warns, at the directive, that the search went on without something it
// could not use.
void WarnSkipped(CVL_ParseState& s, CVL_SourceTrail* trail, const IncludeSearch::Skipped& skipped) {
  std::string path = skipped.path;
  const bool shortened = path.size() > kMaxPathText;
  if (shortened) {
    const std::size_t tail = kMaxPathText - kPathHeadText - 3;
    path = path.substr(0, kPathHeadText) + "..." + path.substr(path.size() - tail);
  }
  const CVL_Match& directive = s.m_Position.m_Current;
  s.report(("#include search skips " + skipped.what + " " + path + ": " + skipped.reason).c_str(),
           s.offsetOf(directive.m_pTokenBegin), s.offsetOf(directive.m_pTokenEnd), "include_line",
           ElementName(s.m_ElementIndex), message_kind::kWarning);
  if (shortened && trail != nullptr)
    trail->noteOnLastMessage("in full: " + skipped.path, CVL_SourceTrail::kNoMark);
}

}  // namespace

void Cpreprocess_fileParser::readIncludeDirectories(CVL_ParseState& s) {
  const CVL_ParseStatePlugin* plugin = pluginFor(s);
  const std::string paths = plugin ? plugin->includePaths() : std::string();
  {
    CVL_SubParseState sub(paths, s);
    start(sub, pos::IncludePaths_start, kIncludePathsElement);
    IncludePaths(sub, 0, 0);
  }
  const std::string sourceDir = plugin ? plugin->sourceDir() : std::string();
  if (!sourceDir.empty()) m_IncludeDirs.push_back(sourceDir);
}

void Cpreprocess_fileParser::IncludePaths(CVL_ParseState& s, int si, int re) {
  CVL_Guard guard = enter(s, si, re, prod::IncludePaths, " IncludePaths");
  while (peek(s, elem::OptRep0_of_IncludePaths) == tok::Skip89) {
    if (!matchSkip(s, tok::Skip89, "IncludePaths", "SKIP89")) break;
    const std::string entry = Trim(s.matchText(0));
    if (!entry.empty()) m_IncludeDirs.push_back(entry);
    const int t = peek(s, elem::Alt0_of_OptRep0_of_IncludePaths);
    if (t == tok::Eof) {
      match(s, tok::Eof, pos::IncludePaths_after_Eof, endsAt(pos::IncludePaths_after_Eof), nullptr,
            nullptr);
    } else if (t == tok::Eol) {
      match(s, tok::Eol, pos::IncludePaths_after_Eol, endsAt(pos::IncludePaths_after_Eol), nullptr,
            nullptr);
    } else {
      unexpectedError(s, "IncludePaths", "Alt0_of_OptRep0_of_IncludePaths");
    }
    if (s.m_bBreak) break;
  }
  s.m_bBreak = false;
  guard.leave();
}

void Cpreprocess_fileParser::include_line(CVL_ParseState& s, int si, int re, bool output,
                                          int depth) {
  CVL_Guard guard = enter(s, si, re, prod::include_line, " include_line");
  if (match(s, tok::PdInclude, pos::include_line_after_PdInclude,
            endsAt(pos::include_line_after_PdInclude), "include_line",
            "PD_INCLUDE_T0_of_include_line")) {
    // A loaded file stands in for the directive, which leaves only the
    // blanks in front of it; otherwise the directive is written unchanged.
    const bool loaded = includeFile(s, depth);
    if (output) write(s, loaded ? s.matchText(-1) : s.matchCopy());
  }
  // A nested parse goes on after a failed match; the line break is written
  // only if it was there, never the directive a second time.
  if (match(s, tok::Eol, pos::include_line_after_Eol, endsAt(pos::include_line_after_Eol),
            "include_line", "EOL_T1_of_include_line") &&
      output)
    write(s, s.matchCopy());
  guard.leave();
}

void Cpreprocess_fileParser::header(CVL_ParseState& s, int si, int re, bool output, int depth) {
  CVL_Guard guard = enter(s, si, re, prod::header, " header");
  outer_group(s, pos::header_after_outer_group, endsAt(pos::header_after_outer_group), output,
              depth);
  guard.leave();
}

bool Cpreprocess_fileParser::includeFile(CVL_ParseState& s, int depth) {
  std::string name = s.matchText(2);  // the quoted form
  if (name.empty()) name = s.matchText(3);  // the angle form
  if (m_MissingIncludes.findKey(name)) {
    WarnNotFound(s, name, m_MissingIncludes.value());
    if (m_pTrace) m_pTrace->includeNotLoaded(s, name, std::string());
    return false;
  }

  const IncludeName parts = SplitIncludeName(name);
  std::optional<std::string> found;
  std::string searched;
  std::vector<std::string> searchedDirectories;
  for (const std::string& directory : m_IncludeDirs) {
    const std::string candidate = JoinDirectory(directory, parts.directory);
    if (!m_pIncludeSearch->usable(directory, candidate)) continue;
    found = m_pIncludeSearch->find(candidate, parts.leaf);
    if (found) break;
    // A directory both given and the source's own is named once.
    if (std::find(searchedDirectories.begin(), searchedDirectories.end(), candidate) !=
        searchedDirectories.end())
      continue;
    searchedDirectories.push_back(candidate);
    searched += (searched.empty() ? "" : ", ") + candidate;
  }
  for (const IncludeSearch::Skipped& skipped : m_pIncludeSearch->takeWarnings())
    WarnSkipped(s, m_pSourceTrail, skipped);
  if (!found) {
    const std::string where = SearchedText(searched, !m_IncludeDirs.empty());
    m_MissingIncludes.insert(name, where);
    if (m_pSourceTrail != nullptr) m_pSourceTrail->includeMissing(name);
    WarnNotFound(s, name, where);
    if (m_pTrace) m_pTrace->includeNotLoaded(s, name, std::string());
    return false;
  }

  if (depth >= kMaxIncludeDepth) {
    throw CVL_Message(("#include nested too deeply (more than " +
                       std::to_string(kMaxIncludeDepth) + " levels): " + name)
                          .c_str());
  }
  if (++m_Inclusions > kMaxInclusions) {
    throw CVL_Message(("#include loads too many files (more than " +
                       std::to_string(kMaxInclusions) + " in one run): " + name)
                          .c_str());
  }
  auto known = m_IncludedTexts.find(*found);
  std::string text;
  if (known == m_IncludedTexts.end() && !ReadFile(*found, text)) {
    if (m_pSourceTrail != nullptr) m_pSourceTrail->includeFound(name, *found, false);
    const CVL_Match& directive = s.m_Position.m_Current;
    s.report((*found + " could not be loaded!").c_str(), s.offsetOf(directive.m_pTokenBegin),
             s.offsetOf(directive.m_pTokenEnd), "include_line", ElementName(s.m_ElementIndex),
             message_kind::kError);
    if (m_pTrace) m_pTrace->includeNotLoaded(s, name, *found);
    return false;
  }
  if (known == m_IncludedTexts.end()) known = m_IncludedTexts.emplace(*found, std::move(text)).first;
  if (m_pSourceTrail != nullptr) m_pSourceTrail->includeFound(name, *found, true);
  CVL_SubParseState sub(known->second, s);
  sub.m_bUserText = true;
  const CVL_SourceFrame frame(m_pSourceTrail, sub, SourceKind::File, *found);
  const IncludeTrace traced(m_pTrace, s, name, *found, sub, depth + 1);
  start(sub, pos::header_start, kHeaderElement);
  header(sub, 0, 0, true, depth + 1);
  ReportUnreadRest(sub);
  return true;
}

}  // namespace orvo
