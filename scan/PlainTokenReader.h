// Reads the tokens of a text line whose extent no pattern has to decide:
// names, numbers, plain character and string literals, operators,
// parentheses and single characters, each with the blanks in front of it.
// Wherever the scanners could read the text in another way (a comment, a
// line end, a backslash, "#", a floating constant, a prefixed literal, a
// name that may begin a call, a byte outside ASCII) the reader stops and
// leaves the text to them. Within what it reads it agrees with the
// scanners token for token; a differential test holds it to that.
#pragma once

namespace zemra {

struct PlainToken {
  enum class Kind { Stop, Word, Other };

  Kind kind = Kind::Stop;
  const char* prefixBegin = nullptr;  // the blanks in front of the token
  const char* begin = nullptr;
  const char* end = nullptr;
  // The token kind when only one kind can be read there; 0 for a word that
  // begins with a digit, which several number kinds and ID read alike.
  int id = 0;
};

// The token that follows `p` (its blanks first), read from text ending at
// `end`; Kind::Stop where the reader leaves the text to the scanners.
PlainToken ReadPlainToken(const char* p, const char* end);

}  // namespace zemra
