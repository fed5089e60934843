// The macros every run starts with: fixed texts, none computed from the
// input, a file name, the date or the time.
#include "grammar/Cpreprocess_fileParser.h"

namespace orvo {
namespace {

struct PredefinedMacro {
  const char* name;
  const char* value;
};

constexpr PredefinedMacro kPredefinedMacros[] = {
    {"__LINE__", "1"},          {"__FILE__", "1"},          {"__DATE__", "1"},
    {"__TIME__", "1"},          {"__cplusplus", "1"},       {"__BORLANDC__", "1376"},
    {"__BCPLUSPLUS__", "1376"}, {"__TCPLUSPLUS__", "1376"}, {"__TEMPLATES__", "1"},
    {"__TLS__", "1"},           {"__TURBOC__", "1376"},     {"_WCHAR_T", "1"},
    {"_M_IX86", "300"},         {"_Windows", "1"},          {"__WIN32__", "1"},
};

}  // namespace

void Cpreprocess_fileParser::fillPredefinedMacros() {
  for (const PredefinedMacro& macro : kPredefinedMacros) m_PredefinedMacros[macro.name] = macro.value;
}

}  // namespace orvo
