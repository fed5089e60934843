#include "scan/CompiledPattern.h"

#include <mutex>
#include <unordered_map>

#include "scan/ScannerSyntax.h"

namespace orvo {

CVL_CompiledPattern::CVL_CompiledPattern(const std::string& expression)
    : m_Expression(expression),
      // The library compiles with the global locale; so does everything here.
      m_FirstBytes(expression, std::locale()),
      m_pFast(CVL_FastAlternation::Build(expression, std::locale())) {
  // The token matchers only take expressions the library accepts; any other
  // is compiled now, so that a refused one fails here.
  if (m_pFast == nullptr) regex();
}

const boost::regex& CVL_CompiledPattern::regex() const {
  std::call_once(m_Compiling, [this] { m_Regex.emplace(m_Expression, kScannerSyntax); });
  return *m_Regex;
}

std::shared_ptr<const CVL_CompiledPattern> CompileScannerPattern(const std::string& expression) {
  // Only the program's fixed expressions reach this cache, so it stays small.
  static std::mutex mutex;
  static std::unordered_map<std::string, std::shared_ptr<const CVL_CompiledPattern>> cache;
  const std::lock_guard<std::mutex> lock(mutex);
  std::shared_ptr<const CVL_CompiledPattern>& entry = cache[expression];
  if (!entry) {
    try {
      entry = std::make_shared<const CVL_CompiledPattern>(expression);
    } catch (...) {
      cache.erase(expression);
      throw;
    }
  }
  return entry;
}

}  // namespace orvo
