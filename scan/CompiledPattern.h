// Compiled scanner expressions, shared process-wide. Compiling is by far the
// costliest step of building a scanner table, every parser builds the same
// table, and a compiled expression never changes once built.
#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include <boost/regex.hpp>

#include "scan/FastAlternation.h"
#include "scan/FirstByteFilter.h"

namespace orvo {

class CVL_CompiledPattern {
 public:
  // Throws the regular expression library's error for an expression it
  // refuses. An expression the token matchers run is compiled by the library
  // only once something asks for that form.
  explicit CVL_CompiledPattern(const std::string& expression);

  // The library's form of the expression.
  const boost::regex& regex() const;

  const std::string m_Expression;
  const CVL_FirstByteFilter m_FirstBytes;
  // The same expression on the token matchers; null when they cannot
  // reproduce it.
  const std::unique_ptr<const CVL_FastAlternation> m_pFast;

 private:
  mutable std::once_flag m_Compiling;
  mutable std::optional<boost::regex> m_Regex;
};

// The compiled form of `expression` with the scanner syntax options, built on
// first request and kept for the life of the process. Throws the regular
// expression library's error for an expression it refuses.
std::shared_ptr<const CVL_CompiledPattern> CompileScannerPattern(const std::string& expression);

}  // namespace orvo
