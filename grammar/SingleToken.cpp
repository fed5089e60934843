// The choice among the single tokens of a line (literals, numbers, single
// characters, parentheses and operators) that several macro productions share.
#include "grammar/Cpreprocess_fileParser.h"
#include "grammar/RuleEndFlags.h"
#include "grammar/TokenSets.h"
#include "grammar/MacroGrammarTables.h"

namespace orvo {

void Cpreprocess_fileParser::singleToken(CVL_ParseState& s, int element,
                                         std::span<const TokenScanner> table, int operatorScanner,
                                         const char* production, const char* choice) {
  const int t = peek(s, element);
  if (sets::operators().contains(t)) {
    cpp_operator(s, operatorScanner, endsAt(operatorScanner));
  } else if (const int next = ScannerAfter(table, t); next >= 0) {
    match(s, t, next, endsAt(next), nullptr, nullptr);
  } else {
    unexpectedError(s, production, choice);
  }
}

}  // namespace orvo
