// The run's sources, in one place: the texts it parsed (the main input, each
// included file with the place of its #include, and named texts that are no
// file), their line tables, and every file an include directive looked for.
// Messages, the explorer's events and the dependency list all read them.
// Lines, columns and include chains are worked out from a (text, offset)
// pair only when asked for.
#pragma once

#include <map>
#include <set>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "orvo/IncludedFile.h"
#include "orvo/SourcePlace.h"

namespace orvo {

using SourceId = int;
constexpr SourceId kNoSource = -1;

class SourceRegistry {
 public:
  // The run's input. REQUIRES: `text` outlives the registry.
  SourceId addMain(std::string name, std::string_view text);
  // A text that is no file on disk, shown under `name` ("<command line>").
  SourceId addNamed(std::string name, std::string text);
  // An included file as read, at `path` as found, included by the directive
  // that begins at `directiveOffset` in `includer`. A file read again with
  // the same content shares its text with the earlier reading.
  SourceId addIncluded(std::string path, std::string_view text, SourceId includer,
                       int directiveOffset);

  std::size_t size() const { return m_Sources.size(); }

  // An include directive named `name` and the search found it at `path`
  // (`readable`: and read it), or found it nowhere. Each file is listed
  // once, in the order it was first looked for: a header included many
  // times (behind its include guard) is one dependency, and so is a name no
  // include directory has.
  void includeFound(std::string_view name, std::string_view path, bool readable);
  void includeMissing(std::string_view name);
  const std::vector<IncludedFile>& includedFiles() const { return m_IncludedFiles; }

  // The place of the byte range [begin, end) of source `id`; offsets past
  // the text are moved to its end.
  SourcePlace place(SourceId id, int begin, int end) const;
  // The same without the line's text and the include chain: what the
  // explorer's events carry, many per line.
  SourcePlace lineAndColumn(SourceId id, int begin, int end) const;
  // 1-based line of `offset` in source `id`.
  int lineOf(SourceId id, int offset) const;
  // The text of source `id`; empty for kNoSource.
  std::string_view text(SourceId id) const;

 private:
  // One text with its name, shared by every reading of it.
  struct Text {
    std::string name;
    std::string_view text;  // the main input's, or a view on `owned`
    std::unique_ptr<const std::string> owned;
    bool isMainInput = false;
    // Starts of the lines up to `scannedTo`, found when first needed.
    mutable std::vector<int> lineStarts{0};
    mutable std::size_t scannedTo = 0;
  };
  // One reading: a header included a million times costs a million of
  // these, 12 bytes each, and its text and name once.
  struct Source {
    int text = 0;  // index into m_Texts
    SourceId includer = kNoSource;
    int directiveOffset = 0;
  };

  SourceId addReading(int text, SourceId includer, int directiveOffset);
  int addText(std::string name, std::string_view text, std::unique_ptr<const std::string> owned);
  // 0-based line index of `offset` and the offset its line starts at.
  std::pair<int, int> lineOf(const Text& text, int offset) const;
  int clampOffset(const Text& text, int offset) const;
  const Text& textOf(SourceId id) const {
    return m_Texts[static_cast<std::size_t>(m_Sources[static_cast<std::size_t>(id)].text)];
  }

  std::vector<Text> m_Texts;
  std::vector<Source> m_Sources;
  // Texts of included files by path, shared among readings of one file.
  std::map<std::string, int, std::less<>> m_FileTexts;
  std::vector<IncludedFile> m_IncludedFiles;
  std::set<std::string, std::less<>> m_FoundPaths;
  std::set<std::string, std::less<>> m_MissingNames;
};

}  // namespace orvo
