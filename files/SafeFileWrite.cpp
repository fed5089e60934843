#include "files/SafeFileWrite.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <pthread.h>
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

// The target itself, or what a symbolic link at `path` points to.
fs::path resolvedTarget(const std::string& path) {
  std::error_code ec;
  if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
  const fs::path resolved = fs::weakly_canonical(path, ec);
  return ec ? fs::path(path) : resolved;
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

std::optional<std::string> writeInPlace(const fs::path& target, std::string_view data) {
  Descriptor file(::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
  if (file.get() < 0) return reason(errno);
  if (const int error = writeAll(file.get(), data)) return reason(error);
  if (const int error = file.close()) return reason(error);
  return std::nullopt;
}

}  // namespace

std::optional<std::string> writeFileSafely(const std::string& path, std::string_view data) {
  const fs::path target = resolvedTarget(path);
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) return writeInPlace(target, data);

  const TerminationSignalsHeld held;
  std::string tempPath;
  Descriptor temp(createTemporary(target, tempPath));
  if (temp.get() < 0) return reason(errno);
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
