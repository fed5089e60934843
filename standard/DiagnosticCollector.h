// Receives the Clang library's diagnostics and keeps each as this system's
// Diagnostic with its place, in the order they arose.
#pragma once

#include <vector>

#include <clang/Basic/Diagnostic.h>

#include "orvo/Diagnostic.h"
#include "orvo/Observer.h"
#include "standard/ClangPlaces.h"

namespace orvo::standard {

class DiagnosticCollector : public clang::DiagnosticConsumer {
 public:
  // Places are known once the run has its source manager; messages before
  // (about the options) have no place.
  void setPlaces(const ClangPlaces* places) { m_Places = places; }
  // Each message is also reported to `observer` (may be null).
  void setObserver(RunObserver* observer) { m_Observer = observer; }

  void HandleDiagnostic(clang::DiagnosticsEngine::Level level,
                        const clang::Diagnostic& info) override;

  std::vector<Diagnostic>& diagnostics() { return m_Diagnostics; }

 private:
  const ClangPlaces* m_Places = nullptr;
  RunObserver* m_Observer = nullptr;
  std::vector<Diagnostic> m_Diagnostics;
};

}  // namespace orvo::standard
