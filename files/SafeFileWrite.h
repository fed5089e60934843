// Writing a whole file so that a failure never costs the old one: the data
// goes to a temporary file beside the target, is flushed to the device, and
// only then takes the target's name (or, where the file must stay the same
// file, is written into it once its room is reserved). Used by the command
// line's -o.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvo::files {

// Replaces the file at `path` with `data`. On success returns nothing. On any
// failure (no space, a file-size limit, no permission, a folder that does not
// exist) returns the reason as the system words it ("No space left on
// device", "Permission denied"), and the file at `path` is as it was and the
// temporary file is gone.
//
// - A file the user may not write (a read-only one, say) is refused with
//   "Permission denied", as cp and cpp -o refuse it.
// - An existing regular file keeps its permission bits, owner and group; a
//   new one gets the usual 0666 less the umask.
// - Symbolic links are followed: their target is written and the links stay;
//   a link whose target does not exist creates that file.
// - A file with other names (hard links), one whose owner or group a new
//   file cannot be given, or one in a folder that takes no new files, is
//   rewritten in place so that it stays the same file: the room for the new
//   text is reserved before the old text is touched, so a full device or a
//   file-size limit still leaves it as it was; what is lost against the
//   rename is only that a crash of the machine midway may leave it half
//   written.
// - An existing target that is no regular file (a device, a pipe) has no
//   content to keep and is written in place.
// - SIGINT, SIGTERM, SIGHUP and SIGQUIT are held back on the calling thread
//   while the file is written, so an interrupt ends the program only after
//   the temporary file is renamed or removed, or the rewrite is done.
std::optional<std::string> writeFileSafely(const std::string& path, std::string_view data);

// Whether both names lead to one existing file (the same device and inode),
// through links and different spellings alike.
bool isSameFile(const std::string& first, const std::string& second);

}  // namespace orvo::files
