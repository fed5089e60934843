// A text area's content as the engine and the file system see it: UTF-8
// bytes with CR LF line ends, and the way back from byte offsets to the
// area's character positions.
#pragma once

#include <string>
#include <vector>

class QTextDocument;

namespace orvo {

class EditorText {
 public:
  explicit EditorText(const QTextDocument& document);

  // The lines joined with CR LF; no line break after the last line.
  const std::string& bytes() const { return m_Bytes; }

  // The lines each followed by CR LF, as a text file holds them. A trailing
  // empty line is no line of its own, so an empty area gives no bytes.
  std::string lines() const;

  // The text cursor position of the character that holds byte `offset`.
  // A CR LF pair is one character, a UTF-8 sequence is one character of
  // one or two UTF-16 units. Offsets outside the text are clamped.
  int positionOf(int offset) const;

  // The cursor position just behind the character that holds the byte in
  // front of `offset`, so that [positionOf(b), positionAfter(e)) covers
  // every character touched by the bytes [b, e).
  int positionAfter(int offset) const;

 private:
  void appendCharacter(char32_t character, int position);

  std::string m_Bytes;
  std::vector<int> m_Positions;  // for each byte, its character's position
  int m_EndPosition = 0;
  bool m_LastLineEmpty = true;
};

}  // namespace orvo
