#include "grammar/Shortcuts.h"

#include "runtime/ParseState.h"

namespace orvo {

bool MayTake(Shortcut shortcut, const CVL_ParseState& s, const ParseTrace* trace) {
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
