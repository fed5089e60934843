// Reading a whole input file with the reason for any failure, refusing a
// file too large for a run before reading any of it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace orvo::files {

// Reads the file at `path` into `text`. On success returns nothing; on a
// failure returns the reason ("No such file or directory", "Is a directory",
// or, for a regular file over `maxBytes`, its size and the limit). A source
// whose size is not known beforehand (a device, a pipe) is read up to one
// byte past `maxBytes`, so that an endless one ends and the caller can tell
// it was too long.
std::optional<std::string> readWholeFile(const std::string& path, std::size_t maxBytes,
                                         std::string& text);

}  // namespace orvo::files
