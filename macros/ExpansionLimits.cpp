#include "macros/ExpansionLimits.h"

#include <algorithm>

#include "base/Message.h"

namespace orvo {
namespace {

[[noreturn]] void Throw(const std::string& text) { throw CVL_Message(text.c_str()); }

}  // namespace

int ExpansionParseBudget(std::size_t maxOutputBytes) {
  const std::size_t parses = std::clamp<std::size_t>(
      maxOutputBytes / kOutputBytesPerParse, kMinExpansionParses, kMaxExpansionParsesCeiling);
  return static_cast<int>(parses);
}

std::size_t ExpansionByteBudget(std::size_t maxOutputBytes) {
  return std::clamp(maxOutputBytes / kOutputLimitShare, kMinExpandedBytes,
                    kMaxExpandedBytesCeiling);
}

void ExpansionBudget::chargeParse() {
  if (++parses > maxParses) {
    Throw("macro expansion needs more than " + std::to_string(maxParses) + " rescans");
  }
}

void ExpansionBudget::chargeBytes(std::size_t count) {
  producedBytes += count;
  if (producedBytes > maxProducedBytes) {
    Throw("macro expansion produces more than " + std::to_string(maxProducedBytes) + " bytes");
  }
}

bool ExpansionBudget::chargeAgain(int parseCount, std::size_t byteCount) {
  if (parseCount > maxParses - parses || byteCount > maxProducedBytes - producedBytes) return false;
  parses += parseCount;
  producedBytes += byteCount;
  return true;
}

ExpansionScope::ExpansionScope(ExpansionBudget& budget, std::string_view name)
    : m_Budget(budget) {
  if (m_Budget.depth >= kMaxExpansionDepth) {
    Throw("macro \"" + std::string(name) + "\" nests more than " +
          std::to_string(kMaxExpansionDepth) + " expansions deep");
  }
  if (m_Budget.depth == 0) {
    ++m_Budget.outermost;
    m_Budget.parses = 0;
    m_Budget.producedBytes = 0;
  }
  ++m_Budget.depth;
}

void RescanDidNotSettle(int passes) {
  Throw("macro rescan still changes its text after " + std::to_string(passes) + " passes");
}

}  // namespace orvo
