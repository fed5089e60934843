#include "run/SourceTracker.h"

#include <algorithm>

#include "runtime/ParseState.h"

namespace orvo {
namespace {

std::pair<int, int> currentToken(const orvo::CVL_ParseState& state) {
  const orvo::CVL_Match& current = state.m_Position.m_Current;
  if (current.m_pTokenBegin == nullptr) return {0, 0};
  return {state.offsetOf(current.m_pTokenBegin), state.offsetOf(current.m_pTokenEnd)};
}

std::string_view textOf(const orvo::CVL_ParseState& state) {
  const orvo::CVL_Position& position = state.m_Position;
  return std::string_view(position.m_pBegin,
                          static_cast<std::size_t>(position.m_pEnd - position.m_pBegin));
}

}  // namespace

SourceTracker::SourceTracker(SourceRegistry& registry, SourceId main)
    : m_Registry(registry), m_Main(main) {}

void SourceTracker::enter(const orvo::CVL_ParseState& state, orvo::SourceKind kind,
                          std::string_view name) {
  m_Unwound.reset();
  SourceId source = kNoSource;
  switch (kind) {
    case orvo::SourceKind::Main:
      source = m_Main;
      break;
    case orvo::SourceKind::File: {
      // The enclosing parse stands on the #include directive.
      const Frame* includer = innermostSource();
      source = m_Registry.addIncluded(std::string(name), textOf(state),
                                      includer ? includer->source : kNoSource,
                                      includer ? currentToken(*includer->state).first : 0);
      break;
    }
    case orvo::SourceKind::Named:
      source = m_Registry.addNamed(std::string(name), std::string(textOf(state)));
      break;
    case orvo::SourceKind::MacroText:
      break;
  }
  m_Frames.push_back(Frame{&state, source});
}

void SourceTracker::leave(bool unwinding) {
  if (m_Frames.empty()) return;
  if (unwinding && !m_Unwound) m_Unwound = currentPlace();
  m_Frames.pop_back();
}

void SourceTracker::includeFound(std::string_view name, std::string_view path, bool readable) {
  m_Registry.includeFound(name, path, readable);
}

void SourceTracker::includeMissing(std::string_view name) { m_Registry.includeMissing(name); }

SourceId SourceTracker::innermostSourceOf(const orvo::CVL_ParseState& state) const {
  const Frame* frame = innermostSource();
  return frame != nullptr && frame->state == &state ? frame->source : kNoSource;
}

void SourceTracker::enterMacroUse(const orvo::CVL_ParseState& state) {
  m_Uses.emplace_back(&state, currentToken(state).first);
}

void SourceTracker::leaveMacroUse() {
  if (!m_Uses.empty()) m_Uses.pop_back();
}

int SourceTracker::markPlace(int begin, int end) {
  m_Marks.push_back(placeOf(begin, end));
  return static_cast<int>(m_Marks.size() - 1);
}

void SourceTracker::noteOnLastMessage(std::string_view text, int mark) {
  if (!m_NoteSink) return;
  const bool kept = mark >= 0 && static_cast<std::size_t>(mark) < m_Marks.size();
  m_NoteSink(std::string(text), kept ? m_Marks[static_cast<std::size_t>(mark)] : RawPlace{});
}

const SourceTracker::Frame* SourceTracker::innermostSource() const {
  for (auto frame = m_Frames.rbegin(); frame != m_Frames.rend(); ++frame)
    if (frame->source != kNoSource) return &*frame;
  return nullptr;
}

RawPlace SourceTracker::currentPlace() const {
  if (m_Frames.empty()) return RawPlace{};
  const auto [begin, end] = currentToken(*m_Frames.back().state);
  return placeOf(begin, end);
}

RawPlace SourceTracker::placeOf(int begin, int end) const {
  if (m_Frames.empty()) return RawPlace{};
  if (m_Frames.back().source != kNoSource) return RawPlace{m_Frames.back().source, begin, end};
  const Frame* source = innermostSource();
  if (source == nullptr) return RawPlace{};
  auto [useBegin, useEnd] = currentToken(*source->state);
  for (const auto& [state, callBegin] : m_Uses) {
    if (state == source->state) {
      useBegin = std::min(useBegin, callBegin);
      break;
    }
  }
  return RawPlace{source->source, useBegin, useEnd, true};
}

RawPlace SourceTracker::placeOfThrown(int begin, int end, bool hasRange) const {
  if (!m_Unwound) return RawPlace{};
  RawPlace place = *m_Unwound;
  if (hasRange && !place.inMacroText && place.source != kNoSource) {
    place.begin = begin;
    place.end = end;
  }
  return place;
}

}  // namespace orvo
