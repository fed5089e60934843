// The shortcuts the parser may take, and the one place that switches them.
// Each gives the result the reference path gives, only faster; each is off
// in the reference mode, so that runs both ways compare it. A shortcut that
// skips steps the explorer is told of is also off while an observer
// listens: the run then takes the reference path for that piece of work,
// and the steps the explorer shows are the ones that computed the result.
//
// Where a shortcut is taken, its own conditions (what makes its result the
// reference's: no macro busy, a text short enough to keep, ...) stand at the
// call. The scanners' shortcuts (the plain token reader and the walk
// shortcuts in runtime/TokenScan.cpp) report no steps and follow the mode
// alone, through the parse state's m_bFastPaths. A pass that needs no parse
// (macros/PassWithoutParse.h) and the pass by substitution are no shortcuts:
// they are how a pass is made, in both modes.
#pragma once

#include "runtime/ParseState.h"

namespace orvo {

class ParseTrace;

enum class Shortcut {
  // Plain tokens (names that expand to nothing, punctuation, numbers) read
  // by a reader of their own instead of the scanners.
  PlainTokens,
  // Whole text lines of plain tokens copied at once.
  PlainLines,
  // A call's arguments collected from plain tokens at once.
  PlainArguments,
  // The plain tokens of a rescanned text read by the plain token reader.
  PlainRescanTokens,
  // A rescanned part that the first pass gives back without a parse is
  // settled at once, without the loop of passes.
  SettledWithoutParse,
  // A directive's condition read and computed in one go.
  ConditionInOneGo,
  // A replacement's runs of inert elements come as one part, rescanned
  // already.
  InertParts,
  // An argument that stands more than once in the replacement is rescanned
  // once.
  RepeatedArguments,
  // The rescan of a text that settled before is used again.
  KeptRescans,
  // A nested parse of a text parsed before is used again.
  KeptParses,
};

// Whether `shortcut` may be taken in the run `s` belongs to; `trace` is the
// run's hook to the explorer, or null. Inline: it is asked for every run of
// plain tokens.
inline bool MayTake(Shortcut shortcut, const CVL_ParseState& s, const ParseTrace* trace) {
  if (!s.m_bFastPaths) return false;
  switch (shortcut) {
    // The explorer is told of every token, line and call these take in;
    // skipping them would leave steps out.
    case Shortcut::PlainLines:
    case Shortcut::PlainArguments:
    case Shortcut::PlainRescanTokens:
    case Shortcut::SettledWithoutParse:
    case Shortcut::InertParts:
    case Shortcut::RepeatedArguments:
    case Shortcut::KeptParses:
      return trace == nullptr;
    // These skip nothing the explorer is told of.
    case Shortcut::PlainTokens:
    case Shortcut::ConditionInOneGo:
    case Shortcut::KeptRescans:
      return true;
  }
  return false;
}

}  // namespace orvo
