#include "app/LineEnds.h"

namespace orvo {

std::string withCrLfLineEnds(std::string_view bytes) {
  std::string text;
  // Room for a text of LF line ends only; one allocation in the usual case.
  text.reserve(bytes.size() + bytes.size() / 16 + 2);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      text.append("\r\n");
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      text.push_back(c);
    }
  }
  return text;
}

LineEndStyle lineEndStyleOf(std::string_view bytes) {
  const std::size_t lf = bytes.find('\n');
  if (lf == std::string_view::npos) return LineEndStyle::CrLf;
  return lf > 0 && bytes[lf - 1] == '\r' ? LineEndStyle::CrLf : LineEndStyle::Lf;
}

std::string withLineEnds(std::string_view crlfText, LineEndStyle style) {
  if (style == LineEndStyle::CrLf) return std::string(crlfText);
  std::string text;
  text.reserve(crlfText.size());
  for (std::size_t i = 0; i < crlfText.size(); ++i) {
    if (crlfText[i] == '\r' && i + 1 < crlfText.size() && crlfText[i + 1] == '\n') continue;
    text.push_back(crlfText[i]);
  }
  return text;
}

}  // namespace orvo
