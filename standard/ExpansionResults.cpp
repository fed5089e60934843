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

OpenExpansion* ExpansionResults::open(int id, std::string name, clang::SourceLocation nameLocation,
                                      clang::SourceRange callRange, bool inDirective) {
  long parent = -1;  // index in m_Open
  if (++m_Opened > kMaxExpansionsWithResults) {
    // Past the limit: nothing is gathered any more.
    closeAll();
    return nullptr;
  }
  if (nameLocation.isMacroID()) {
    // Written in the text of an open expansion: the innermost one it came from.
    const std::vector<clang::SourceLocation> starts = expansionStarts(nameLocation);
    for (long i = static_cast<long>(m_Open.size()) - 1; i >= 0 && parent < 0; --i)
      if (std::find(starts.begin(), starts.end(), m_Open[i].nameLocation) != starts.end())
        parent = i;
  }
  // An argument of an open call, expanded before it is put in.
  const bool argument = parent < 0 && !m_Open.empty() && withinOutermost(nameLocation);
  if (argument) parent = static_cast<long>(m_Open.size()) - 1;
  while (argument && parent > 0 && m_Open[parent].argument) --parent;
  if (parent < 0) {
    closeAll();
    const clang::CharSourceRange file = m_Sources.getExpansionRange(callRange);
    m_OutermostBegin = file.getBegin();
    m_OutermostEnd = file.getEnd();
  } else {
    // Expansions opened after the parent are finished: the parent's text
    // has moved on past them.
    closeAbove(parent);
  }
  OpenExpansion expansion;
  expansion.previous.startToken();
  expansion.beforePrevious.startToken();
  expansion.id = id;
  expansion.parent = parent >= 0 ? m_Open[parent].id : 0;
  expansion.depth = parent >= 0 ? m_Open[parent].depth + 1 : 1;
  expansion.name = std::move(name);
  expansion.nameLocation = nameLocation;
  expansion.inDirective = inDirective;
  expansion.argument = argument;
  m_Open.push_back(std::move(expansion));
  return &m_Open.back();
}

void ExpansionResults::tokenOut(const clang::Token& token, const std::string& spelling) {
  if (m_Open.empty()) return;
  const clang::SourceLocation location = token.getLocation();
  if (!location.isMacroID()) {
    closeAll();
    return;
  }
  // The innermost open expansion the token came out of; those above it are
  // finished, and it and the ones below (its ancestors) get the token.
  const std::vector<clang::SourceLocation> starts = expansionStarts(location);
  const auto gets = [&](const OpenExpansion& open) {
    return !open.inDirective &&
           std::find(starts.begin(), starts.end(), open.nameLocation) != starts.end();
  };
  long innermost = static_cast<long>(m_Open.size()) - 1;
  while (innermost >= 0 && !gets(m_Open[innermost])) --innermost;
  closeAbove(innermost);
  for (OpenExpansion& open : m_Open) {
    if (open.cut || !gets(open)) continue;
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
}

void ExpansionResults::closeAbove(long keep) {
  // Which stay: those up to `keep`, and above it the arguments of calls
  // that stay.
  std::vector<bool> stays(m_Open.size(), false);
  for (std::size_t i = 0; i < m_Open.size(); ++i) {
    if (static_cast<long>(i) <= keep) {
      stays[i] = true;
    } else if (m_Open[i].argument) {
      for (std::size_t j = 0; j < i; ++j)
        if (m_Open[j].id == m_Open[i].parent) stays[i] = stays[j];
    }
  }
  // Innermost first.
  for (std::size_t i = m_Open.size(); i-- > 0;) {
    if (stays[i]) continue;
    const OpenExpansion closing = std::move(m_Open[i]);
    m_Open.erase(m_Open.begin() + static_cast<long>(i));
    m_OnClose(closing);
  }
  if (m_Open.empty()) m_OutermostBegin = m_OutermostEnd = clang::SourceLocation();
}

void ExpansionResults::closeAll() { closeAbove(-1); }

}  // namespace orvo::standard
