#include "run/SourceRegistry.h"

#include <algorithm>
#include <cstring>

namespace orvo {

int SourceRegistry::addText(std::string name, std::string_view text,
                            std::unique_ptr<const std::string> owned) {
  Text entry;
  entry.name = std::move(name);
  entry.owned = std::move(owned);
  entry.text = entry.owned ? std::string_view(*entry.owned) : text;
  m_Texts.push_back(std::move(entry));
  return static_cast<int>(m_Texts.size() - 1);
}

SourceId SourceRegistry::addReading(int text, SourceId includer, int directiveOffset) {
  m_Sources.push_back(Source{text, includer, directiveOffset});
  return static_cast<SourceId>(m_Sources.size() - 1);
}

SourceId SourceRegistry::addMain(std::string name, std::string_view text) {
  const int index = addText(std::move(name), text, nullptr);
  m_Texts[static_cast<std::size_t>(index)].isMainInput = true;
  return addReading(index, kNoSource, 0);
}

SourceId SourceRegistry::addNamed(std::string name, std::string text) {
  return addReading(
      addText(std::move(name), {}, std::make_unique<const std::string>(std::move(text))),
      kNoSource, 0);
}

SourceId SourceRegistry::addIncluded(std::string path, std::string_view text, SourceId includer,
                                     int directiveOffset) {
  // A header without a guard may be read thousands of times in one run.
  auto known = m_FileTexts.find(path);
  if (known == m_FileTexts.end() || m_Texts[static_cast<std::size_t>(known->second)].text != text) {
    const int index = addText(path, {}, std::make_unique<const std::string>(text));
    known = m_FileTexts.insert_or_assign(std::move(path), index).first;
  }
  return addReading(known->second, includer, directiveOffset);
}

int SourceRegistry::clampOffset(const Text& text, int offset) const {
  return std::clamp(offset, 0, static_cast<int>(text.text.size()));
}

std::pair<int, int> SourceRegistry::lineOf(const Text& text, int offset) const {
  // Finds line starts only as far as asked: a message near the top of a
  // large input does not wait for the whole of it to be scanned.
  const std::string_view all = text.text;
  while (text.scannedTo <= static_cast<std::size_t>(offset) && text.scannedTo < all.size()) {
    const auto* found = static_cast<const char*>(
        std::memchr(all.data() + text.scannedTo, '\n', all.size() - text.scannedTo));
    if (found == nullptr) {
      text.scannedTo = all.size();
      break;
    }
    text.scannedTo = static_cast<std::size_t>(found - all.data()) + 1;
    text.lineStarts.push_back(static_cast<int>(text.scannedTo));
  }
  const auto after = std::upper_bound(text.lineStarts.begin(), text.lineStarts.end(), offset);
  const int index = static_cast<int>(after - text.lineStarts.begin()) - 1;
  return {index, text.lineStarts[static_cast<std::size_t>(index)]};
}

std::string_view SourceRegistry::text(SourceId id) const {
  if (id < 0 || static_cast<std::size_t>(id) >= m_Sources.size()) return {};
  return textOf(id).text;
}

void SourceRegistry::includeFound(std::string_view name, std::string_view path, bool readable) {
  if (m_FoundPaths.find(path) != m_FoundPaths.end()) return;
  m_FoundPaths.emplace(path);
  m_IncludedFiles.push_back(
      {std::string(name), std::string(path),
       readable ? IncludedFile::Status::Loaded : IncludedFile::Status::Unreadable});
}

void SourceRegistry::includeMissing(std::string_view name) {
  if (m_MissingNames.find(name) != m_MissingNames.end()) return;
  m_MissingNames.emplace(name);
  m_IncludedFiles.push_back({std::string(name), std::string(), IncludedFile::Status::NotFound});
}

int SourceRegistry::lineOf(SourceId id, int offset) const {
  if (id < 0 || static_cast<std::size_t>(id) >= m_Sources.size()) return 0;
  const Text& source = textOf(id);
  return lineOf(source, clampOffset(source, offset)).first + 1;
}

SourcePlace SourceRegistry::lineAndColumn(SourceId id, int begin, int end) const {
  SourcePlace place;
  if (id < 0 || static_cast<std::size_t>(id) >= m_Sources.size()) return place;
  const Text& source = textOf(id);
  place.file = source.name;
  place.begin = clampOffset(source, begin);
  place.end = std::max(place.begin, clampOffset(source, end));
  const auto [line, lineStart] = lineOf(source, place.begin);
  place.line = line + 1;
  place.column = place.begin - lineStart + 1;
  place.inMainInput = source.isMainInput;
  return place;
}

SourcePlace SourceRegistry::place(SourceId id, int begin, int end) const {
  SourcePlace place = lineAndColumn(id, begin, end);
  if (!place.known()) return place;
  const Text& source = textOf(id);
  const int lineStart = place.begin - (place.column - 1);
  std::string_view text = source.text.substr(static_cast<std::size_t>(lineStart));
  text = text.substr(0, std::min(text.find('\n'), SourcePlace::kMaxLineTextBytes));
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  place.lineText = std::string(text);

  for (SourceId at = id; m_Sources[static_cast<std::size_t>(at)].includer != kNoSource;) {
    const Source& included = m_Sources[static_cast<std::size_t>(at)];
    const Text& includer = textOf(included.includer);
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
