// What a function-like call's expansion did to blanks, in words: the texts
// of its steps show `int x;` built and `intx;` as the result, but not where
// the blank went. The replacement is built of parts that are rescanned one
// by one; a part that holds blanks alone (the blank before a parameter or
// a "#") is rescanned to nothing, and an argument starts at its first
// token, so the tokens on either side of such a part touch.
#pragma once

#include <string>
#include <vector>

namespace orvo {

// Sentences at most, one per blank dropped; further ones are counted in
// the last sentence. A replacement list of hundreds of parameters stays a
// few lines in the panel.
inline constexpr std::size_t kMaxDroppedBlankNotes = 4;

// One sentence per blank-only part of `parts` that vanished between two
// tokens, naming them, and saying when `result` shows them run together.
// `callText` is the call as written, `arguments` as collected.
std::vector<std::string> droppedBlankNotes(const std::string& callText,
                                           const std::vector<std::string>& arguments,
                                           const std::vector<std::string>& parts,
                                           const std::string& result);

// One sentence per place where two parts of a built replacement, put side
// by side with nothing between them, run together into a longer operator
// (`-` and the argument `-1` give `--1`, which begins with `--`).
std::vector<std::string> joinedPartsNotes(const std::vector<std::string>& parts);

// One sentence per name whose blanks before "(" a rescan pass dropped
// (`sizeof (int)` giving `sizeof(int)`): a name followed by "(" that is no
// function-like macro keeps no blank before the "(".
std::vector<std::string> passBlankNotes(const std::string& before, const std::string& after);

}  // namespace orvo
