#include "lsp/MessageFraming.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <optional>
#include <vector>

namespace orvo::lsp {

namespace {

// Reads one header line without its CR LF (a lone LF is accepted too);
// nullopt at the end of input or for a line over kMaxHeaderLineBytes
// (whose remainder is then skipped).
std::optional<std::string> readHeaderLine(std::istream& in, bool& tooLong) {
  std::string line;
  tooLong = false;
  int c = 0;
  while ((c = in.get()) != std::char_traits<char>::eof()) {
    if (c == '\n') {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    if (line.size() < kMaxHeaderLineBytes)
      line.push_back(static_cast<char>(c));
    else
      tooLong = true;
  }
  return std::nullopt;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  return text;
}

// Skips `count` bytes of input in chunks, keeping no more than one chunk.
void skipBytes(std::istream& in, std::size_t count) {
  std::vector<char> chunk(std::size_t{1} << 16);
  while (count > 0 && in) {
    const std::size_t wanted = std::min(count, chunk.size());
    in.read(chunk.data(), static_cast<std::streamsize>(wanted));
    count -= static_cast<std::size_t>(in.gcount());
  }
}

}  // namespace

ReadResult readMessage(std::istream& in) {
  std::optional<std::size_t> length;
  std::string problem;
  bool sawHeader = false;
  for (;;) {
    bool tooLong = false;
    const std::optional<std::string> line = readHeaderLine(in, tooLong);
    if (!line) {
      if (!sawHeader) return EndOfInput{};
      return FramingError{"input ended inside a message header"};
    }
    if (line->empty()) {
      // Blank lines between messages are tolerated.
      if (!sawHeader) continue;
      break;
    }
    sawHeader = true;
    if (tooLong) {
      problem = "header line longer than " + std::to_string(kMaxHeaderLineBytes) + " bytes";
      continue;
    }
    const std::size_t colon = line->find(':');
    if (colon == std::string::npos) {
      problem = "header line without ':': " + *line;
      continue;
    }
    const std::string_view name = trimmed(std::string_view(*line).substr(0, colon));
    const std::string_view value = trimmed(std::string_view(*line).substr(colon + 1));
    if (!equalsIgnoringCase(name, "Content-Length")) continue;  // Content-Type and others
    std::size_t parsed = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), parsed);
    if (error != std::errc() || end != value.data() + value.size())
      problem = "Content-Length is no number: " + std::string(value);
    else
      length = parsed;
  }
  if (!length) {
    if (problem.empty()) problem = "message header without Content-Length";
    return FramingError{problem};
  }
  if (*length > kMaxMessageBytes) {
    skipBytes(in, *length);
    return FramingError{"message of " + std::to_string(*length) + " bytes exceeds the limit of " +
                        std::to_string(kMaxMessageBytes) + " bytes"};
  }
  std::string body(*length, '\0');
  in.read(body.data(), static_cast<std::streamsize>(*length));
  if (static_cast<std::size_t>(in.gcount()) != *length)
    return FramingError{"input ended inside a message body"};
  return FramedMessage{std::move(body)};
}

void MessageWriter::write(const std::string& body) {
  const std::lock_guard lock(m_Mutex);
  m_Out << "Content-Length: " << body.size() << "\r\n\r\n" << body;
  m_Out.flush();
}

}  // namespace orvo::lsp
