// CVL_Vector: elements in insertion order, with registered cursors and a
// cursor of its own. push_back and clear reset every registered cursor to
// the end (not positioned). A walk starts from a reset cursor and calls
// next() until it returns false.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

#include "tree/Cursor.h"

namespace orvo {

template <class V>
class CVL_VectorCursor;

template <class T>
class CVL_Vector {
 public:
  using value_type = T;
  // A cursor's position is an element index; the end is size().
  using position_type = std::size_t;
  using const_iterator = typename std::vector<T>::const_iterator;
  using cursor_type = CVL_VectorCursor<CVL_Vector>;

  CVL_Vector() : m_pCursor(std::make_unique<cursor_type>(this)) {}
  // Copies the elements; the copy has only its own, unpositioned cursor.
  CVL_Vector(const CVL_Vector& other)
      : m_Elements(other.m_Elements), m_pCursor(std::make_unique<cursor_type>(this)) {}
  CVL_Vector& operator=(const CVL_Vector& other) {
    if (this == &other) return *this;
    m_Elements = other.m_Elements;
    notifyInsertion();
    return *this;
  }
  // Registered cursors outlive the vector detached; then the own cursor and
  // the elements are destroyed.
  ~CVL_Vector() {
    const std::vector<CVL_Cursor<CVL_Vector>*> cursors = std::move(m_Cursors);
    m_Cursors.clear();
    for (CVL_Cursor<CVL_Vector>* cursor : cursors) cursor->reset(true);
  }

  void push_back(const T& value) {
    m_Elements.push_back(value);
    notifyInsertion();
  }
  void clear() {
    m_Elements.clear();
    notifyInsertion();
  }

  std::size_t size() const { return m_Elements.size(); }
  bool empty() const { return m_Elements.empty(); }
  T& operator[](std::size_t index) { return m_Elements[index]; }
  const T& operator[](std::size_t index) const { return m_Elements[index]; }
  const_iterator begin() const { return m_Elements.begin(); }
  const_iterator end() const { return m_Elements.end(); }
  cursor_type& cursor() { return *m_pCursor; }
  const cursor_type& cursor() const { return *m_pCursor; }

  // ---- For cursors ------------------------------------------------------
  position_type endPosition() const { return m_Elements.size(); }
  void registerCursor(CVL_Cursor<CVL_Vector>* cursor) { m_Cursors.push_back(cursor); }
  void unregisterCursor(CVL_Cursor<CVL_Vector>* cursor) {
    m_Cursors.erase(std::remove(m_Cursors.begin(), m_Cursors.end(), cursor), m_Cursors.end());
  }

 private:
  void notifyInsertion() {
    for (CVL_Cursor<CVL_Vector>* cursor : m_Cursors) cursor->reset(false);
  }

  std::vector<T> m_Elements;
  std::vector<CVL_Cursor<CVL_Vector>*> m_Cursors;
  std::unique_ptr<cursor_type> m_pCursor;
};

template <class V>
class CVL_VectorCursor : public CVL_Cursor<V> {
 public:
  using value_type = typename V::value_type;

  explicit CVL_VectorCursor(V* vector) : CVL_Cursor<V>(vector) {}

  void reset(bool detach) override { this->resetPosition(detach); }

  bool positioned() const {
    return this->m_pContainer != nullptr && this->m_Position < this->m_pContainer->size();
  }
  // Element at the position; a default T when not positioned.
  value_type value() const {
    return positioned() ? (*this->m_pContainer)[this->m_Position] : value_type();
  }
  // Replaces the element at the position; does nothing when not positioned.
  void setValue(const value_type& value) {
    if (positioned()) (*this->m_pContainer)[this->m_Position] = value;
  }
  // From the end to the first element, otherwise one element on; true if
  // the cursor now stands on an element.
  bool next() {
    if (this->m_pContainer == nullptr) return false;
    this->m_Position = positioned() ? this->m_Position + 1 : 0;
    return positioned();
  }
  // One element back, or from the first element to the end; from the end to
  // the last element.
  bool prev() {
    if (this->m_pContainer == nullptr) return false;
    const std::size_t size = this->m_pContainer->size();
    if (!positioned()) {
      this->m_Position = size == 0 ? size : size - 1;
    } else {
      this->m_Position = this->m_Position == 0 ? size : this->m_Position - 1;
    }
    return positioned();
  }
};

}  // namespace orvo
