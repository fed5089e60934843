#include "runtime/ParseStatePlugin.h"

namespace orvo {

CVL_ParseStatePlugin::CVL_ParseStatePlugin(std::ostream* stream)
    : m_pRedirect(std::make_unique<CVL_RedirectOutput>(stream)),
      m_pDynamicScanner(std::make_unique<CVL_DynamicScanner>()) {}

CVL_ParseStatePlugin::~CVL_ParseStatePlugin() { closeOutput(); }

std::ostream* CVL_ParseStatePlugin::out() { return m_pRedirect->m_pTarget; }

CVL_DynamicScanner* CVL_ParseStatePlugin::dynamicScanner() { return m_pDynamicScanner.get(); }

bool CVL_ParseStatePlugin::addDynamicText(const std::string& placeholder, const std::string& text,
                                          int level) {
  return m_pDynamicScanner->addText(placeholder, text, level);
}

bool CVL_ParseStatePlugin::addDynamicKeyedText(const std::string& placeholder,
                                               const std::string& text, const std::string& key,
                                               int level) {
  return m_pDynamicScanner->addKeyedText(placeholder, text, key, level);
}

void CVL_ParseStatePlugin::removeDynamicKey(const std::string& key, int level) {
  m_pDynamicScanner->removeKey(key, level);
}

void CVL_ParseStatePlugin::pushDynamicKey(const std::string& key, int level) {
  m_pDynamicScanner->pushKey(key, level);
}

void CVL_ParseStatePlugin::popDynamicKey(int level) { m_pDynamicScanner->popKey(level); }

void CVL_ParseStatePlugin::clearDynamicKeys(int level) { m_pDynamicScanner->clearKeys(level); }

std::string CVL_ParseStatePlugin::activeDynamicKey() { return m_pDynamicScanner->activeKey(); }

void CVL_ParseStatePlugin::reset() {
  closeOutput();
  m_SourcePath.clear();
  m_PluginText2.clear();
  m_bSourceFlag = true;
  m_SourceDir.clear();
  m_PluginText4.clear();
  m_IncludePaths.clear();
  m_PluginText6.clear();
}

bool CVL_ParseStatePlugin::raiseErrors() const { return m_bRaiseErrors; }

void CVL_ParseStatePlugin::setRaiseErrors(bool raise) { m_bRaiseErrors = raise; }

void CVL_ParseStatePlugin::clearMessages() { m_Messages.clear(); }

bool CVL_ParseStatePlugin::hasMessages() const { return !m_Messages.empty(); }

void CVL_ParseStatePlugin::addMessage(const CVL_Message& message) {
  m_Messages.push_back(CVL_Message(message));
}

std::vector<CVL_Message>::const_iterator CVL_ParseStatePlugin::messagesBegin() const {
  return m_Messages.cbegin();
}

std::vector<CVL_Message>::const_iterator CVL_ParseStatePlugin::messagesEnd() const {
  return m_Messages.cend();
}

void CVL_ParseStatePlugin::swapMessages(std::vector<CVL_Message>& messages) {
  m_Messages.swap(messages);
}

std::string CVL_ParseStatePlugin::sourcePath() const { return m_SourcePath; }

void CVL_ParseStatePlugin::setSourcePath(const std::string& text, bool flag) {
  if (&text != &m_SourcePath) m_SourcePath = text;
  m_bSourceFlag = flag;
}

std::string CVL_ParseStatePlugin::pluginText2() const { return m_PluginText2; }
void CVL_ParseStatePlugin::setPluginText2(const std::string& text) { m_PluginText2 = text; }
bool CVL_ParseStatePlugin::sourceFlag() const { return m_bSourceFlag; }
std::string CVL_ParseStatePlugin::sourceDir() const { return m_SourceDir; }
void CVL_ParseStatePlugin::setSourceDir(const std::string& text) { m_SourceDir = text; }
std::string CVL_ParseStatePlugin::pluginText4() const { return m_PluginText4; }
void CVL_ParseStatePlugin::setPluginText4(const std::string& text) { m_PluginText4 = text; }
std::string CVL_ParseStatePlugin::includePaths() const { return m_IncludePaths; }
void CVL_ParseStatePlugin::setIncludePaths(const std::string& text) { m_IncludePaths = text; }
std::string CVL_ParseStatePlugin::pluginText6() const { return m_PluginText6; }
void CVL_ParseStatePlugin::setPluginText6(const std::string& text) { m_PluginText6 = text; }

void CVL_ParseStatePlugin::redirectOutput(const std::string& path, bool append) {
  openOutput(path, append, std::ios::openmode{});
}

void CVL_ParseStatePlugin::redirectOutputBinary(const std::string& path, bool append) {
  openOutput(path, append, std::ios::binary);
}

void CVL_ParseStatePlugin::openOutput(const std::string& path, bool append,
                                      std::ios::openmode extraMode) {
  // Undoing an earlier redirection first means that a failed open leaves the
  // output at the stream given at construction.
  closeOutput();
  m_OutFile.open(path, std::ios::out | (append ? std::ios::app : std::ios::trunc) | extraMode);
  if (m_OutFile.fail() || m_OutFile.bad()) throw CVL_Message("cannot open file");
  m_pRedirect->redirectTo(m_OutFile.rdbuf());
}

void CVL_ParseStatePlugin::closeOutput() {
  if (!m_OutFile.is_open()) return;
  m_pRedirect->restore();
  m_OutFile.close();
  m_OutFile.clear();
}

void CVL_ParseStatePlugin::setIndentChar(char c) { m_Indent.m_Char = c; }

void CVL_ParseStatePlugin::pushIndent(int n) { m_Indent.m_Widths.push(n); }

void CVL_ParseStatePlugin::pushRelativeIndent(int n) {
  m_Indent.m_Widths.push(m_Indent.m_Widths.empty() ? n : m_Indent.m_Widths.top() + n);
}

bool CVL_ParseStatePlugin::popIndent() {
  if (m_Indent.m_Widths.empty()) return true;
  m_Indent.m_Widths.pop();
  return false;
}

void CVL_ParseStatePlugin::clearIndent() {
  while (!m_Indent.m_Widths.empty()) m_Indent.m_Widths.pop();
}

std::string CVL_ParseStatePlugin::indentation() const {
  if (m_Indent.m_Widths.empty() || m_Indent.m_Widths.top() <= 0) return std::string();
  return std::string(static_cast<std::size_t>(m_Indent.m_Widths.top()), ' ');
}

CVL_Indent& CVL_ParseStatePlugin::indentState() { return m_Indent; }

}  // namespace orvo
