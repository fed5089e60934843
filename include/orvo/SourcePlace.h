// A place in the sources of a run, as people read it: the file, 1-based line
// and column, the byte range, the line's text and the #include lines that led
// into the file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace orvo {

// One #include directive on the way into a file.
struct IncludeStep {
  std::string file;
  int line = 0;
  int column = 0;
};

struct SourcePlace {
  // The main input's name, an included file's path as the search found it,
  // or the name of a text that is no file (such as "<command line>").
  std::string file;
  int line = 0;    // 1-based
  int column = 0;  // 1-based, counting bytes; a tab counts as one
  int begin = 0;   // byte offsets into the file's text, end exclusive
  int end = 0;
  // The whole line the place begins on, without its line break; cut after
  // kMaxLineTextBytes bytes.
  std::string lineText;
  // The directives that included the file, outermost first; empty for the
  // main input and for texts that were not included.
  std::vector<IncludeStep> includedFrom;
  // Whether the place is in the main input, whose offsets a front end can
  // map into the text it handed to the run.
  bool inMainInput = false;

  // Longest line text kept: enough for any caret display, while a huge
  // single-line file does not get copied into each message.
  static constexpr std::size_t kMaxLineTextBytes = 4096;

  // Whether the place names a line at all (line 0: no place).
  bool known() const { return line > 0; }
};

}  // namespace orvo
