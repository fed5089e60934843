// Reads the tokens of a text line whose extent no pattern has to decide:
// names, numbers, plain character and string literals, operators,
// parentheses and single characters, each with the blanks in front of it.
// Wherever the scanners could read the text in another way (a comment, a
// line end, a backslash, "#", a floating constant, a prefixed literal, a
// word that may begin a call) the reader stops and leaves the text to them.
// It tells names and blanks apart with the regular-expression library's
// own classes, as the scanners do. Within what it reads it agrees with the
// scanners token for token; a differential test holds it to that.
#pragma once

#include "scan/TokenSet.h"

namespace orvo {

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

// The refinements below change a token in place: the scan calls them on
// every token, and handing whole tokens back and forth cost more than the
// reading itself.

// Where ReadPlainToken stopped with `token` at a line break, "\n" or
// "\r\n" after blanks, which scanners read as EOL alone: makes `token`
// that line break, a token of that kind. Leaves any other token.
void ReadLineBreak(PlainToken& token, const char* end);

// Where ReadPlainToken stopped with `token` at a call begin, a name (not a
// number, not "defined") followed, across any white space, by "(", which
// scanners looking for MACRO_CALL_BEGIN read as that kind, the longest they
// can read there: makes `token` that call begin, and `nameEnd` receives the
// end of the name. Leaves any other token.
void ReadCallBegin(PlainToken& token, const char* end, const char*& nameEnd);

// Makes `token`, where ReadPlainToken stopped at "#", the token there as
// scanners looking for the kinds in `searched` read it: the longest of the
// directive kinds ("#", blanks, a keyword) and of "#" and "##". Kind::Stop
// where it stopped at anything else, where they read no such token, or
// where an include directive, whose groups the reader does not set, may
// begin.
void AsScannersReadHash(PlainToken& token, const char* end, const CVL_TokenSet& searched);

// Whether ReadPlainToken read `token` as a number of decimal digits alone.
bool IsDigitsOnly(const PlainToken& token);

// The kind a scanner looking for `searched` reads a number of decimal
// digits alone as, `token` read by ReadPlainToken, where it reads the
// whole number: 0 where it reads no kind as long, -1 where the kind it
// reads carries groups of its own, which the reader does not set.
int NumberKind(const PlainToken& token, const CVL_TokenSet& searched);

// Whether scanners, whatever kinds they look for, could read `token` only
// as one kind: a name, an operator, a parenthesis, a comma or a single
// character (not a number, not a literal in quotes).
bool ScannersMayReadAlike(const PlainToken& token);

// Makes `token`, read by ReadPlainToken, the token scanners looking for the
// kinds in `searched` read there, where the reader can tell: an operator
// becomes the longest spelling in `searched`. Kind::Stop where they read no
// such token or the reader cannot tell: besides the tokens
// ScannersMayReadAlike refuses, a one-letter name where a single character
// may be read as well, "defined" where it is a token of its own, and "*/".
void AsScannersRead(PlainToken& token, const char* end, const CVL_TokenSet& searched);

}  // namespace orvo
