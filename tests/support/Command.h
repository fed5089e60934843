// Runs a command line through the shell and captures what it printed.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace orvo::test {

struct CommandResult {
  int status = -1;  // exit status, or -1 when the command did not exit normally
  std::string out;
  std::string err;
};

inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return std::move(text).str();
}

inline void writeFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
}

// A fresh directory below the system's temporary directory, removed on destruction.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvo-test-XXXXXX").string();
    m_Path = mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_Path, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return m_Path; }

 private:
  std::filesystem::path m_Path;
};

// Runs `command` with `input` on standard input.
inline CommandResult runCommand(const std::string& command, const std::string& input = "") {
  TempDir dir;
  const auto in = dir.path() / "in", out = dir.path() / "out", err = dir.path() / "err";
  writeFile(in, input);
  const std::string line = command + " <'" + in.string() + "' >'" + out.string() + "' 2>'" +
                           err.string() + "'";
  const int raw = std::system(line.c_str());
  CommandResult result;
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = readFile(out);
  result.err = readFile(err);
  return result;
}

}  // namespace orvo::test
