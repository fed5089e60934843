// Converting between the protocol's positions (0-based line, character in
// UTF-16 code units) and byte offsets into a document's UTF-8 text, and
// between file URIs and paths.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvo::lsp {

struct Position {
  int line = 0;
  int character = 0;
};

// The byte offset of `position` in `text`, clamped to its line's end;
// nullopt for a line past the end.
std::optional<std::size_t> offsetOf(std::string_view text, Position position);

// The protocol position of byte `offset` of `text` (clamped to its end).
Position positionAt(std::string_view text, std::size_t offset);

// The protocol position of a 1-based line and 1-based byte column, with
// the line's text to count UTF-16 units in (may be empty: then columns are
// taken as characters).
Position positionOf(int line, int column, std::string_view lineText);

// The path of a file: URI (percent escapes decoded); other URIs give
// their text unchanged, which names no file.
std::string pathOfUri(std::string_view uri);
std::string uriOfPath(std::string_view path);

// The identifier (letters, digits, '_') around `offset`, with its first
// byte; empty when there is none.
struct Word {
  std::string text;
  std::size_t begin = 0;
};
Word wordAt(std::string_view text, std::size_t offset);

}  // namespace orvo::lsp
