// The text each macro expansion gives, gathered from the tokens that leave
// the library: it expands lazily, token by token, so an expansion's result
// is known only once its last token has been read. A token belongs to every
// expansion its location leads back to (through the expansions it was
// written in and the arguments it was passed as), so nested expansions get
// their results too. Expansions are closed, innermost first, when a token
// of none of them arrives, when a new outermost expansion begins, and at a
// directive or the end of the input.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include <clang/Basic/SourceManager.h>
#include <clang/Lex/Preprocessor.h>
#include <clang/Lex/Token.h>
#include <clang/Lex/TokenConcatenation.h>

namespace orvo::standard {

struct OpenExpansion {
  int id = 0;
  int parent = 0;  // 0 for an outermost expansion
  int depth = 1;
  std::string name;
  clang::SourceLocation nameLocation;
  bool inDirective = false;  // its tokens go to a directive, never to the output
  std::string result;
  bool cut = false;  // the result reached kMaxExpansionResultBytes
  // The last two tokens of the result, to keep the next one apart from them.
  clang::Token previous, beforePrevious;
};

// Bytes of result text kept per expansion: enough to read any real
// expansion whole; a result beyond it ends with "…" rather than holding
// megabytes for each level of a deep expansion.
inline constexpr std::size_t kMaxExpansionResultBytes = 16 * 1024;

class ExpansionResults {
 public:
  using CloseHandler = std::function<void(const OpenExpansion&)>;
  ExpansionResults(const clang::Preprocessor& preprocessor, CloseHandler onClose)
      : m_Sources(preprocessor.getSourceManager()),
        m_Concatenation(preprocessor),
        m_OnClose(std::move(onClose)) {}

  // An expansion of `name` at `nameLocation` (its call spanning
  // `callRange`) begins; its parent and depth are found among the open
  // ones, which are closed first when it belongs to none of them.
  OpenExpansion& open(int id, std::string name, clang::SourceLocation nameLocation,
                      clang::SourceRange callRange, bool inDirective);
  // A token on its way to the output, with its spelling.
  void tokenOut(const clang::Token& token, const std::string& spelling);
  // Closes every open expansion, innermost first.
  void closeAll();

 private:
  // The starts of the expansions `location` leads back to.
  std::vector<clang::SourceLocation> expansionStarts(clang::SourceLocation location) const;
  bool withinOutermost(clang::SourceLocation location) const;

  const clang::SourceManager& m_Sources;
  clang::TokenConcatenation m_Concatenation;
  CloseHandler m_OnClose;
  std::vector<OpenExpansion> m_Open;  // outermost first
  // The file range of the outermost open expansion, from its name to its ")".
  clang::SourceLocation m_OutermostBegin, m_OutermostEnd;
};

}  // namespace orvo::standard
