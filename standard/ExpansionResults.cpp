#include "standard/ExpansionResults.h"

#include <algorithm>

namespace orvo::standard {
namespace {

// Locations visited per token while finding its expansions: a token passed
// as an argument through a few dozen nested calls needs about two per
// level; the bound keeps a pathological chain from costing more per token.
constexpr int kMaxLocationsWalked = 512;

}  // namespace

bool ExpansionResults::withinOutermost(clang::SourceLocation location) const {
  if (m_Open.empty() || m_OutermostBegin.isInvalid()) return false;
  const clang::SourceLocation at = m_Sources.getExpansionLoc(location);
  if (m_Sources.getFileID(at) != m_Sources.getFileID(m_OutermostBegin)) return false;
  const unsigned offset = m_Sources.getFileOffset(at);
  return m_Sources.getFileOffset(m_OutermostBegin) <= offset &&
         offset <= m_Sources.getFileOffset(m_OutermostEnd);
}

std::vector<clang::SourceLocation> ExpansionResults::expansionStarts(
    clang::SourceLocation location) const {
  std::vector<clang::SourceLocation> starts;
  std::vector<clang::SourceLocation> work{location};
  for (int walked = 0; !work.empty() && walked < kMaxLocationsWalked; ++walked) {
    const clang::SourceLocation at = work.back();
    work.pop_back();
    if (!at.isMacroID()) continue;
    const clang::SrcMgr::ExpansionInfo& info =
        m_Sources.getSLocEntry(m_Sources.getFileID(at)).getExpansion();
    if (info.isMacroArgExpansion()) {
      // An argument's token: it also belongs to the expansions it was
      // written in before it was passed.
      work.push_back(m_Sources.getImmediateSpellingLoc(at));
    } else {
      starts.push_back(info.getExpansionLocStart());
    }
    work.push_back(info.getExpansionLocStart());
  }
  return starts;
}

OpenExpansion& ExpansionResults::open(int id, std::string name, clang::SourceLocation nameLocation,
                                      clang::SourceRange callRange, bool inDirective) {
  const OpenExpansion* parent = nullptr;
  if (nameLocation.isMacroID()) {
    // Written in the text of an open expansion: the innermost one it came from.
    const std::vector<clang::SourceLocation> starts = expansionStarts(nameLocation);
    for (auto open = m_Open.rbegin(); open != m_Open.rend() && parent == nullptr; ++open)
      if (std::find(starts.begin(), starts.end(), open->nameLocation) != starts.end())
        parent = &*open;
  }
  // An argument of an open call, expanded before it is put in.
  if (parent == nullptr && withinOutermost(nameLocation)) parent = &m_Open.back();
  if (parent == nullptr) {
    closeAll();
    const clang::CharSourceRange file = m_Sources.getExpansionRange(callRange);
    m_OutermostBegin = file.getBegin();
    m_OutermostEnd = file.getEnd();
  }
  OpenExpansion expansion;
  expansion.previous.startToken();
  expansion.beforePrevious.startToken();
  expansion.id = id;
  expansion.parent = parent != nullptr ? parent->id : 0;
  expansion.depth = parent != nullptr ? parent->depth + 1 : 1;
  expansion.name = std::move(name);
  expansion.nameLocation = nameLocation;
  expansion.inDirective = inDirective;
  m_Open.push_back(std::move(expansion));
  return m_Open.back();
}

void ExpansionResults::tokenOut(const clang::Token& token, const std::string& spelling) {
  if (m_Open.empty()) return;
  const clang::SourceLocation location = token.getLocation();
  if (!location.isMacroID()) {
    closeAll();
    return;
  }
  const std::vector<clang::SourceLocation> starts = expansionStarts(location);
  bool belongs = false;
  for (OpenExpansion& open : m_Open) {
    if (open.inDirective || std::find(starts.begin(), starts.end(), open.nameLocation) == starts.end())
      continue;
    belongs = true;
    if (open.cut) continue;
    // A blank where one stood, or where the tokens would run together
    // into another token (- and -1 are not --1).
    if (!open.result.empty() &&
        (token.hasLeadingSpace() ||
         m_Concatenation.AvoidConcat(open.beforePrevious, open.previous, token)))
      open.result += ' ';
    open.beforePrevious = open.previous;
    open.previous = token;
    if (open.result.size() + spelling.size() > kMaxExpansionResultBytes) {
      open.result += "…";
      open.cut = true;
      continue;
    }
    open.result += spelling;
  }
  if (!belongs) closeAll();
}

void ExpansionResults::closeAll() {
  while (!m_Open.empty()) {
    const OpenExpansion closing = std::move(m_Open.back());
    m_Open.pop_back();
    m_OnClose(closing);
  }
  m_OutermostBegin = m_OutermostEnd = clang::SourceLocation();
}

}  // namespace orvo::standard
