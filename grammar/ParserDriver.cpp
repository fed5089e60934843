// Construction of the preprocessor, the parse driver, and the look-ahead
// that parses comments wherever the scanner meets one.
#include <memory>
#include <ostream>

#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/GrammarNames.h"
#include "grammar/GrammarPositions.h"
#include "grammar/IncludeSearch.h"
#include "scan/ScannerTable.h"

namespace orvo {
namespace {

// Inclusion number the scanners report for the start of a comment.
constexpr int kCommentInclusion = 5;

constexpr int kStartElement = 1;

// Points the parser at a plugin for one parse and detaches it afterwards, so
// the parser never keeps a pointer to a plugin that is gone.
class PluginBinding {
 public:
  PluginBinding(CVL_Parser& parser, CVL_ParseStatePlugin* plugin) : m_Parser(parser) {
    m_Parser.m_pPlugin = plugin;
  }
  ~PluginBinding() { m_Parser.m_pPlugin = nullptr; }
  PluginBinding(const PluginBinding&) = delete;
  PluginBinding& operator=(const PluginBinding&) = delete;

 private:
  CVL_Parser& m_Parser;
};

}  // namespace

Cpreprocess_fileParser::Cpreprocess_fileParser()
    : m_pIncludeSearch(std::make_unique<IncludeSearch>()) {
  m_pScannerTable = SharedPreprocessorScanners();
  fillPredefinedMacros();
}

Cpreprocess_fileParser::~Cpreprocess_fileParser() = default;

void Cpreprocess_fileParser::parse(const char* begin, const char* end,
                                   CVL_ParseStatePlugin* plugin) {
  std::unique_ptr<CVL_ParseStatePlugin> defaultPlugin;
  if (plugin == nullptr) {
    defaultPlugin = std::make_unique<CVL_ParseStatePlugin>(nullptr);
    plugin = defaultPlugin.get();
  }
  const PluginBinding binding(*this, plugin);

  CVL_ParseState s(begin, end);
  s.m_fnSymbol = m_fnSymbol;
  s.m_fnProductionName = &ProductionName;
  s.m_fnElementName = &ElementName;
  s.m_pPlugin = plugin;
  s.m_bFastPaths = m_bFastPaths;
  const CVL_SourceFrame frame(m_pSourceTrail, s, SourceKind::Main);

  start(s, pos::preprocess_file_start, kStartElement);
  preprocess_file(s, 0, 0);
  if (!s.atEnd()) incompleteError(s, "preprocess_file", "");
}

int Cpreprocess_fileParser::lookahead(CVL_ParseState& s, int elementIndex, int scannerIndex,
                                      bool ruleEndFlag, const char* production,
                                      const char* element) {
  if (s.m_bInclusionPending) {
    const int included = inclusionHook(s, elementIndex, production, element);
    if (included != 0) return included;
  }
  return CVL_Parser::lookahead(s, elementIndex, scannerIndex, ruleEndFlag, production, element);
}

int Cpreprocess_fileParser::inclusionHook(CVL_ParseState& s, int elementIndex,
                                          const char* production, const char* element) {
  int result = 0;
  while (s.m_bInclusionPending) {
    s.m_bInclusionPending = false;
    const int inclusion = s.m_InclusionStack.empty() ? 0 : s.m_InclusionStack.top();
    if (inclusion == kCommentInclusion) {
      comment(s, 0, 2);
      result = CVL_Parser::lookahead(s, elementIndex, -1, false, production, element);
    } else {
      result = 0;
    }
  }
  return result;
}

int Cpreprocess_fileParser::peek(CVL_ParseState& s, int element) {
  // Most peeks ask again for a token already pending, with no comment to
  // parse first: that answer needs none of the look-ahead protocol.
  if (!s.m_bInclusionPending && !parse_status::isErrorState(s.m_Status) &&
      !s.m_TokenStack.empty()) {
    if (element != 0) s.m_ElementIndex = element;
    const int pending = s.m_TokenStack.top();
    return pending < 0 ? 0 : pending;
  }
  const int id = lookahead(s, element, -1, false, nullptr, nullptr);
  return id < 0 ? 0 : id;
}

void Cpreprocess_fileParser::write(CVL_ParseState& s, std::string_view text) {
  m_BytesWritten += text.size();
  if (CVL_ParseStatePlugin* plugin = pluginFor(s)) *plugin->out() << text;
  if (m_pTrace) m_pTrace->wrote(s, text);
}

}  // namespace orvo
