#include "standard/ClangPlaces.h"

#include <algorithm>
#include <vector>

#include <clang/Lex/Lexer.h>

namespace orvo::standard {

std::string ClangPlaces::fileNameOf(clang::SourceLocation location) const {
  const clang::SourceLocation file = m_Sources.getFileLoc(location);
  if (m_Sources.isWrittenInMainFile(file)) return m_MainName;
  const clang::PresumedLoc presumed = m_Sources.getPresumedLoc(file, false);
  return presumed.isValid() ? presumed.getFilename() : std::string();
}

SourcePlace ClangPlaces::placeOf(clang::SourceLocation location, bool withText) const {
  SourcePlace place;
  if (location.isInvalid()) return place;
  const clang::SourceLocation file = m_Sources.getExpansionLoc(location);
  const clang::PresumedLoc presumed = m_Sources.getPresumedLoc(file, false);
  if (presumed.isInvalid()) return place;
  const clang::FileID id = m_Sources.getFileID(file);
  place.inMainInput = id == m_Sources.getMainFileID();
  place.file = place.inMainInput ? m_MainName : std::string(presumed.getFilename());
  place.line = static_cast<int>(presumed.getLine());
  place.column = static_cast<int>(presumed.getColumn());
  place.begin = static_cast<int>(m_Sources.getFileOffset(file));
  place.end = place.begin;
  if (!withText) return place;

  bool invalid = false;
  const llvm::StringRef buffer = m_Sources.getBufferData(id, &invalid);
  if (!invalid) {
    const std::size_t offset = std::min<std::size_t>(place.begin, buffer.size());
    // StringRef::rfind looks before its position (std::string's looks at
    // it too): the line break that ends the line before, if any.
    const std::size_t lineStart = buffer.rfind('\n', offset);
    const std::size_t from = lineStart == llvm::StringRef::npos ? 0 : lineStart + 1;
    std::size_t to = buffer.find_first_of("\r\n", from);
    if (to == llvm::StringRef::npos) to = buffer.size();
    to = std::min(to, from + SourcePlace::kMaxLineTextBytes);
    place.lineText = buffer.substr(from, to - from).str();
  }
  // The include chain, outermost first.
  std::vector<IncludeStep> chain;
  for (clang::SourceLocation at = presumed.getIncludeLoc(); at.isValid();) {
    const clang::PresumedLoc includer = m_Sources.getPresumedLoc(at, false);
    if (includer.isInvalid()) break;
    const bool inMain = m_Sources.getFileID(at) == m_Sources.getMainFileID();
    chain.push_back(IncludeStep{inMain ? m_MainName : std::string(includer.getFilename()),
                                static_cast<int>(includer.getLine()),
                                static_cast<int>(includer.getColumn())});
    at = includer.getIncludeLoc();
  }
  place.includedFrom.assign(chain.rbegin(), chain.rend());
  return place;
}

SourcePlace ClangPlaces::placeOf(clang::SourceRange range, bool withText) const {
  SourcePlace place = placeOf(range.getBegin(), withText);
  if (!place.known()) return place;
  const clang::SourceLocation last = m_Sources.getExpansionLoc(range.getEnd());
  if (m_Sources.getFileID(last) != m_Sources.getFileID(m_Sources.getExpansionLoc(range.getBegin())))
    return place;
  const clang::SourceLocation end =
      clang::Lexer::getLocForEndOfToken(last, 0, m_Sources, clang::LangOptions());
  if (end.isValid()) place.end = std::max(place.begin, static_cast<int>(m_Sources.getFileOffset(end)));
  return place;
}

std::string ClangPlaces::textOf(clang::SourceRange range) const {
  const clang::CharSourceRange chars = clang::CharSourceRange::getTokenRange(
      m_Sources.getExpansionLoc(range.getBegin()), m_Sources.getExpansionLoc(range.getEnd()));
  bool invalid = false;
  const llvm::StringRef text =
      clang::Lexer::getSourceText(chars, m_Sources, clang::LangOptions(), &invalid);
  return invalid ? std::string() : text.str();
}

}  // namespace orvo::standard
