#include <exception>
#include <utility>

#include "runtime/Parser.h"

namespace orvo {

CVL_Guard::CVL_Guard(CVL_Guard&& other) noexcept
    : m_pParser(other.m_pParser),
      m_pState(std::exchange(other.m_pState, nullptr)) {}

CVL_Guard::~CVL_Guard() noexcept(false) {
  CVL_ParseState* const state = std::exchange(m_pState, nullptr);
  if (state == nullptr) return;
  // Productions are never entered by code that runs during unwinding, so an
  // exception in flight means this production is being unwound.
  if (std::uncaught_exceptions() > 0) {
    // Unwinding: a second exception would terminate the program, so a
    // consistency failure of the leave gives way to the one in flight.
    try {
      m_pParser->leave(*state);
    } catch (...) {
    }
    return;
  }
  m_pParser->leave(*state);
}

void CVL_Guard::leave() {
  CVL_ParseState* const state = std::exchange(m_pState, nullptr);
  if (state != nullptr) m_pParser->leave(*state);
}

}  // namespace orvo
