// The framing of the protocol's messages: each a "Content-Length: N" header
// block, an empty line, then N bytes of JSON.
#pragma once

#include <cstddef>
#include <istream>
#include <mutex>
#include <ostream>
#include <string>
#include <variant>

namespace orvo::lsp {

// The largest message body read: a 50 MB document sent as JSON may double
// in size through escapes (every "\n" and quote takes two bytes), plus the
// envelope; anything beyond 128 MiB is skipped and answered with an error.
inline constexpr std::size_t kMaxMessageBytes = std::size_t{128} << 20;

// Longest header line accepted; real clients send lines of a few dozen bytes.
inline constexpr std::size_t kMaxHeaderLineBytes = 1024;

struct FramedMessage {
  std::string body;
};
// A header block without a usable Content-Length, or a body over the limit
// (which was read and dropped): the message cannot be answered by id.
struct FramingError {
  std::string reason;
};
struct EndOfInput {};

using ReadResult = std::variant<FramedMessage, FramingError, EndOfInput>;

// Reads the next message from `in`.
ReadResult readMessage(std::istream& in);

// Writes framed messages; several threads may write at once.
class MessageWriter {
 public:
  explicit MessageWriter(std::ostream& out) : m_Out(out) {}
  void write(const std::string& body);

 private:
  std::mutex m_Mutex;
  std::ostream& m_Out;
};

}  // namespace orvo::lsp
