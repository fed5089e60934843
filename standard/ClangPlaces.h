// Places of the Clang library's source locations as this system's
// SourcePlace: the file as the run names it, line, column, byte range,
// line text and include chain.
#pragma once

#include <string>

#include <clang/Basic/SourceLocation.h>
#include <clang/Basic/SourceManager.h>

#include "orvo/SourcePlace.h"

namespace orvo::standard {

class ClangPlaces {
 public:
  // `mainName` stands for the main input, which is a memory buffer.
  ClangPlaces(const clang::SourceManager& sources, std::string mainName)
      : m_Sources(sources), m_MainName(std::move(mainName)) {}

  // The place of `location`; a location inside a macro expansion gives the
  // place of the outermost use of the macro. `withText` adds the line's
  // text and include chain, which messages show and events leave out.
  SourcePlace placeOf(clang::SourceLocation location, bool withText = true) const;
  // The same for a range: the byte range runs to the end of its last token.
  SourcePlace placeOf(clang::SourceRange range, bool withText = true) const;
  // The file name of `location` as places give it.
  std::string fileNameOf(clang::SourceLocation location) const;
  // The source text of a range inside one file, as written.
  std::string textOf(clang::SourceRange range) const;

 private:
  const clang::SourceManager& m_Sources;
  std::string m_MainName;
};

}  // namespace orvo::standard
