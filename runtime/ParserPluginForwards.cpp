// Plugin services the parser offers semantic actions; each uses the
// parser's own plugin and does nothing without one.
#include "runtime/Parser.h"

namespace orvo {

void CVL_Parser::setSourcePath(const std::string& text, bool flag) {
  if (m_pPlugin != nullptr) m_pPlugin->setSourcePath(text, flag);
}

void CVL_Parser::setPluginText2(const std::string& text) {
  if (m_pPlugin != nullptr) m_pPlugin->setPluginText2(text);
}

void CVL_Parser::setSourceDir(const std::string& text) {
  if (m_pPlugin != nullptr) m_pPlugin->setSourceDir(text);
}

void CVL_Parser::setPluginText4(const std::string& text) {
  if (m_pPlugin != nullptr) m_pPlugin->setPluginText4(text);
}

void CVL_Parser::reservedSlot() {}

std::string CVL_Parser::sourcePath() const {
  return m_pPlugin != nullptr ? m_pPlugin->sourcePath() : std::string();
}

std::string CVL_Parser::pluginText2() const {
  return m_pPlugin != nullptr ? m_pPlugin->pluginText2() : std::string();
}

bool CVL_Parser::sourceFlag() const { return m_pPlugin == nullptr || m_pPlugin->sourceFlag(); }

std::string CVL_Parser::sourceDir() const {
  return m_pPlugin != nullptr ? m_pPlugin->sourceDir() : std::string();
}

std::string CVL_Parser::pluginText4() const {
  return m_pPlugin != nullptr ? m_pPlugin->pluginText4() : std::string();
}

void CVL_Parser::redirectOutput(const std::string& path, bool append) {
  if (m_pPlugin != nullptr) m_pPlugin->redirectOutput(path, append);
}

void CVL_Parser::redirectOutputBinary(const std::string& path, bool append) {
  if (m_pPlugin != nullptr) m_pPlugin->redirectOutputBinary(path, append);
}

void CVL_Parser::closeOutput() {
  if (m_pPlugin != nullptr) m_pPlugin->closeOutput();
}

void CVL_Parser::pushDynamicKey(const std::string& key, int level) {
  if (m_pPlugin != nullptr) m_pPlugin->pushDynamicKey(key, level);
}

void CVL_Parser::popDynamicKey(int level) {
  if (m_pPlugin != nullptr) m_pPlugin->popDynamicKey(level);
}

std::string CVL_Parser::activeDynamicKey() {
  return m_pPlugin != nullptr ? m_pPlugin->activeDynamicKey() : std::string();
}

void CVL_Parser::clearDynamicKeys(int level) {
  if (m_pPlugin != nullptr) m_pPlugin->clearDynamicKeys(level);
}

void CVL_Parser::pushIndent(int n) {
  if (m_pPlugin != nullptr) m_pPlugin->pushIndent(n);
}

void CVL_Parser::pushRelativeIndent(int n) {
  if (m_pPlugin != nullptr) m_pPlugin->pushRelativeIndent(n);
}

bool CVL_Parser::popIndent() { return m_pPlugin == nullptr || m_pPlugin->popIndent(); }

void CVL_Parser::clearIndent() {
  if (m_pPlugin != nullptr) m_pPlugin->clearIndent();
}

std::string CVL_Parser::indentation() const {
  return m_pPlugin != nullptr ? m_pPlugin->indentation() : std::string();
}

}  // namespace orvo
