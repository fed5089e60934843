// The paths every preprocessing run spends its time on: one token scan (on
// the token matchers, and the same search on the regular-expression library
// for comparison), one parser construction, and one rescan pass of a macro
// expansion.
#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>

#include <boost/regex.hpp>

#include "grammar/Cpreprocess_fileParser.h"
#include "runtime/ParseState.h"
#include "runtime/ParseStatePlugin.h"
#include "scan/CompiledPattern.h"
#include "scan/RegexScanner.h"
#include "scan/ScannerTable.h"

namespace {

using namespace orvo;

// Inside a text line: the position with the largest regex part.
constexpr int kTextLineScanner = 29;

// Tokens of a text line, one of each common kind, separated by blanks.
const std::string& LineTokens() {
  static const std::string text =
      "function_12 ( a , b ) = 0x1F + 017 * 123u - \"text \\\" here\" / 'c' -> value_12 ;";
  return text;
}

const CVL_ScannerTable& Table() {
  static const std::unique_ptr<CVL_ScannerTable> table = BuildPreprocessorScanners();
  return *table;
}

// One composite scanner step per token of the line, round and round.
void BM_ScanToken(benchmark::State& state) {
  const CVL_Scanner& scanner = *Table().scanner(kTextLineScanner);
  const std::string& text = LineTokens();
  const char* const end = text.data() + text.size();
  const char* position = text.data();
  CVL_Match match;
  for (auto _ : state) {
    match.reset(position);
    int inclusion = 0;
    scanner.scanWith(match, end, match_kind::None, nullptr, inclusion);
    benchmark::DoNotOptimize(match.m_Length);
    position = match.m_pTokenBegin + match.m_Length;
    if (position >= end) position = text.data();
  }
}
BENCHMARK(BM_ScanToken);

// The same positions searched with the library, as every scan did before
// the token matchers.
void BM_ScanTokenOnLibrary(benchmark::State& state) {
  const CVL_RegexScanner& part = *Table().scanner(kTextLineScanner)->m_Regex;
  const boost::regex& regex = CompileScannerPattern(part.expression())->regex();
  const std::string& text = LineTokens();
  const char* const end = text.data() + text.size();
  const char* position = text.data();
  boost::match_results<const char*> results;
  for (auto _ : state) {
    while (*position == ' ') ++position;
    const bool found = boost::regex_search(position, end, results, regex);
    benchmark::DoNotOptimize(found);
    position = found ? results[0].second : position + 1;
    if (position >= end) position = text.data();
  }
}
BENCHMARK(BM_ScanTokenOnLibrary);

void BM_ConstructParser(benchmark::State& state) {
  for (auto _ : state) {
    Cpreprocess_fileParser parser;
    benchmark::DoNotOptimize(&parser);
  }
}
BENCHMARK(BM_ConstructParser)->Unit(benchmark::kMicrosecond);

// The rescan of an object-like macro's value inside a text line: two passes
// that expand a chain of macros, and a third that confirms the result.
void BM_Rescan(benchmark::State& state) {
  std::ostringstream out;
  CVL_ParseStatePlugin plugin(&out);
  Cpreprocess_fileParser parser;
  const std::string definitions =
      "#define SIZE 64\n#define LIMIT SIZE\n#define MAX(a, b) ((a) > (b) ? (a) : (b))\n";
  parser.parse(definitions.data(), definitions.data() + definitions.size(), &plugin);
  CVL_ParseState parent(definitions.data(), definitions.data() + definitions.size());
  parent.m_pPlugin = &plugin;
  const std::string text = "value = MAX(LIMIT + 1, count) * LIMIT";
  for (auto _ : state) benchmark::DoNotOptimize(parser.rescan(parent, text));
  state.SetLabel(parser.rescan(parent, text));
}
BENCHMARK(BM_Rescan);

}  // namespace
