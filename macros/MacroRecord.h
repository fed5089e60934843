// The stored form of a function-like macro: one child of the record per
// element of its replacement list, and the parameter count as an attribute.
#pragma once

#include <string>

#include "tree/Node.h"

namespace orvo::macro_record {

// Labels of the replacement-list children that are not parameter
// references (a parameter reference is labelled with the parameter's name).
inline constexpr const char* kText = "Text";      // a token, with its prefix where kept
inline constexpr const char* kGap = "gap";        // the blanks in front of a parameter
inline constexpr const char* kStringize = "#";    // value: the blanks in front of the #
inline constexpr const char* kPaste = "##";       // value: "##"

// Attribute holding the number of parameters as decimal text.
inline constexpr const char* kArgumentCount = "arguments";

// Id of a parameter-reference child (its value is the parameter's index).
// Marking them keeps a parameter apart from a "Text" element with the same
// value, whatever the parameter is called.
inline constexpr int kParameterReference = 1;

inline bool IsParameterReference(const node& child) {
  return child.id() == kParameterReference;
}

// ---- Busy state ----------------------------------------------------------
// A macro being expanded is busy: a name of it met meanwhile stays as it
// stands, so no macro expands inside itself. The record of an object-like
// or function-like macro keeps the state in its node's id.
inline constexpr int kIdle = 0;
inline constexpr int kBusy = 1;

// A node is a handle: marking a copy marks the record it shares.
inline bool IsBusy(const node& record) { return record.id() != kIdle; }
inline void MarkBusy(node record) { record.setId(kBusy); }
inline void MarkIdle(node record) { record.setId(kIdle); }

}  // namespace orvo::macro_record
