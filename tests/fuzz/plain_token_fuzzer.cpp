// libFuzzer harness: a run must give the same output, error and messages in
// the fast mode and in the reference mode, where every shortcut is off.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "orvo/Run.h"
#include "tests/fuzz/HarnessOptions.h"

namespace {

// Everything a run reports, in one comparable text.
std::string Summary(const orvo::RunResult& result) {
  std::string text = result.output;
  const auto describe = [&text](const orvo::Diagnostic& d) {
    text += "\n" + d.text;
    if (d.place) {
      text += " @" + std::to_string(d.place->line) + ":" + std::to_string(d.place->column) + " " +
              std::to_string(d.place->begin) + "-" + std::to_string(d.place->end);
    }
  };
  if (result.error) describe(result.error->diagnostic());
  for (const orvo::Diagnostic& d : result.diagnostics) describe(d);
  return text;
}

std::string RunWith(std::string_view input, bool fast) {
  orvo::RunOptions options = orvo::fuzz::HarnessOptions();
  options.mode = fast ? orvo::Mode::Fast : orvo::Mode::Reference;
  return Summary(orvo::runPreprocessor(input, options));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Both ways run in full; longer inputs only cost time.
  if (size > 16384) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string plain = RunWith(input, true);
  const std::string scanned = RunWith(input, false);
  if (plain != scanned) {
    std::fprintf(stderr, "plain token runs change the result\n--- with:\n%s\n--- without:\n%s\n",
                 plain.c_str(), scanned.c_str());
    std::abort();
  }
  return 0;
}
