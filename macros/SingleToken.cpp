// The choice among the single tokens of a line (literals, numbers, single
// characters, parentheses and operators) that several macro productions share.
#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/TokenSets.h"
#include "macros/MacroGrammarTables.h"

namespace zemra {

void Cpreprocess_fileParser::singleToken(CVL_ParseState& s, int element,
                                         std::span<const TokenScanner> table, int operatorScanner,
                                         bool ruleEnd, const char* production,
                                         const char* choice) {
  const int t = peek(s, element);
  if (sets::operators().contains(t)) {
    cpp_operator(s, operatorScanner, ruleEnd);
  } else if (const int next = ScannerAfter(table, t); next >= 0) {
    match(s, t, next, ruleEnd, nullptr, nullptr);
  } else {
    unexpectedError(s, production, choice);
  }
}

}  // namespace zemra
