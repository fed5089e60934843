// Marks the parse state as reading a directive's own tokens, from the
// directive name to the line break that ends it, so that no call read there
// reaches over that line break.
#pragma once

#include "runtime/ParseState.h"

namespace orvo {

class DirectiveLine {
 public:
  explicit DirectiveLine(CVL_ParseState& s) : m_State(s), m_Was(s.m_bDirectiveLine) {
    s.m_bDirectiveLine = true;
  }
  ~DirectiveLine() { end(); }
  DirectiveLine(const DirectiveLine&) = delete;
  DirectiveLine& operator=(const DirectiveLine&) = delete;

  // Ends the marking before the directive's line break is matched: the
  // token after that line break belongs to the next line.
  void end() { m_State.m_bDirectiveLine = m_Was; }

 private:
  CVL_ParseState& m_State;
  const bool m_Was;
};

}  // namespace orvo
