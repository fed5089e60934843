#include "files/SafeFileWrite.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvo::files {
namespace {

namespace fs = std::filesystem;

std::string reason(int error) { return std::strerror(error); }

// Holds back the signals that end a program from the terminal or a service
// manager while it lives; a signal that arrives meanwhile is delivered when
// it ends, after the temporary file is dealt with.
class TerminationSignalsHeld {
 public:
  TerminationSignalsHeld() {
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&held, signal);
    pthread_sigmask(SIG_BLOCK, &held, &m_Previous);
  }
  ~TerminationSignalsHeld() { pthread_sigmask(SIG_SETMASK, &m_Previous, nullptr); }
  TerminationSignalsHeld(const TerminationSignalsHeld&) = delete;
  TerminationSignalsHeld& operator=(const TerminationSignalsHeld&) = delete;

 private:
  sigset_t m_Previous;
};

// An open file descriptor, closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : m_Fd(fd) {}
  ~Descriptor() {
    if (m_Fd >= 0) ::close(m_Fd);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return m_Fd; }
  // Closes now; 0 or the errno of a failed close (which may report a write
  // the device refused late, as on network file systems).
  int close() {
    const int result = ::close(m_Fd);
    m_Fd = -1;
    return result == 0 ? 0 : errno;
  }

 private:
  int m_Fd;
};

// Writes all of `data`; 0 or the errno of the failed write.
int writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t written = ::write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

// Links followed before giving up, as the system's own lookups do (Linux
// allows 40 in one path).
constexpr int kMaxLinkHops = 40;

// The file a link chain that dangles points to at its end: writing through
// such a link creates that file, as cp and a shell's redirection do.
fs::path danglingTarget(const std::string& path) {
  fs::path current = path;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(current, ec))) return current;
    const fs::path next = fs::read_symlink(current, ec);
    if (ec) return current;
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  return current;
}

// Creates a new file named after `target` in its folder; the random suffix
// keeps concurrent writers of one target apart. Sets `tempPath`.
int createTemporary(const fs::path& target, std::string& tempPath) {
  // Tries enough names that only a folder full of our temporary files fails.
  constexpr int kAttempts = 100;
  std::random_device seed;
  std::mt19937_64 random(seed());
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
    tempPath = (folder / ("." + target.filename().string() + "." + suffix + ".tmp")).string();
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// Makes the rename itself durable; a folder that cannot be synced (some file
// systems refuse) leaves the file written all the same.
void syncFolder(const fs::path& target) {
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  const Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

// A device or a pipe: no content to keep, written as it is.
std::optional<std::string> writeToSpecialFile(const fs::path& target, std::string_view data) {
  Descriptor file(::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
  if (file.get() < 0) return reason(errno);
  if (const int error = writeAll(file.get(), data)) return reason(error);
  if (const int error = file.close()) return reason(error);
  return std::nullopt;
}

// Rewrites the open regular file `file` with `data`, keeping the file itself
// and so every name it has. The room for the new text is reserved first,
// so a full device or a file-size limit refuses it before a byte of the old
// text is overwritten. A file system that cannot reserve room (rare on
// Linux) is written without.
int rewriteInPlace(Descriptor& file, std::string_view data) {
  // The reservation does not count against the process's file-size limit,
  // which a write past it would meet halfway.
  rlimit sizeLimit {};
  if (::getrlimit(RLIMIT_FSIZE, &sizeLimit) == 0 && sizeLimit.rlim_cur != RLIM_INFINITY &&
      data.size() > sizeLimit.rlim_cur)
    return EFBIG;
  if (!data.empty() &&
      ::fallocate(file.get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(data.size())) != 0 &&
      errno != EOPNOTSUPP && errno != ENOSYS)
    return errno;
  if (const int error = writeAll(file.get(), data)) return error;
  if (::ftruncate(file.get(), static_cast<off_t>(data.size())) != 0) return errno;
  if (::fsync(file.get()) != 0) return errno;
  return file.close();
}

// Why a new file cannot stand in for the old one, which the rename would
// make it: the old file has other names (hard links), which would keep the
// old text, or an owner or group the new file cannot be given.
bool mustKeepTheFile(const struct stat& old, int temp) {
  if (old.st_nlink > 1) return true;
  struct stat made {};
  if (::fstat(temp, &made) != 0) return true;
  if (made.st_uid == old.st_uid && made.st_gid == old.st_gid) return false;
  return ::fchown(temp, old.st_uid, old.st_gid) != 0;
}

}  // namespace

std::optional<std::string> writeFileSafely(const std::string& path, std::string_view data) {
  struct stat old {};
  const bool exists = ::stat(path.c_str(), &old) == 0;
  if (!exists && errno != ENOENT) return reason(errno);  // a cycle of links, say
  // A device or a pipe is opened by the name given, which may be a link
  // that only the system can follow (/dev/stdout to a pipe).
  if (exists && !S_ISREG(old.st_mode)) return writeToSpecialFile(path, data);
  // The file the links lead to: the temporary file goes beside it and takes
  // its name, so that the links stay.
  std::error_code ec;
  fs::path target = exists ? fs::canonical(path, ec) : danglingTarget(path);
  if (ec) target = path;

  const TerminationSignalsHeld held;
  // A file the user may not write is refused, as cp refuses it, even where
  // the folder would let a new file take its name.
  Descriptor existing(exists ? ::open(target.c_str(), O_WRONLY | O_CLOEXEC) : -1);
  if (exists && existing.get() < 0) return reason(errno);

  std::string tempPath;
  Descriptor temp(createTemporary(target, tempPath));
  if (temp.get() < 0) {
    // A folder closed to new files still lets a writable file be rewritten.
    if (exists && errno == EACCES) {
      if (const int error = rewriteInPlace(existing, data)) return reason(error);
      return std::nullopt;
    }
    return reason(errno);
  }
  if (exists && mustKeepTheFile(old, temp.get())) {
    ::unlink(tempPath.c_str());
    if (const int error = rewriteInPlace(existing, data)) return reason(error);
    return std::nullopt;
  }
  int error = 0;
  if (exists && ::fchmod(temp.get(), old.st_mode & 07777) != 0) error = errno;
  if (error == 0) error = writeAll(temp.get(), data);
  if (error == 0 && ::fsync(temp.get()) != 0) error = errno;
  if (const int closeError = temp.close(); error == 0) error = closeError;
  if (error == 0 && ::rename(tempPath.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(tempPath.c_str());
    return reason(error);
  }
  syncFolder(target);
  return std::nullopt;
}

bool isSameFile(const std::string& first, const std::string& second) {
  struct stat a {}, b {};
  if (::stat(first.c_str(), &a) != 0 || ::stat(second.c_str(), &b) != 0) return false;
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace orvo::files
