#include "app/LongLineCut.h"

namespace orvo {
namespace {

// A UTF-8 continuation byte: 10xxxxxx.
bool continuesCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// 8372224 as "8,372,224".
std::string withThousands(std::size_t number) {
  std::string digits = std::to_string(number);
  for (std::size_t at = digits.size(); at > 3; at -= 3) digits.insert(at - 3, ",");
  return digits;
}

}  // namespace

std::string cutLongLines(std::string_view text, std::string_view note) {
  std::string shown;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    // The line without its line end, which is kept whatever the cut.
    std::size_t lineEnd = end;
    if (lineEnd > start && text[lineEnd - 1] == '\r') --lineEnd;
    if (lineEnd - start <= kLongestShownLine) {
      shown.append(text.substr(start, end - start));
    } else {
      std::size_t cut = start + kLongestShownLine;
      while (cut > start && continuesCharacter(text[cut])) --cut;
      shown.append(text.substr(start, cut - start));
      std::string filled(note);
      const std::size_t mark = filled.find("%1");
      if (mark != std::string::npos) filled.replace(mark, 2, withThousands(lineEnd - cut));
      shown.append(filled);
      shown.append(text.substr(lineEnd, end - lineEnd));
    }
    if (end < text.size()) shown.push_back('\n');
    start = end + 1;
  }
  return shown;
}

}  // namespace orvo
