#include "lsp/TextPosition.h"

#include <algorithm>
#include <cctype>

namespace orvo::lsp {

namespace {

// UTF-16 code units of the UTF-8 sequence that starts with `lead`: two for
// a four-byte sequence, one for the others; continuation bytes count none.
int utf16Units(unsigned char lead) {
  if ((lead & 0xC0) == 0x80) return 0;
  return lead >= 0xF0 ? 2 : 1;
}

bool isIdentifierByte(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::size_t> offsetOf(std::string_view text, Position position) {
  std::size_t offset = 0;
  for (int line = 0; line < position.line; ++line) {
    const std::size_t newline = text.find('\n', offset);
    if (newline == std::string_view::npos) return std::nullopt;
    offset = newline + 1;
  }
  int units = 0;
  while (offset < text.size() && text[offset] != '\n' && text[offset] != '\r') {
    const int width = utf16Units(static_cast<unsigned char>(text[offset]));
    if (width > 0 && units + width > position.character) break;
    units += width;
    ++offset;
  }
  return offset;
}

Position positionAt(std::string_view text, std::size_t offset) {
  offset = std::min(offset, text.size());
  Position position;
  std::size_t lineStart = 0;
  for (std::size_t i = 0; i < offset; ++i) {
    if (text[i] == '\n') {
      ++position.line;
      lineStart = i + 1;
    }
  }
  for (std::size_t i = lineStart; i < offset; ++i)
    position.character += utf16Units(static_cast<unsigned char>(text[i]));
  return position;
}

Position positionOf(int line, int column, std::string_view lineText) {
  Position position{line > 0 ? line - 1 : 0, 0};
  const std::size_t bytes = column > 0 ? static_cast<std::size_t>(column - 1) : 0;
  if (lineText.empty()) {
    position.character = static_cast<int>(bytes);
    return position;
  }
  for (std::size_t i = 0; i < bytes && i < lineText.size(); ++i)
    position.character += utf16Units(static_cast<unsigned char>(lineText[i]));
  if (bytes > lineText.size()) position.character += static_cast<int>(bytes - lineText.size());
  return position;
}

std::string pathOfUri(std::string_view uri) {
  constexpr std::string_view kScheme = "file://";
  if (uri.substr(0, kScheme.size()) != kScheme) return std::string(uri);
  uri.remove_prefix(kScheme.size());
  std::string path;
  for (std::size_t i = 0; i < uri.size(); ++i) {
    if (uri[i] == '%' && i + 2 < uri.size()) {
      const int high = hexValue(uri[i + 1]);
      const int low = hexValue(uri[i + 2]);
      if (high >= 0 && low >= 0) {
        path.push_back(static_cast<char>(high * 16 + low));
        i += 2;
        continue;
      }
    }
    path.push_back(uri[i]);
  }
  return path;
}

std::string uriOfPath(std::string_view path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string uri = "file://";
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (std::isalnum(byte) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
      uri.push_back(c);
    } else {
      uri.push_back('%');
      uri.push_back(kHex[byte >> 4]);
      uri.push_back(kHex[byte & 0xF]);
    }
  }
  return uri;
}

Word wordAt(std::string_view text, std::size_t offset) {
  if (offset > text.size()) return {};
  std::size_t begin = offset;
  while (begin > 0 && isIdentifierByte(text[begin - 1])) --begin;
  std::size_t end = offset;
  while (end < text.size() && isIdentifierByte(text[end])) ++end;
  if (begin == end || std::isdigit(static_cast<unsigned char>(text[begin]))) return {};
  return Word{std::string(text.substr(begin, end - begin)), begin};
}

}  // namespace orvo::lsp
