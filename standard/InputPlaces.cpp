#include "standard/InputPlaces.h"

#include <algorithm>

namespace orvo::standard {

SourcePlace placeAtOffset(std::string_view input, std::size_t offset, const std::string& name) {
  offset = std::min(offset, input.size());
  SourcePlace place;
  place.file = name;
  place.inMainInput = true;
  const std::size_t lineStart = offset == 0 ? std::string_view::npos : input.rfind('\n', offset - 1);
  const std::size_t from = lineStart == std::string_view::npos ? 0 : lineStart + 1;
  place.line = 1 + static_cast<int>(std::count(input.begin(), input.begin() + from, '\n'));
  place.column = 1 + static_cast<int>(offset - from);
  place.begin = static_cast<int>(offset);
  place.end = place.begin + 1;
  std::size_t to = std::min(input.find('\n', from), input.size());
  if (to > from && input[to - 1] == '\r') --to;
  place.lineText = std::string(input.substr(from, std::min(to - from, SourcePlace::kMaxLineTextBytes)));
  return place;
}

}  // namespace orvo::standard
