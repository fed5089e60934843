#include "lsp/DocumentStore.h"

namespace orvo::lsp {

void DocumentStore::open(Document document) {
  const std::lock_guard lock(m_Mutex);
  std::string uri = document.uri;
  m_Documents[std::move(uri)] = std::move(document);
}

bool DocumentStore::change(const std::string& uri, std::string text, long version) {
  const std::lock_guard lock(m_Mutex);
  const auto found = m_Documents.find(uri);
  if (found == m_Documents.end()) return false;
  found->second.text = std::move(text);
  found->second.version = version;
  return true;
}

void DocumentStore::close(const std::string& uri) {
  const std::lock_guard lock(m_Mutex);
  m_Documents.erase(uri);
}

std::optional<Document> DocumentStore::get(const std::string& uri) const {
  const std::lock_guard lock(m_Mutex);
  const auto found = m_Documents.find(uri);
  if (found == m_Documents.end()) return std::nullopt;
  return found->second;
}

}  // namespace orvo::lsp
