#include "files/FileRead.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvo::files {

std::optional<std::string> readWholeFile(const std::string& path, std::size_t maxBytes,
                                         std::string& text) {
  // Large enough that a big file takes few system calls.
  constexpr std::size_t kChunkBytes = std::size_t{1} << 16;
  text.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::string(std::strerror(errno));
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};

  struct stat info {};
  if (::fstat(fd, &info) != 0) return std::string(std::strerror(errno));
  if (S_ISDIR(info.st_mode)) return std::string(std::strerror(EISDIR));
  const std::size_t readLimit = maxBytes + 1;
  if (S_ISREG(info.st_mode)) {
    const auto size = static_cast<std::uintmax_t>(info.st_size);
    if (size > maxBytes) {
      return "file too large (" + std::to_string(size) + " bytes; a run reads at most " +
             std::to_string(maxBytes) + ")";
    }
    // Sized up front, with room for the read that finds the end, so that a
    // large file is not copied each time it grows.
    text.reserve(std::min(static_cast<std::size_t>(size) + kChunkBytes, readLimit));
  }
  while (text.size() < readLimit) {
    const std::size_t offset = text.size();
    const std::size_t wanted = std::min(kChunkBytes, readLimit - offset);
    text.resize(offset + wanted);
    const ssize_t got = ::read(fd, text.data() + offset, wanted);
    if (got < 0 && errno == EINTR) {
      text.resize(offset);
      continue;
    }
    if (got < 0) {
      const int error = errno;
      text.clear();
      return std::string(std::strerror(error));
    }
    text.resize(offset + static_cast<std::size_t>(got));
    if (got == 0) break;
  }
  return std::nullopt;
}

}  // namespace orvo::files
