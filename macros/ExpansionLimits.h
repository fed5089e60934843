// Bounds on macro expansion. The expansion rules alone let some definitions
// expand without end (a function-like macro whose expansion calls it again,
// a text that keeps changing from pass to pass) or grow exponentially (a
// chain of macros that each call the one below twice); these limits end such
// a run with a message instead of exhausting the stack, memory or time.
// They are set so that finite expansions of ordinary code stay far below
// them: what grows with the run's output limit grows with it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orvo {

// Macro expansions that may be in progress, each inside the one before. Real
// code nests a few dozen at most; each level costs a few stack frames.
constexpr int kMaxExpansionDepth = 200;

// Passes one rescan may take beyond one per object-like macro defined. A
// pass changes the text by expanding names and calls; an object-like macro
// stays busy for the rest of the rescan once it has expanded, so a chain of
// any length settles after one pass per macro in it. What changes the text
// beyond that comes from function-like calls, which settle within a few
// passes in ordinary code.
constexpr int kMaxRescanPassesBeyondObjectMacros = 256;

// Both budgets of one outermost expansion grow with the run's output limit,
// so that a run allowed more output may also do more work to produce it,
// and a run that needs little (a fuzzer's) ends explosive input sooner.
//
// Nested parses of rescanned text: one per kOutputBytesPerParse bytes of the
// output limit, never fewer than the floor. A parse of a short text costs
// about 1.5 µs, so the 131072 of the 256 MiB default end an explosive chain
// of calls within a quarter of a second, while a doubling chain of fourteen
// levels (16384 calls, 32768 tokens) stays within them.
constexpr std::size_t kOutputBytesPerParse = 2048;
constexpr int kMinExpansionParses = 4096;

// Bytes the nested parses produce: the output limit divided by
// kOutputLimitShare, never less than the floor. Every rescan pass writes its
// whole text again, so a result costs a few times its size (an argument is
// read again by each call it passes through): the 4 MiB of the 256 MiB
// default let results of several hundred KB through (a 73 KB generated
// table passed through three macros costs 600 KB), while a text that grows
// with every nested call ends within a few tenths of a second. The floor
// leaves a small output limit room for the work an ordinary line needs.
constexpr std::size_t kOutputLimitShare = 64;
constexpr std::size_t kMinExpandedBytes = std::size_t{1} << 16;

// Ceilings that no output limit lifts the budgets past, since the output
// limit bounds the text a run keeps while these bound the work and the
// memory of one expansion:
// - Parses: about 1.5 µs each, so 2^21 (2,097,152, reached at an output
//   limit of 4 GiB) end any expansion within about 3 seconds.
// - Bytes: a rescan holds the text it reads, the text it writes and the
//   arguments of the calls in progress, at most about three times what it
//   has produced; 1 GiB (reached at an output limit of 64 GiB) keeps one
//   expansion within about 3 GiB, what a desktop machine can spare.
constexpr int kMaxExpansionParsesCeiling = 1 << 21;
constexpr std::size_t kMaxExpandedBytesCeiling = std::size_t{1} << 30;

// The budgets of one outermost expansion in a run whose output may grow to
// `maxOutputBytes`, never above the ceilings.
int ExpansionParseBudget(std::size_t maxOutputBytes);
std::size_t ExpansionByteBudget(std::size_t maxOutputBytes);

// The expansions in progress and what the outermost one has cost so far.
struct ExpansionBudget {
  int depth = 0;
  // Outermost expansions begun so far: tells one from the next.
  int outermost = 0;
  int parses = 0;
  std::size_t producedBytes = 0;
  int maxParses = kMinExpansionParses;
  std::size_t maxProducedBytes = kMinExpandedBytes;

  // Counts one nested parse; throws a CVL_Message past the limit.
  void chargeParse();
  // Counts `text` as produced; throws a CVL_Message past the limit.
  void chargeOutput(std::string_view text) { chargeBytes(text.size()); }
  // Counts `count` bytes as produced; throws a CVL_Message past the limit.
  void chargeBytes(std::size_t count);
  // Counts `parseCount` parses and `byteCount` bytes again, as repeating
  // work already counted once would, where that stays within the limits;
  // false, with nothing counted, where the repeated work would go past one
  // of them and so has to be done to end with its message.
  bool chargeAgain(int parseCount, std::size_t byteCount);
};

// Counts the expansion of macro `name` as in progress for its lifetime and
// throws a CVL_Message when that nests expansions deeper than the limit. An
// outermost expansion starts with the whole budget.
class ExpansionScope {
 public:
  ExpansionScope(ExpansionBudget& budget, std::string_view name);
  ~ExpansionScope() { --m_Budget.depth; }
  ExpansionScope(const ExpansionScope&) = delete;
  ExpansionScope& operator=(const ExpansionScope&) = delete;

 private:
  ExpansionBudget& m_Budget;
};

// Throws a CVL_Message for a rescan that is still changing its text after
// `passes` passes.
[[noreturn]] void RescanDidNotSettle(int passes);

}  // namespace orvo
