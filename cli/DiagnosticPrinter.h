// Prints diagnostics the way GCC and Clang do: the include chain, then
// FILE:LINE:COL: SEVERITY: TEXT, then the source line with a caret under the
// place.
#pragma once

#include <optional>
#include <ostream>

#include "orvo/Diagnostic.h"

namespace orvo::cli {

struct PrintStyle {
  bool caret = true;   // show the source line and the caret line
  bool color = false;  // colour the severity, the place and the caret
};

// Prints the diagnostics of one run in order. Like Clang, it names the
// #include lines of a file only when a message's file differs from the one
// before.
class DiagnosticPrinter {
 public:
  DiagnosticPrinter(std::ostream& out, const PrintStyle& style) : m_Out(out), m_Style(style) {}

  // The diagnostic, then each of its notes: a note with a place of its own
  // gets its source line and caret unless the line before showed that place;
  // a note without one is printed at its message's place.
  void print(const Diagnostic& diagnostic);

 private:
  // One "FILE:LINE:COL: SEVERITY: TEXT" line, after the include chain when
  // the file differs from the one before, then the caret when `caret`.
  void printOne(Severity severity, const std::string& text, const SourcePlace* place, bool caret);

  std::ostream& m_Out;
  PrintStyle m_Style;
  // The file and include chain of the message printed last.
  std::optional<SourcePlace> m_Last;
};

}  // namespace orvo::cli
