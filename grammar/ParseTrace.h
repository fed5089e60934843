// What the parser tells an explorer while it works: one hook per step, on
// parse-state pointers and the parser's own values. The parser holds a
// ParseTrace only when a run has an observer; everywhere else each hook
// costs a null-pointer check. The run's tracer (run/RunTracer.h) implements
// it and turns the hooks into places and observer events; the parser knows
// nothing beyond this interface.
//
// Hooks never change what the parser computes. Where a shortcut cannot tell
// its steps, the parser takes the reference path for that piece while a
// trace is attached, and says so where it chooses.
#pragma once

#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "tree/Map.h"
#include "tree/Node.h"

namespace orvo {

class CVL_ParseState;

class ParseTrace {
 public:
  virtual ~ParseTrace() = default;

  // ---- Definitions ----------------------------------------------------
  virtual void objectDefined(const CVL_ParseState& s, const std::string& name,
                             const std::string& value) = 0;
  virtual void functionDefined(const CVL_ParseState& s, const node& record,
                               const CVL_Map<std::string, std::string>& parameters) = 0;
  virtual void undefined(const CVL_ParseState& s, const std::string& name) = 0;

  // ---- Expansions -----------------------------------------------------
  // The current token is the call's ")"; `callBegin` points at its name.
  virtual void callCollected(const CVL_ParseState& s, const std::string& name,
                             const char* callBegin, const std::vector<std::string>& arguments,
                             const std::string& countMessage) = 0;
  virtual void expansionBuilt(const std::vector<std::string>& parts) = 0;
  virtual void callCopiedThrough(std::string_view name) = 0;
  // Closes the expansion opened by callCollected or objectBegins.
  virtual void expansionFinished(const std::string& result) = 0;
  // The current token holds the name (an identifier or the start of "name(").
  virtual void predefinedReplaced(const CVL_ParseState& s, std::string_view name,
                                  const std::string& value) = 0;
  virtual void objectBegins(const CVL_ParseState& s, std::string_view name,
                            const std::string& value) = 0;
  // An identifier a rescan pass reads.
  virtual void nameInPass(std::string_view name) = 0;
  virtual void passBegins() = 0;
  virtual void passEnds(int pass, const std::string& before, const std::string& after) = 0;

  // ---- Conditionals ---------------------------------------------------
  // Called when the production of the directive line was left last.
  virtual void conditional(const CVL_ParseState& s, int value, bool taken,
                           bool earlierTaken) = 0;
  // Called after the lines of a branch not taken were skipped.
  virtual void branchSkipped(const CVL_ParseState& s) = 0;

  // ---- Includes -------------------------------------------------------
  // The current token is the include directive.
  virtual void includeNotLoaded(const CVL_ParseState& s, const std::string& name,
                                const std::string& path) = 0;
  virtual void includeEntered(const CVL_ParseState& s, const std::string& name,
                              const std::string& path, const CVL_ParseState& file,
                              int depth) = 0;
  // `report`: false when an exception ends the file's parse.
  virtual void includeLeft(bool report) = 0;

  // ---- Output ---------------------------------------------------------
  virtual void wrote(const CVL_ParseState& s, std::string_view text) = 0;
};

// Reports one rescan pass when its scope ends: `after` then holds the pass's
// result. Costs a null check without a trace.
class RescanPassTrace {
 public:
  RescanPassTrace(ParseTrace* trace, int pass, const std::string& before,
                  const std::string& after)
      : m_pTrace(trace), m_Pass(pass), m_Before(before), m_After(after) {
    if (m_pTrace == nullptr) return;
    m_Exceptions = std::uncaught_exceptions();
    m_pTrace->passBegins();
  }
  // Reports the pass's result, which may allocate and throw; not while an
  // exception unwinds.
  ~RescanPassTrace() noexcept(false) {
    // A pass that an exception ends has no result to report.
    if (m_pTrace != nullptr && std::uncaught_exceptions() == m_Exceptions)
      m_pTrace->passEnds(m_Pass, m_Before, m_After);
  }
  RescanPassTrace(const RescanPassTrace&) = delete;
  RescanPassTrace& operator=(const RescanPassTrace&) = delete;

 private:
  ParseTrace* m_pTrace;
  int m_Pass;
  const std::string& m_Before;
  const std::string& m_After;
  int m_Exceptions = 0;
};

// Reports an included file's parse as entered for its lifetime.
class IncludeTrace {
 public:
  IncludeTrace(ParseTrace* trace, const CVL_ParseState& s, const std::string& name,
               const std::string& path, const CVL_ParseState& file, int depth)
      : m_pTrace(trace), m_Exceptions(trace != nullptr ? std::uncaught_exceptions() : 0) {
    if (m_pTrace != nullptr) m_pTrace->includeEntered(s, name, path, file, depth);
  }
  // Reports the end of the file, which may allocate and throw; while an
  // exception unwinds the trace only forgets the file, which cannot.
  ~IncludeTrace() noexcept(false) {
    if (m_pTrace != nullptr) m_pTrace->includeLeft(std::uncaught_exceptions() == m_Exceptions);
  }
  IncludeTrace(const IncludeTrace&) = delete;
  IncludeTrace& operator=(const IncludeTrace&) = delete;

 private:
  ParseTrace* m_pTrace;
  int m_Exceptions;
};

}  // namespace orvo
