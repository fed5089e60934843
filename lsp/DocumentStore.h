// The documents the editor has open, by URI, each with the text and version
// the editor last sent (full synchronisation).
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace orvo::lsp {

struct Document {
  std::string uri;
  std::string text;
  long version = 0;
};

class DocumentStore {
 public:
  void open(Document document);
  // Replaces the text; returns false for a document that is not open.
  bool change(const std::string& uri, std::string text, long version);
  void close(const std::string& uri);
  std::optional<Document> get(const std::string& uri) const;

 private:
  mutable std::mutex m_Mutex;
  std::map<std::string, Document, std::less<>> m_Documents;
};

}  // namespace orvo::lsp
