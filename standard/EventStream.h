// A run's observer events carried across the process boundary: the worker
// encodes each event the engine reports as an Event frame, and the client
// decodes the frames in the order they came and calls its own observer with
// them, so the caller sees the same events in the same order as from a run
// in its own process.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "orvo/Observer.h"

namespace orvo::standard {

// Appends each event as a frame to a buffer and hands the buffer on once it
// holds kFlushBytes (and when flush() is called), so that events travel in
// batches.
class EventEncoder : public RunObserver {
 public:
  using Sink = std::function<void(std::string_view frames)>;
  explicit EventEncoder(Sink sink) : m_Sink(std::move(sink)) {}

  void flush();

  void macroDefined(const MacroDefinedEvent& event) override;
  void macroUndefined(const MacroUndefinedEvent& event) override;
  void callCollected(const CallCollectedEvent& event) override;
  void expansionBuilt(const ExpansionBuiltEvent& event) override;
  void rescanPass(const RescanPassEvent& event) override;
  void replaced(const ReplacementEvent& event) override;
  void callFinished(const CallFinishedEvent& event) override;
  void conditional(const ConditionalEvent& event) override;
  void includeDirective(const IncludeEvent& event) override;
  void includeLeft(const IncludeLeftEvent& event) override;
  void message(const MessageEvent& event) override;

 private:
  static constexpr std::size_t kFlushBytes = 64 * 1024;
  // Starts a frame of event `kind`; finish() fills in its length.
  std::string& begin(std::uint8_t kind);
  void finish();

  Sink m_Sink;
  std::string m_Buffer;
  std::size_t m_FrameStart = 0;
};

// Decodes one Event frame's payload and calls the matching member of
// `observer`; throws WireError for a payload it cannot read. An event with
// a known place (a step's, a definition's name, a directive) leaves it in
// `lastPlace`.
void replayEvent(std::string_view payload, RunObserver& observer, SourcePlace& lastPlace);

}  // namespace orvo::standard
