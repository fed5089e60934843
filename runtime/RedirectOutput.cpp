#include <iostream>

#include "runtime/ParseStatePlugin.h"

namespace orvo {

CVL_RedirectOutput::CVL_RedirectOutput(std::ostream* target)
    : m_pTarget(target != nullptr ? target : &std::cout) {}

CVL_RedirectOutput::~CVL_RedirectOutput() { restore(); }

void CVL_RedirectOutput::redirectTo(std::streambuf* buffer) {
  if (m_pSavedBuffer == nullptr) {
    m_pSavedBuffer = m_pTarget->rdbuf();
  } else {
    flushTarget();
  }
  m_pTarget->rdbuf(buffer);
}

void CVL_RedirectOutput::restore() {
  if (m_pSavedBuffer == nullptr) return;
  flushTarget();
  m_pTarget->rdbuf(m_pSavedBuffer);
  m_pSavedBuffer = nullptr;
}

void CVL_RedirectOutput::flushTarget() {
  try {
    m_pTarget->flush();
  } catch (const std::ios_base::failure&) {
    // The stream is in the bad state now, which is all a failed flush means here.
  }
}

}  // namespace orvo
