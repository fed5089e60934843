// Ending a run on request from another thread: the parse polls a flag at
// the points every kind of work passes through (each line, each skipped
// line, each rescan pass) and ends with a message once it is set.
#pragma once

#include <atomic>
#include <string>

#include "base/Message.h"

namespace orvo {

class CancelCheck {
 public:
  // Watches `flag` (null: nothing to watch), which must outlive the parse;
  // a set flag ends the parse with a CVL_Message of `message`.
  void watch(const std::atomic<bool>* flag, std::string message) {
    m_pFlag = flag;
    m_Message = std::move(message);
  }

  // Throws once the flag is set, looking at it on every kPollStride-th call.
  void poll() {
    if (m_pFlag == nullptr || ++m_Calls % kPollStride != 0) return;
    if (m_pFlag->load(std::memory_order_relaxed)) throw CVL_Message(m_Message.c_str());
  }

 private:
  // Work between two calls is one line or one rescan pass, a few
  // microseconds in ordinary code and at most a few milliseconds for the
  // largest pass the expansion budget allows; 16 of them stay far below the
  // 50 ms a cancel may take, while most calls cost one increment.
  static constexpr unsigned kPollStride = 16;

  const std::atomic<bool>* m_pFlag = nullptr;
  std::string m_Message;
  unsigned m_Calls = 0;
};

}  // namespace orvo
