// The run's plugin: keeps the runtime's message list as it is and notes,
// with each message recorded, where in the sources it arose.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "run/SourceTracker.h"
#include "runtime/ParseStatePlugin.h"

namespace orvo {

struct RecordedNote {
  std::string text;
  RawPlace place;  // no source: the message's own place
};

struct RecordedMessage {
  unsigned char kind = 0;  // the runtime's kind byte: 3 warning, 4 error, 5 parse error
  std::string text;
  RawPlace place;
  std::vector<RecordedNote> notes;
};

class RecordingPlugin : public orvo::CVL_ParseStatePlugin {
 public:
  RecordingPlugin(std::ostream* out, const SourceTracker& tracker)
      : CVL_ParseStatePlugin(out), m_Tracker(tracker) {}

  void addMessage(const orvo::CVL_Message& message) override {
    CVL_ParseStatePlugin::addMessage(message);
    m_Recorded.push_back(RecordedMessage{message.kind(), message.text(),
                                         m_Tracker.placeOf(message.begin(), message.end()),
                                         {}});
  }

  // Attaches a note to the message recorded last; without one it is dropped.
  void addNote(std::string text, RawPlace place) {
    if (!m_Recorded.empty()) m_Recorded.back().notes.push_back({std::move(text), place});
  }

  const std::vector<RecordedMessage>& recorded() const { return m_Recorded; }

 private:
  const SourceTracker& m_Tracker;
  std::vector<RecordedMessage> m_Recorded;
};

}  // namespace orvo
