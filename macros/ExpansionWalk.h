// Turns a function-like macro's stored replacement list and the arguments of
// one call into the parts that are rescanned one by one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tree/Map.h"
#include "tree/Node.h"

namespace zemra {

// Argument texts of one call, keyed by index ("0", "1", ...).
using ArgumentMap = CVL_Map<std::string, std::string>;

// Walks the children of `record` in order: a parameter reference gives its
// raw argument (empty when the call passed too few), "#" gives its blanks and
// the stringized next element, "##" glues the next element onto the last
// part, any other element gives its value. Throws CVL_Message "macro may not
// begin with ##" when a "##" has no part before it.
std::vector<std::string> ExpansionParts(const node& record, ArgumentMap& arguments);

// Appends a rescanned part of an expansion to `text`. Where the part would
// join a "/" that ends `text` with a "*" or "/" that begins it, one blank
// stays between them: the blank a parameter reference drops must not open a
// comment that was not in the input (`((a) / b)` with `*p` for b).
void AppendExpansionPart(std::string& text, std::string_view part);

}  // namespace zemra
