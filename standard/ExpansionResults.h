// The text each macro expansion gives, gathered from the tokens that leave
// the library: it expands lazily, token by token, so an expansion's result
// is known only once its last token has been read. A token belongs to every
// expansion its location leads back to (through the expansions it was
// written in and the arguments it was passed as), so nested expansions get
// their results too. An expansion is closed once a token or an expansion
// of its parent's (or of none) arrives, an argument's expansion when its
// call is closed, and all at a directive or the end of the input.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <clang/Basic/SourceManager.h>
#include <clang/Lex/Preprocessor.h>
#include <clang/Lex/Token.h>
#include <clang/Lex/TokenConcatenation.h>

#include "orvo/SourcePlace.h"

namespace orvo::standard {

struct OpenExpansion {
  int id = 0;
  int parent = 0;  // 0 for an outermost expansion
  int depth = 1;
  std::string name;
  SourcePlace place;  // of the outermost call, as its events give it
  clang::SourceLocation nameLocation;
  bool inDirective = false;  // its tokens go to a directive, never to the output
  // An argument of its parent's call, expanded before the call's text is
  // read: its tokens come out among its parent's, so only its parent's end
  // closes it.
  bool argument = false;
  std::string result;
  bool cut = false;  // the result reached kMaxExpansionResultBytes
  // The last two tokens of the result, to keep the next one apart from them.
  clang::Token previous, beforePrevious;
};

// Bytes of result text kept per expansion: enough to read any real
// expansion whole; a result beyond it ends with "…" rather than holding
// megabytes for each level of a deep expansion.
inline constexpr std::size_t kMaxExpansionResultBytes = 16 * 1024;
// Expansions of one run whose results are gathered. Each token costs a walk
// over the chain of expansions it came from, so an explosive definition
// (millions of expansions, every token dozens of levels deep) would cost
// minutes; the explorer keeps far fewer steps than this anyway
// (kDefaultRecordedItems). Later expansions are finished at once with "…"
// as their result; those still open when the limit is reached close with
// what they gathered.
inline constexpr long kMaxExpansionsWithResults = 100'000;

class ExpansionResults {
 public:
  using CloseHandler = std::function<void(const OpenExpansion&)>;
  ExpansionResults(const clang::Preprocessor& preprocessor, CloseHandler onClose)
      : m_Sources(preprocessor.getSourceManager()),
        m_Concatenation(preprocessor),
        m_OnClose(std::move(onClose)) {}

  // An expansion of `name` at `nameLocation` (its call spanning
  // `callRange`) begins; its parent and depth are found among the open
  // ones, which are closed first when it belongs to none of them. Null
  // past kMaxExpansionsWithResults: the caller finishes it at once.
  OpenExpansion* open(int id, std::string name, clang::SourceLocation nameLocation,
                      clang::SourceRange callRange, bool inDirective);
  // A token on its way to the output, with its spelling.
  void tokenOut(const clang::Token& token, const std::string& spelling);
  // Closes every open expansion, innermost first.
  void closeAll();

 private:
  // The starts of the expansions `location` leads back to.
  std::vector<clang::SourceLocation> expansionStarts(clang::SourceLocation location) const;
  bool withinOutermost(clang::SourceLocation location) const;

  // Closes the expansions above the one at `keep` (-1: all), but for the
  // arguments of calls that stay open.
  void closeAbove(long keep);

  const clang::SourceManager& m_Sources;
  clang::TokenConcatenation m_Concatenation;
  long m_Opened = 0;
  CloseHandler m_OnClose;
  std::vector<OpenExpansion> m_Open;  // outermost first
  // The file range of the outermost open expansion, from its name to its ")".
  clang::SourceLocation m_OutermostBegin, m_OutermostEnd;
};

}  // namespace orvo::standard
