// The place of a byte offset in the main input, worked out from the text
// alone: for errors found before the library reads the input, and for the
// errors of a worker that ended while it ran.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "orvo/SourcePlace.h"

namespace orvo::standard {

// Line, column and line text of `offset` in `input`, a byte long.
SourcePlace placeAtOffset(std::string_view input, std::size_t offset, const std::string& name);

}  // namespace orvo::standard
