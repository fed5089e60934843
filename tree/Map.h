// CVL_Map: an ordered map (keys compared byte by byte, each key once) with
// registered cursors and a cursor of its own through which lookups go:
// findKey() positions the own cursor, value() then reads the entry there.
//
// Every insertion (operator[], insert, assignment, clear) resets all
// registered cursors, the own one included, to the end: they are not
// positioned until they are moved again. Erasing does not reset cursors;
// cursors that stood on the erased entry move on to the next one.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <cstddef>
#include <iterator>
#include <map>
#include <memory>
#include <string_view>
#include <type_traits>
#include <vector>

#include "tree/Cursor.h"

namespace orvo {

template <class M>
class CVL_MapCursor;

template <class K, class V>
class CVL_Map {
 public:
  using key_type = K;
  using mapped_type = V;
  // Ordered with a transparent comparison, so lookups need not build a key.
  using entries_type = std::map<K, V, std::less<>>;
  using position_type = typename entries_type::iterator;
  using const_iterator = typename entries_type::const_iterator;
  using cursor_type = CVL_MapCursor<CVL_Map>;

  CVL_Map() : m_pCursor(std::make_unique<cursor_type>(this)) {}
  // Copies the entries; the copy has only its own, unpositioned cursor.
  CVL_Map(const CVL_Map& other)
      : m_Entries(other.m_Entries),
        m_KeyBits(other.m_KeyBits),
        m_pCursor(std::make_unique<cursor_type>(this)) {}
  CVL_Map& operator=(const CVL_Map& other) {
    if (this == &other) return *this;
    m_Entries = other.m_Entries;
    m_KeyBits = other.m_KeyBits;
    notifyInsertion();  // the old positions are gone
    return *this;
  }
  // Registered cursors outlive the map detached; then the own cursor and
  // the entries are destroyed.
  ~CVL_Map() {
    const std::vector<CVL_Cursor<CVL_Map>*> cursors = std::move(m_Cursors);
    m_Cursors.clear();
    for (CVL_Cursor<CVL_Map>* cursor : cursors) cursor->reset(true);
  }

  // Moves the own cursor to the entry of `key`; if there is none, returns
  // false and leaves the cursor where it was.
  bool findKey(const K& key) { return m_pCursor->findKey(key); }
  // Value at the own cursor; a default V when it is not positioned.
  V value() const { return m_pCursor->value(); }
  // The value stored under `key`, or null; moves no cursor.
  template <class Key>
  const V* find(const Key& key) const {
    if ((m_KeyBits & KeyBit(key)) == 0) return nullptr;
    const auto found = m_Entries.find(key);
    return found == m_Entries.end() ? nullptr : &found->second;
  }
  // Key at the own cursor; a default K when it is not positioned.
  K key() const { return m_pCursor->key(); }

  // The entry of `key`, created if absent.
  V& operator[](const K& key) {
    V& value = m_Entries[key];
    m_KeyBits |= KeyBit(key);
    notifyInsertion();
    return value;
  }
  // Adds the entry only if the key is absent; true if it was added.
  bool insert(const K& key, const V& value) {
    const bool added = m_Entries.emplace(key, value).second;
    m_KeyBits |= KeyBit(key);
    notifyInsertion();
    return added;
  }
  // Erases the entry at the own cursor, which moves on to the next entry;
  // false if the cursor is not positioned.
  bool erase() { return m_pCursor->erase(); }
  void clear() {
    m_Entries.clear();
    m_KeyBits = 0;
    notifyInsertion();
  }

  std::size_t size() const { return m_Entries.size(); }
  bool empty() const { return m_Entries.empty(); }
  cursor_type& cursor() { return *m_pCursor; }
  const cursor_type& cursor() const { return *m_pCursor; }
  const_iterator begin() const { return m_Entries.begin(); }
  const_iterator end() const { return m_Entries.end(); }

  // ---- For cursors ------------------------------------------------------
  position_type endPosition() { return m_Entries.end(); }
  void registerCursor(CVL_Cursor<CVL_Map>* cursor) { m_Cursors.push_back(cursor); }
  void unregisterCursor(CVL_Cursor<CVL_Map>* cursor) {
    m_Cursors.erase(std::remove(m_Cursors.begin(), m_Cursors.end(), cursor), m_Cursors.end());
  }

 private:
  friend cursor_type;

  void notifyInsertion() {
    for (CVL_Cursor<CVL_Map>* cursor : m_Cursors) cursor->reset(false);
  }
  // Removes the entry at `position`. Every cursor standing on it (not only
  // the erasing one) moves to the next entry, so none is left dangling.
  void eraseAt(position_type position) {
    const position_type following = std::next(position);
    for (CVL_Cursor<CVL_Map>* cursor : m_Cursors) {
      if (cursor->m_Position == position) cursor->m_Position = following;
    }
    m_Entries.erase(position);
  }

  // One bit per key, chosen by its length and end bytes, so that most
  // lookups of an absent text key end without comparing keys. Erasing leaves
  // the bit set: a set bit only means "maybe".
  template <class Key>
  static std::uint64_t KeyBit(const Key& key) {
    if constexpr (std::is_convertible_v<const Key&, std::string_view>) {
      const std::string_view text = key;
      if (text.empty()) return 1;
      const auto mix = static_cast<unsigned>(static_cast<unsigned char>(text.front())) * 7u +
                       static_cast<unsigned>(static_cast<unsigned char>(text.back())) * 3u +
                       static_cast<unsigned>(text.size());
      return std::uint64_t{1} << (mix % 64);
    } else {
      return ~std::uint64_t{0};
    }
  }

  entries_type m_Entries;
  std::uint64_t m_KeyBits = 0;
  std::vector<CVL_Cursor<CVL_Map>*> m_Cursors;
  std::unique_ptr<cursor_type> m_pCursor;
};

template <class M>
class CVL_MapCursor : public CVL_Cursor<M> {
 public:
  using key_type = typename M::key_type;
  using mapped_type = typename M::mapped_type;

  explicit CVL_MapCursor(M* map) : CVL_Cursor<M>(map) {}

  void reset(bool detach) override { this->resetPosition(detach); }

  bool positioned() const {
    return this->m_pContainer != nullptr && this->m_Position != this->m_pContainer->endPosition();
  }
  // Moves to the entry of `key`; if there is none, returns false and stays.
  bool findKey(const key_type& key) {
    if (this->m_pContainer == nullptr) return false;
    const auto found = entries().find(key);
    if (found == entries().end()) return false;
    this->m_Position = found;
    return true;
  }
  key_type key() const { return positioned() ? this->m_Position->first : key_type(); }
  mapped_type value() const { return positioned() ? this->m_Position->second : mapped_type(); }
  // Replaces the value at the position; does nothing when not positioned.
  void setValue(const mapped_type& value) {
    if (positioned()) this->m_Position->second = value;
  }
  // From the end to the first entry, otherwise one entry on; true if the
  // cursor now stands on an entry.
  bool next() {
    if (this->m_pContainer == nullptr) return false;
    if (this->m_Position == entries().end()) {
      this->m_Position = entries().begin();
    } else {
      ++this->m_Position;
    }
    return positioned();
  }
  // One entry back, or from the first entry to the end.
  bool prev() {
    if (this->m_pContainer == nullptr) return false;
    if (this->m_Position == entries().begin()) {
      this->m_Position = entries().end();
    } else {
      --this->m_Position;
    }
    return positioned();
  }
  // Erases the entry at the position and moves on to the next entry.
  bool erase() {
    if (!positioned()) return false;
    this->m_pContainer->eraseAt(this->m_Position);
    return true;
  }

 private:
  auto& entries() const { return this->m_pContainer->m_Entries; }
};

}  // namespace orvo
