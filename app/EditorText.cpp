#include "app/EditorText.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

namespace orvo {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

std::string utf8(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

}  // namespace

EditorText::EditorText(const QTextDocument& document) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const int blockStart = block.position();
    if (blockStart > 0) appendCharacter(U'\n', blockStart - 1);  // the block separator
    const QString text = block.text();
    for (int i = 0; i < text.size(); ++i) {
      const QChar unit = text.at(i);
      const int position = blockStart + i;
      if (unit.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
        appendCharacter(QChar::surrogateToUcs4(unit, text.at(i + 1)), position);
        ++i;
      } else if (unit.isSurrogate()) {
        appendCharacter(kReplacementCharacter, position);
      } else if (unit == QChar::LineSeparator) {
        // A soft line break shows as a line break, so it reads as one.
        appendCharacter(U'\n', position);
      } else {
        appendCharacter(unit.unicode(), position);
      }
    }
    m_EndPosition = blockStart + static_cast<int>(text.size());
    m_LastLineEmpty = text.isEmpty();
  }
}

void EditorText::appendCharacter(char32_t character, int position) {
  const std::string encoded = character == U'\n' ? std::string("\r\n") : utf8(character);
  m_Bytes += encoded;
  m_Positions.insert(m_Positions.end(), encoded.size(), position);
}

std::string EditorText::lines() const {
  return m_LastLineEmpty ? m_Bytes : m_Bytes + "\r\n";
}

int EditorText::positionOf(int offset) const {
  const int size = static_cast<int>(m_Positions.size());
  const int clamped = std::clamp(offset, 0, size);
  return clamped == size ? m_EndPosition : m_Positions[clamped];
}

int EditorText::positionAfter(int offset) const {
  const int size = static_cast<int>(m_Positions.size());
  const int clamped = std::clamp(offset, 0, size);
  if (clamped == 0) return 0;
  // Walk over the rest of the character that holds the byte in front of
  // `offset`: at most three more bytes.
  const int character = m_Positions[clamped - 1];
  int next = clamped;
  while (next < size && m_Positions[next] == character) ++next;
  return next == size ? m_EndPosition : m_Positions[next];
}

}  // namespace orvo
