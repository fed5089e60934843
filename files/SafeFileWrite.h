// Writing a whole file so that a failure never costs the old one: the data
// goes to a temporary file beside the target, is flushed to the device, and
// only then takes the target's name. Shared by the command line's -o and
// any other place the product writes a file the user keeps.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvo::files {

// Replaces the file at `path` with `data`. On success returns nothing. On any
// failure (no space, a file-size limit, no permission, a folder that does not
// exist) returns the reason as the system words it ("No space left on
// device"), the file at `path` is as it was and the temporary file is gone.
//
// - An existing regular file keeps its permission bits; a new one gets the
//   usual 0666 less the umask.
// - A symbolic link is followed: its target is replaced and the link stays.
// - An existing target that is no regular file (a device, a pipe) has no
//   content to keep and is written in place.
// - SIGINT, SIGTERM, SIGHUP and SIGQUIT are held back on the calling thread
//   while the temporary file exists, so an interrupt ends the program only
//   after the temporary file is renamed or removed.
// - Hard links to the old file keep the old content (a rename gives the name
//   a new file).
std::optional<std::string> writeFileSafely(const std::string& path, std::string_view data);

// Whether both names lead to one existing file (the same device and inode),
// through links and different spellings alike.
bool isSameFile(const std::string& first, const std::string& second);

}  // namespace orvo::files
