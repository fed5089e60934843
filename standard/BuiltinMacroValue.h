// The value of one of the library's built-in macros (__FILE__, __LINE__,
// __COUNTER__, ...) at the place it is expanded. The library works the
// value out only as it expands the name, after the expansion callback has
// run; the explorer's step would otherwise show the name turned into
// nothing. Worked out here the way the library does it.
#pragma once

#include <ctime>
#include <optional>
#include <string>

#include <clang/Lex/Preprocessor.h>
#include <clang/Lex/Token.h>

namespace orvo::standard {

class BuiltinMacroValues {
 public:
  explicit BuiltinMacroValues(clang::Preprocessor& preprocessor) : m_Preprocessor(preprocessor) {}

  // The text `name` (a built-in macro's name token, about to be expanded)
  // becomes; empty for the built-ins whose value depends on what follows
  // them (__has_include(...), _Pragma(...)) and for unknown ones.
  std::string valueOf(const clang::Token& name);

 private:
  // __DATE__ and __TIME__ are worked out once per run, from the time of
  // their first use, as the library does.
  const std::tm& runTime();

  clang::Preprocessor& m_Preprocessor;
  std::optional<std::tm> m_RunTime;
};

}  // namespace orvo::standard
