#include "run/SourceRegistry.h"

#include <algorithm>

namespace orvo {

SourceId SourceRegistry::addMain(std::string name, std::string_view text) {
  Source source;
  source.name = std::move(name);
  source.text = text;
  source.isMainInput = true;
  m_Sources.push_back(std::move(source));
  return static_cast<SourceId>(m_Sources.size() - 1);
}

SourceId SourceRegistry::addNamed(std::string name, std::string text) {
  Source source;
  source.name = std::move(name);
  source.owned = std::make_shared<const std::string>(std::move(text));
  source.text = *source.owned;
  m_Sources.push_back(std::move(source));
  return static_cast<SourceId>(m_Sources.size() - 1);
}

SourceId SourceRegistry::addIncluded(std::string path, std::string_view text, SourceId includer,
                                     int directiveOffset) {
  Source source;
  // A header without a guard may be read thousands of times in one run.
  auto known = m_FileTexts.find(path);
  if (known != m_FileTexts.end() && *known->second == text) {
    source.owned = known->second;
  } else {
    source.owned = std::make_shared<const std::string>(text);
    m_FileTexts.insert_or_assign(path, source.owned);
  }
  source.text = *source.owned;
  source.name = std::move(path);
  source.includer = includer;
  source.directiveOffset = directiveOffset;
  m_Sources.push_back(std::move(source));
  return static_cast<SourceId>(m_Sources.size() - 1);
}

int SourceRegistry::clampOffset(const Source& source, int offset) const {
  return std::clamp(offset, 0, static_cast<int>(source.text.size()));
}

std::pair<int, int> SourceRegistry::lineOf(const Source& source, int offset) const {
  if (source.lineStarts.empty()) {
    source.lineStarts.push_back(0);
    for (std::size_t i = 0; i < source.text.size(); ++i)
      if (source.text[i] == '\n') source.lineStarts.push_back(static_cast<int>(i + 1));
  }
  const auto after =
      std::upper_bound(source.lineStarts.begin(), source.lineStarts.end(), offset);
  const int index = static_cast<int>(after - source.lineStarts.begin()) - 1;
  return {index, source.lineStarts[static_cast<std::size_t>(index)]};
}

std::string_view SourceRegistry::text(SourceId id) const {
  if (id < 0 || static_cast<std::size_t>(id) >= m_Sources.size()) return {};
  return m_Sources[static_cast<std::size_t>(id)].text;
}

SourcePlace SourceRegistry::place(SourceId id, int begin, int end) const {
  SourcePlace place;
  if (id < 0 || static_cast<std::size_t>(id) >= m_Sources.size()) return place;
  const Source& source = m_Sources[static_cast<std::size_t>(id)];
  place.file = source.name;
  place.begin = clampOffset(source, begin);
  place.end = std::max(place.begin, clampOffset(source, end));
  const auto [line, lineStart] = lineOf(source, place.begin);
  place.line = line + 1;
  place.column = place.begin - lineStart + 1;
  std::string_view text = source.text.substr(static_cast<std::size_t>(lineStart));
  text = text.substr(0, std::min(text.find('\n'), SourcePlace::kMaxLineTextBytes));
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  place.lineText = std::string(text);
  place.inMainInput = source.isMainInput;

  for (SourceId at = id; m_Sources[static_cast<std::size_t>(at)].includer != kNoSource;) {
    const Source& included = m_Sources[static_cast<std::size_t>(at)];
    const Source& includer = m_Sources[static_cast<std::size_t>(included.includer)];
    const int offset = clampOffset(includer, included.directiveOffset);
    const auto [includeLine, includeLineStart] = lineOf(includer, offset);
    place.includedFrom.push_back(
        IncludeStep{includer.name, includeLine + 1, offset - includeLineStart + 1});
    at = included.includer;
  }
  std::reverse(place.includedFrom.begin(), place.includedFrom.end());
  return place;
}

}  // namespace orvo
