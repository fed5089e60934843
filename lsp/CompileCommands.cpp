#include "lsp/CompileCommands.h"

#include <fstream>
#include <iterator>

#include <nlohmann/json.hpp>

namespace orvo::lsp {

namespace {

namespace fs = std::filesystem;

// Splits a command line as a POSIX shell would for plain words, single and
// double quotes and backslashes; no expansions.
std::vector<std::string> shellWords(const std::string& command) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  char quote = 0;
  for (std::size_t i = 0; i < command.size(); ++i) {
    const char c = command[i];
    if (quote) {
      if (c == quote) quote = 0;
      else if (c == '\\' && quote == '"' && i + 1 < command.size()) word += command[++i];
      else word += c;
    } else if (c == '\'' || c == '"') {
      quote = c;
      inWord = true;
    } else if (c == '\\' && i + 1 < command.size()) {
      word += command[++i];
      inWord = true;
    } else if (c == ' ' || c == '\t' || c == '\n') {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

CompileFlags flagsOf(const std::vector<std::string>& arguments, const fs::path& directory) {
  CompileFlags flags;
  const auto directoryOf = [&](const std::string& value) {
    return (directory / value).lexically_normal().string();
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    for (const std::string option : {"-I", "-iquote", "-isystem", "-D", "-U"}) {
      if (argument.rfind(option, 0) != 0) continue;
      std::string value = argument.substr(option.size());
      if (value.empty() && i + 1 < arguments.size()) value = arguments[++i];
      if (value.empty()) break;
      if (option == "-D")
        flags.macros.push_back({CommandLineMacro::Kind::Define, value});
      else if (option == "-U")
        flags.macros.push_back({CommandLineMacro::Kind::Undefine, value});
      else
        flags.includeDirectories.push_back(directoryOf(value));
      break;
    }
  }
  return flags;
}

std::optional<CompileFlags> lookUp(const fs::path& database, const fs::path& file) {
  std::error_code error;
  const std::uintmax_t size = fs::file_size(database, error);
  if (error || size > kMaxCompileCommandsBytes) return std::nullopt;
  std::ifstream in(database, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const nlohmann::json entries = nlohmann::json::parse(text, nullptr, false);
  if (!entries.is_array()) return std::nullopt;
  for (const nlohmann::json& entry : entries) {
    if (!entry.is_object() || !entry.contains("file") || !entry["file"].is_string()) continue;
    const fs::path directory =
        entry.contains("directory") && entry["directory"].is_string()
            ? fs::path(entry["directory"].get<std::string>())
            : database.parent_path();
    if ((directory / entry["file"].get<std::string>()).lexically_normal() != file) continue;
    std::vector<std::string> arguments;
    if (entry.contains("arguments") && entry["arguments"].is_array()) {
      for (const nlohmann::json& argument : entry["arguments"])
        if (argument.is_string()) arguments.push_back(argument.get<std::string>());
    } else if (entry.contains("command") && entry["command"].is_string()) {
      arguments = shellWords(entry["command"].get<std::string>());
    }
    CompileFlags flags = flagsOf(arguments, directory);
    flags.database = database;
    return flags;
  }
  return std::nullopt;
}

}  // namespace

std::optional<CompileFlags> compileFlagsFor(const fs::path& file) {
  const fs::path normal = file.lexically_normal();
  fs::path directory = normal.parent_path();
  for (int climb = 0; climb < kMaxCompileCommandsClimb && !directory.empty(); ++climb) {
    for (const fs::path& candidate :
         {directory / "compile_commands.json", directory / "build" / "compile_commands.json"}) {
      std::error_code error;
      if (fs::is_regular_file(candidate, error))
        if (std::optional<CompileFlags> flags = lookUp(candidate, normal)) return flags;
    }
    if (directory == directory.root_path()) break;
    directory = directory.parent_path();
  }
  return std::nullopt;
}

}  // namespace orvo::lsp
