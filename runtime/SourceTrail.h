// The texts a run is parsing right now, innermost last, as the parser tells
// them: the main input, included files and macro text being rescanned. The
// host keeps them so that every message, recorded or thrown, can be placed
// in the source text it came from. Without a trail the parser only tests a
// null pointer per nested parse.
#pragma once

#include <exception>
#include <string_view>

namespace orvo {

class CVL_ParseState;

enum class SourceKind {
  Main,       // the text the run was given
  File,       // an included file's text
  MacroText,  // text built from macros and their arguments, being rescanned
  Named,      // a text that is no file, shown under its name ("<command line>")
};

class CVL_SourceTrail {
 public:
  virtual ~CVL_SourceTrail() = default;

  // A parse of `state`'s text begins, inside the innermost one entered
  // before. `name` is the included file's path as it was found (File), or
  // the name to show for a Named text.
  // For an included file the enclosing parse's current token is the
  // #include directive.
  virtual void enter(const CVL_ParseState& state, SourceKind kind, std::string_view name) = 0;
  // The innermost parse ends; `unwinding` when an exception ends it.
  virtual void leave(bool unwinding) = 0;

  // A macro call in `state`'s text, whose current token begins it, is being
  // expanded; messages from its rescans then point at the whole call.
  virtual void enterMacroUse(const CVL_ParseState& state) = 0;
  virtual void leaveMacroUse() = 0;

  // ---- Include lookups ----
  // An #include directive named `name`, and the search found it at `path`:
  // read when `readable`, else the file could not be read.
  virtual void includeFound(std::string_view /*name*/, std::string_view /*path*/,
                            bool /*readable*/) {}
  // An #include directive named `name`, and no directory has it.
  virtual void includeMissing(std::string_view /*name*/) {}

  // ---- Notes ----
  // Keeps the place of [begin, end) in the innermost parse's text, such as a
  // macro's definition, for notes later on; returns a handle to it, or
  // kNoMark when the trail keeps none.
  static constexpr int kNoMark = -1;
  virtual int markPlace(int /*begin*/, int /*end*/) { return kNoMark; }
  // Attaches a note to the message recorded last, at a place kept before
  // (kNoMark: at that message's own place).
  virtual void noteOnLastMessage(std::string_view /*text*/, int /*mark*/) {}
};

// Enters a parse into a trail for the frame's lifetime; does nothing for a
// null trail.
class CVL_SourceFrame {
 public:
  CVL_SourceFrame(CVL_SourceTrail* trail, const CVL_ParseState& state, SourceKind kind,
                  std::string_view name = {})
      : m_pTrail(trail), m_Uncaught(std::uncaught_exceptions()) {
    if (m_pTrail != nullptr) m_pTrail->enter(state, kind, name);
  }
  ~CVL_SourceFrame() {
    if (m_pTrail != nullptr) m_pTrail->leave(std::uncaught_exceptions() > m_Uncaught);
  }
  CVL_SourceFrame(const CVL_SourceFrame&) = delete;
  CVL_SourceFrame& operator=(const CVL_SourceFrame&) = delete;

 private:
  CVL_SourceTrail* m_pTrail;
  int m_Uncaught;
};

// Marks a macro call as being expanded for the frame's lifetime; does
// nothing for a null trail.
class CVL_MacroUseFrame {
 public:
  CVL_MacroUseFrame(CVL_SourceTrail* trail, const CVL_ParseState& state) : m_pTrail(trail) {
    if (m_pTrail != nullptr) m_pTrail->enterMacroUse(state);
  }
  ~CVL_MacroUseFrame() {
    if (m_pTrail != nullptr) m_pTrail->leaveMacroUse();
  }
  CVL_MacroUseFrame(const CVL_MacroUseFrame&) = delete;
  CVL_MacroUseFrame& operator=(const CVL_MacroUseFrame&) = delete;

 private:
  CVL_SourceTrail* m_pTrail;
};

}  // namespace orvo
