// The largest text one parse can read: positions in the text are int
// offsets, so a longer text could not be addressed.
#pragma once

#include <climits>
#include <cstddef>

namespace zemra {

constexpr std::size_t kMaxInputBytes = INT_MAX;

}  // namespace zemra
