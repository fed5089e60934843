// Follows the nested parses of a run (main input, included files, rescanned
// macro text) and places each message in a registered source at the moment
// it arises: recorded messages when they are recorded, a thrown one when it
// leaves the innermost parse.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "run/SourceRegistry.h"
#include "runtime/SourceTrail.h"

namespace orvo {

// A place before lines and columns are worked out.
struct RawPlace {
  SourceId source = kNoSource;
  int begin = 0;
  int end = 0;
  // Arose in rescanned macro text; the range is the macro's use.
  bool inMacroText = false;
};

class SourceTracker : public orvo::CVL_SourceTrail {
 public:
  // `main` is the registered source of the run's input.
  SourceTracker(SourceRegistry& registry, SourceId main);

  void enter(const orvo::CVL_ParseState& state, orvo::SourceKind kind,
             std::string_view name) override;
  void leave(bool unwinding) override;
  void enterMacroUse(const orvo::CVL_ParseState& state) override;
  void leaveMacroUse() override;
  int markPlace(int begin, int end) override;
  void includeFound(std::string_view name, std::string_view path, bool readable) override;
  void includeMissing(std::string_view name) override;
  void noteOnLastMessage(std::string_view text, int mark) override;

  // Receives the notes the parser attaches (text, place; a place with no
  // source stands for the message's own).
  using NoteSink = std::function<void(std::string, RawPlace)>;
  void setNoteSink(NoteSink sink) { m_NoteSink = std::move(sink); }

  // Where a message of the innermost parse about its range [begin, end)
  // arose. In macro text the range means nothing to a reader; the place is
  // then the macro use in the nearest parse of a source: from the start of
  // the outermost call being expanded there to its current token.
  RawPlace placeOf(int begin, int end) const;

  const SourceRegistry& registry() const { return m_Registry; }

  // The source `state` parses, when it is the innermost parse of a source
  // (the main input, an included file or a named text), else kNoSource.
  SourceId innermostSourceOf(const orvo::CVL_ParseState& state) const;

  // Where the exception that ends the run arose. `begin` and `end` are the
  // exception's own range, used when `hasRange`; otherwise the place is the
  // token its innermost parse stood on.
  RawPlace placeOfThrown(int begin, int end, bool hasRange) const;

 private:
  struct Frame {
    const orvo::CVL_ParseState* state;
    SourceId source;  // kNoSource for macro text
  };

  // The current token of the innermost parse, seen from the sources.
  RawPlace currentPlace() const;
  const Frame* innermostSource() const;

  SourceRegistry& m_Registry;
  SourceId m_Main;
  std::vector<Frame> m_Frames;
  // Macro calls being expanded: their parse and where each call begins.
  std::vector<std::pair<const orvo::CVL_ParseState*, int>> m_Uses;
  // Set when an exception leaves the innermost parse, cleared when a parse
  // is entered; the frames are gone by the time the run catches it.
  std::optional<RawPlace> m_Unwound;
  // Places kept by markPlace, indexed by their handles.
  std::vector<RawPlace> m_Marks;
  NoteSink m_NoteSink;
};

}  // namespace orvo
