// Prints diagnostics the way GCC and Clang do: the include chain, then
// FILE:LINE:COL: SEVERITY: TEXT, then the source line with a caret under the
// place.
#pragma once

#include <ostream>

#include "run/Diagnostic.h"

namespace orvo::cli {

struct PrintStyle {
  bool caret = true;   // show the source line and the caret line
  bool color = false;  // colour the severity, the place and the caret
};

void printDiagnostic(std::ostream& out, const Diagnostic& diagnostic, const PrintStyle& style);

}  // namespace orvo::cli
