// The kinds of message a run records in the plugin's message list, one list
// for every place that raises or reads them. The kind is a byte of the
// message value; how grave each kind is for a user is decided in one place,
// run/MessageSeverity.h.
#pragma once

namespace orvo::message_kind {

// A plain message without a kind of its own.
inline constexpr unsigned char kPlain = 0;
// Something the run went on from and lost nothing by: #warning, a macro
// defined again, a comment opener inside a block comment.
inline constexpr unsigned char kWarning = 3;
// Something the user has to fix, after which the run went on: an #include
// file that could not be loaded.
inline constexpr unsigned char kError = 4;
// A syntax error that stopped a nested parse. In a file's own text (an
// included file) part of that file is missing from the output; in
// rescanned macro text the rest of that text is kept as it stands.
inline constexpr unsigned char kParseError = 5;

}  // namespace orvo::message_kind
