// runStandardC in the programs: loads the standard-C module on first use
// and hands each run to it.
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <mutex>
#include <string>

#include "orvo/StandardRun.h"
#include "standard/StandardModule.h"

namespace orvo {
namespace {

std::string programDirectory() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return ".";
  const std::string program(path, static_cast<std::size_t>(length));
  return program.substr(0, program.rfind('/'));
}

struct LoadedModule {
  standard::ModuleEntry entry = nullptr;
  std::string problem;  // why the module could not be loaded
};

// Loaded once per process and kept: runs on several threads share it.
const LoadedModule& module() {
  static const LoadedModule loaded = [] {
    LoadedModule result;
    const std::string path = programDirectory() + "/" + standard::kModulePath;
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
      const char* reason = dlerror();
      result.problem = "the standard C engine is not available: " +
                       std::string(reason != nullptr ? reason : path);
      return result;
    }
    result.entry =
        reinterpret_cast<standard::ModuleEntry>(dlsym(handle, standard::kModuleEntry));
    if (result.entry == nullptr)
      result.problem = "the standard C engine is not available: " + path + " has no entry point";
    return result;
  }();
  return loaded;
}

}  // namespace

RunResult runStandardC(std::string_view input, const RunOptions& options) {
  const LoadedModule& loaded = module();
  RunResult result;
  if (loaded.entry == nullptr) {
    result.error = RunError{ErrorClass::Message, loaded.problem, 0, 0};
    return result;
  }
  loaded.entry(input, options, result);
  return result;
}

}  // namespace orvo
