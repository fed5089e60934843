#include "standard/BuiltinMacroValue.h"

#include <cstdio>

#include <clang/Basic/FileEntry.h>
#include <clang/Basic/SourceManager.h>
#include <clang/Lex/Lexer.h>
#include <clang/Lex/PreprocessorLexer.h>
#include <llvm/ADT/SmallString.h>
#include <llvm/Support/Path.h>

namespace orvo::standard {
namespace {

constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string quotedPath(llvm::SmallString<256> path, const clang::LangOptions& language) {
  language.remapPathPrefix(path);
  clang::Lexer::Stringify(path);
  std::string quoted(1, '"');
  quoted.append(path.data(), path.size());
  quoted += '"';
  return quoted;
}

}  // namespace

const std::tm& BuiltinMacroValues::runTime() {
  if (!m_RunTime) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    m_RunTime = local;
  }
  return *m_RunTime;
}

std::string BuiltinMacroValues::valueOf(const clang::Token& name) {
  const clang::IdentifierInfo* id = name.getIdentifierInfo();
  if (id == nullptr) return {};
  const llvm::StringRef spelled = id->getName();
  const clang::SourceManager& sources = m_Preprocessor.getSourceManager();
  const clang::PresumedLoc here = sources.getPresumedLoc(name.getLocation());
  char text[64];
  if (spelled == "__LINE__") {
    // The line where the outermost expansion ends, as the library counts it.
    clang::SourceLocation at = m_Preprocessor.AdvanceToTokenCharacter(name.getLocation(), 0);
    at = sources.getExpansionRange(at).getEnd();
    const clang::PresumedLoc line = sources.getPresumedLoc(at);
    return std::to_string(line.isValid() ? line.getLine() : 1);
  }
  if (spelled == "__FILE__" || spelled == "__BASE_FILE__" || spelled == "__FILE_NAME__") {
    if (here.isInvalid()) return "\"\"";
    clang::PresumedLoc file = here;
    if (spelled == "__BASE_FILE__") {
      for (clang::SourceLocation next = file.getIncludeLoc(); next.isValid();) {
        const clang::PresumedLoc outer = sources.getPresumedLoc(next);
        if (outer.isInvalid()) break;
        file = outer;
        next = outer.getIncludeLoc();
      }
    }
    llvm::SmallString<256> path(file.getFilename());
    if (spelled == "__FILE_NAME__") {
      const llvm::StringRef last = llvm::sys::path::filename(file.getFilename());
      if (!last.empty()) path = last;
    }
    return quotedPath(path, m_Preprocessor.getLangOpts());
  }
  if (spelled == "__INCLUDE_LEVEL__") {
    unsigned depth = 0;
    if (here.isValid())
      for (clang::PresumedLoc outer = sources.getPresumedLoc(here.getIncludeLoc()); outer.isValid();
           outer = sources.getPresumedLoc(outer.getIncludeLoc()))
        ++depth;
    return std::to_string(depth);
  }
  if (spelled == "__COUNTER__") return std::to_string(m_Preprocessor.getCounterValue());
  if (spelled == "__DATE__") {
    const std::tm& now = runTime();
    std::snprintf(text, sizeof text, "\"%s %2d %4d\"", kMonths[now.tm_mon], now.tm_mday,
                  now.tm_year + 1900);
    return text;
  }
  if (spelled == "__TIME__") {
    const std::tm& now = runTime();
    std::snprintf(text, sizeof text, "\"%02d:%02d:%02d\"", now.tm_hour, now.tm_min, now.tm_sec);
    return text;
  }
  if (spelled == "__TIMESTAMP__") {
    // The current file's modification time; a text that is no file has none.
    const clang::PreprocessorLexer* lexer = m_Preprocessor.getCurrentFileLexer();
    const clang::FileEntry* file =
        lexer != nullptr ? sources.getFileEntryForID(lexer->getFileID()) : nullptr;
    if (file == nullptr) return "\"??? ??? ?? ??:??:?? ????\"";
    const std::time_t modified = file->getModificationTime();
    std::tm local{};
    localtime_r(&modified, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%a %b %e %H:%M:%S %Y", &local);
    return "\"" + std::string(stamp) + "\"";
  }
  return {};
}

}  // namespace orvo::standard
