// Cursors: objects that point into a container (tree/Map.h, tree/Vector.h)
// and survive as long as it does. A cursor registers with its container when
// it is given one; the container resets every registered cursor after an
// insertion and detaches them all when it is destroyed. A cursor at the
// container's end is "not positioned"; a detached one reads default values
// and moves nowhere.
#pragma once

namespace orvo {

class CVL_CursorAbs {
 public:
  virtual ~CVL_CursorAbs() = default;
  // Detaches from the container if `detach` is true; then, if still
  // attached, moves to the container's end.
  virtual void reset(bool detach) = 0;
};

// Registration and position, shared by the cursors of every container type.
// `C` provides position_type, endPosition(), registerCursor() and
// unregisterCursor().
template <class C>
class CVL_Cursor : public CVL_CursorAbs {
 public:
  using position_type = typename C::position_type;

  explicit CVL_Cursor(C* container) : m_pContainer(container) { attach(); }
  // A copy is registered with the same container at the same position.
  CVL_Cursor(const CVL_Cursor& other) : m_pContainer(other.m_pContainer) {
    attach();
    if (m_pContainer != nullptr) m_Position = other.m_Position;
  }
  CVL_Cursor& operator=(const CVL_Cursor& other) {
    if (this == &other) return *this;
    detachFromContainer();
    m_pContainer = other.m_pContainer;
    attach();
    if (m_pContainer != nullptr) m_Position = other.m_Position;
    return *this;
  }
  ~CVL_Cursor() override { detachFromContainer(); }

  C* container() const { return m_pContainer; }
  bool attached() const { return m_pContainer != nullptr; }
  // Meaningful only while attached.
  position_type position() const { return m_Position; }

 protected:
  // Leaves the container's list and forgets the container.
  void detachFromContainer() {
    if (m_pContainer == nullptr) return;
    m_pContainer->unregisterCursor(this);
    m_pContainer = nullptr;
  }
  // The common part of reset(detach) for all cursor kinds.
  void resetPosition(bool detach) {
    if (detach) detachFromContainer();
    if (m_pContainer != nullptr) m_Position = m_pContainer->endPosition();
  }

  C* m_pContainer;
  position_type m_Position{};

 private:
  friend C;  // moves the cursors that stand on an entry it erases

  void attach() {
    if (m_pContainer == nullptr) return;
    m_Position = m_pContainer->endPosition();
    m_pContainer->registerCursor(this);
  }
};

}  // namespace orvo
