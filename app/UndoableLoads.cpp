#include "app/UndoableLoads.h"

#include <utility>

namespace orvo {

void UndoableLoads::loaded(const InputDocument& before, QByteArray beforeText,
                           bool beforeModified, const InputDocument& after, QByteArray afterText) {
  m_Done.push_back({before, std::move(beforeText), beforeModified, after, std::move(afterText)});
  m_Undone.clear();
}

void UndoableLoads::forget() {
  m_Done.clear();
  m_Undone.clear();
}

// Undo goes back one edit at a time, and a load is one edit: the text equals
// the one shown before the load exactly when that edit was taken back.
std::optional<UndoableLoads::Shown> UndoableLoads::undone(const QByteArray& text) {
  if (m_Done.empty() || text != m_Done.back().beforeText) return std::nullopt;
  m_Undone.push_back(std::move(m_Done.back()));
  m_Done.pop_back();
  return Shown{m_Undone.back().before, m_Undone.back().beforeModified};
}

std::optional<UndoableLoads::Shown> UndoableLoads::redone(const QByteArray& text) {
  if (m_Undone.empty() || text != m_Undone.back().afterText) return std::nullopt;
  m_Done.push_back(std::move(m_Undone.back()));
  m_Undone.pop_back();
  return Shown{m_Done.back().after, false};
}

}  // namespace orvo
