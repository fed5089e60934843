// Turns a function-like macro's stored replacement list and the arguments of
// one call into the parts that are rescanned one by one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tree/Node.h"

namespace orvo {

// One element of a replacement list, as the definition stored it: a token
// (with its prefix where kept), the blanks in front of a parameter, a
// parameter reference, "#" with the blanks in front of it, or "##".
struct ReplacementElement {
  // A definition keeps one element per replacement token for the run, so
  // the small fields share one word.
  enum class Kind : unsigned char { Plain, Stringize, Paste };
  Kind kind = Kind::Plain;
  // Whether `value`, as a part of its own, holds nothing a rescan would
  // change but its trailing blanks.
  bool inert = false;
  // For a parameter reference, the parameter's index; -1 for any other
  // element.
  int parameter = -1;
  std::string value;
  // Where a run of inert elements begins (none of them a parameter, the
  // operand of "#" or "##", or glued to the next by "##"): how many
  // elements the run holds, what appending their rescans one by one gives,
  // and the bytes those rescans count.
  std::size_t inertRun = 0;
  std::string inertRunText;
  std::size_t inertRunBytes = 0;
};

// The source ExpansionParts gives a part that is an inert element's value.
constexpr int kInertPart = -2;

// The children of a function-like macro's `record`, read once when the
// macro is defined so that each call walks a plain list.
std::vector<ReplacementElement> CompileReplacement(const node& record);

// Walks `elements` in order: a parameter reference gives its raw argument
// (empty when the call passed too few), "#" gives its blanks and the
// stringized next element, "##" glues the next element onto the last part,
// any other element gives its value. Throws CVL_Message "macro may not
// begin with ##" when a "##" has no part before it.
// The parts are written into `parts`, whose strings are reused: a caller
// that keeps the vector from call to call allocates little. When `sources`
// is given, it receives for each part the index of the argument the part
// is, unchanged, kInertPart for the value of an inert element, or -1 for
// any other part. When `inertBytes` is given as well, each run of inert
// elements gives one part instead, what its rescans give, of source
// kInertPart; `inertBytes` receives for each part the bytes those rescans
// count (0 for any other part).
void ExpansionParts(const std::vector<ReplacementElement>& elements,
                    const std::vector<std::string>& arguments, std::vector<std::string>& parts,
                    std::vector<int>* sources = nullptr,
                    std::vector<std::size_t>* inertBytes = nullptr);

// Appends a rescanned part of an expansion to `text`. Where the part would
// join a "/" that ends `text` with a "*" or "/" that begins it, one blank
// stays between them: the blank a parameter reference drops must not open a
// comment that was not in the input (`((a) / b)` with `*p` for b).
void AppendExpansionPart(std::string& text, std::string_view part);

}  // namespace orvo
