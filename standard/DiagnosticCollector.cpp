#include "standard/DiagnosticCollector.h"

#include <llvm/ADT/SmallString.h>

namespace orvo::standard {
namespace {

Severity severityOf(clang::DiagnosticsEngine::Level level) {
  switch (level) {
    case clang::DiagnosticsEngine::Error:
    case clang::DiagnosticsEngine::Fatal:
      return Severity::Error;
    case clang::DiagnosticsEngine::Warning:
      return Severity::Warning;
    default:
      return Severity::Note;
  }
}

}  // namespace

void DiagnosticCollector::HandleDiagnostic(clang::DiagnosticsEngine::Level level,
                                           const clang::Diagnostic& info) {
  // Counts errors and warnings for the library's own bookkeeping.
  clang::DiagnosticConsumer::HandleDiagnostic(level, info);
  if (level == clang::DiagnosticsEngine::Ignored) return;
  llvm::SmallString<256> text;
  info.FormatDiagnostic(text);
  Diagnostic diagnostic;
  diagnostic.severity = severityOf(level);
  diagnostic.text = text.str().str();
  if (m_Places != nullptr && info.getLocation().isValid()) {
    SourcePlace place = info.getNumRanges() > 0 && info.getRange(0).isTokenRange() &&
                                info.getRange(0).getBegin() == info.getLocation()
                            ? m_Places->placeOf(info.getRange(0).getAsRange())
                            : m_Places->placeOf(info.getLocation());
    if (place.known()) diagnostic.place = std::move(place);
    diagnostic.inMacroText = info.getLocation().isMacroID();
  }
  if (m_Observer != nullptr)
    m_Observer->message(MessageEvent{diagnostic.place.value_or(SourcePlace{}), diagnostic.severity,
                                     diagnostic.text, false});
  m_Diagnostics.push_back(std::move(diagnostic));
}

}  // namespace orvo::standard
