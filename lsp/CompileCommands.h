// A file's include directories and macros from the compile_commands.json
// found upward from it (in each directory and its build/ subdirectory, as
// clangd looks), for documents of real projects.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "orvo/Run.h"

namespace orvo::lsp {

// The largest compilation database read: a project of tens of thousands of
// files takes a few tens of MiB.
inline constexpr std::uintmax_t kMaxCompileCommandsBytes = std::uintmax_t{256} << 20;
// Directories climbed at most from the file: deeper trees end at the root first.
inline constexpr int kMaxCompileCommandsClimb = 64;

struct CompileFlags {
  std::filesystem::path database;  // the compile_commands.json that listed the file
  std::vector<std::string> includeDirectories;  // -I, -iquote, -isystem, in order
  std::vector<CommandLineMacro> macros;         // -D and -U, in order
};

// The flags of `file`, or nullopt when no database lists it.
std::optional<CompileFlags> compileFlagsFor(const std::filesystem::path& file);

}  // namespace orvo::lsp
