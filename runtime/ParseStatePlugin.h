// The parse's connection to its environment: the output stream, the error
// policy (raise or collect), recorded messages, host-set string properties,
// the dynamic scanner and an indentation stack. One plugin serves a whole run.
#pragma once

#include <fstream>
#include <memory>
#include <ostream>
#include <stack>
#include <string>
#include <vector>

#include "base/Message.h"
#include "scan/DynamicScanner.h"

namespace orvo {

// Points the plugin's output at a stream, and temporarily at a file.
class CVL_RedirectOutput {
 public:
  explicit CVL_RedirectOutput(std::ostream* target);  // null: standard output
  ~CVL_RedirectOutput();  // gives the target its saved buffer back
  CVL_RedirectOutput(const CVL_RedirectOutput&) = delete;
  CVL_RedirectOutput& operator=(const CVL_RedirectOutput&) = delete;

  // Sends the target's output to `buffer`. The target's own buffer is saved
  // by the first redirection; a later one only flushes the current file.
  void redirectTo(std::streambuf* buffer);
  // Flushes the target and gives it its saved buffer back, if one is saved.
  void restore();
  // Flushes the target; a failing flush leaves the target in the bad state
  // and throws nothing, whatever exceptions the target has enabled.
  void flushTarget();

  std::streambuf* m_pSavedBuffer = nullptr;
  std::ostream* m_pTarget;
};

struct CVL_Indent {
  char m_Char = ' ';
  std::stack<int> m_Widths;
};

class CVL_ParseStatePluginAbs {
 public:
  virtual ~CVL_ParseStatePluginAbs() = default;
  virtual std::ostream* out() = 0;
  virtual CVL_DynamicScanner* dynamicScanner() = 0;
  virtual bool addDynamicText(const std::string& placeholder, const std::string& text, int level) = 0;
  virtual bool addDynamicKeyedText(const std::string& placeholder, const std::string& text,
                                   const std::string& key, int level) = 0;
  virtual void removeDynamicKey(const std::string& key, int level) = 0;
  virtual void pushDynamicKey(const std::string& key, int level) = 0;
  virtual void popDynamicKey(int level) = 0;
  virtual void clearDynamicKeys(int level) = 0;
  virtual std::string activeDynamicKey() = 0;
  virtual void reset() = 0;
  virtual bool raiseErrors() const = 0;
  virtual void setRaiseErrors(bool raise) = 0;
  virtual void clearMessages() = 0;
  virtual bool hasMessages() const = 0;
  virtual void addMessage(const CVL_Message& message) = 0;
  virtual std::vector<CVL_Message>::const_iterator messagesBegin() const = 0;
  virtual std::vector<CVL_Message>::const_iterator messagesEnd() const = 0;
  virtual void swapMessages(std::vector<CVL_Message>& messages) = 0;
  virtual std::string sourcePath() const = 0;
  virtual void setSourcePath(const std::string& text, bool flag) = 0;
  virtual std::string pluginText2() const = 0;
  virtual void setPluginText2(const std::string& text) = 0;
  virtual bool sourceFlag() const = 0;
  virtual std::string sourceDir() const = 0;
  virtual void setSourceDir(const std::string& text) = 0;
  virtual std::string pluginText4() const = 0;
  virtual void setPluginText4(const std::string& text) = 0;
  virtual std::string includePaths() const = 0;
  virtual void setIncludePaths(const std::string& text) = 0;
  virtual std::string pluginText6() const = 0;
  virtual void setPluginText6(const std::string& text) = 0;
  virtual void redirectOutput(const std::string& path, bool append) = 0;
  virtual void redirectOutputBinary(const std::string& path, bool append) = 0;
  virtual void closeOutput() = 0;
  virtual void setIndentChar(char c) = 0;
  virtual void pushIndent(int n) = 0;
  virtual void pushRelativeIndent(int n) = 0;
  virtual bool popIndent() = 0;
  virtual void clearIndent() = 0;
  virtual std::string indentation() const = 0;
  virtual CVL_Indent& indentState() = 0;
};

class CVL_ParseStatePlugin : public CVL_ParseStatePluginAbs {
 public:
  explicit CVL_ParseStatePlugin(std::ostream* stream);  // null: standard output
  ~CVL_ParseStatePlugin() override;
  CVL_ParseStatePlugin(const CVL_ParseStatePlugin&) = delete;
  CVL_ParseStatePlugin& operator=(const CVL_ParseStatePlugin&) = delete;

  std::ostream* out() override;
  CVL_DynamicScanner* dynamicScanner() override;
  bool addDynamicText(const std::string& placeholder, const std::string& text, int level) override;
  bool addDynamicKeyedText(const std::string& placeholder, const std::string& text,
                           const std::string& key, int level) override;
  void removeDynamicKey(const std::string& key, int level) override;
  void pushDynamicKey(const std::string& key, int level) override;
  void popDynamicKey(int level) override;
  void clearDynamicKeys(int level) override;
  std::string activeDynamicKey() override;
  // Empties the string properties and ends a redirection; keeps the recorded
  // messages and the raise flag.
  void reset() override;
  bool raiseErrors() const override;
  void setRaiseErrors(bool raise) override;
  void clearMessages() override;
  bool hasMessages() const override;
  // Stores a copy of the message's base part; its kind tells what it was.
  void addMessage(const CVL_Message& message) override;
  std::vector<CVL_Message>::const_iterator messagesBegin() const override;
  std::vector<CVL_Message>::const_iterator messagesEnd() const override;
  void swapMessages(std::vector<CVL_Message>& messages) override;
  std::string sourcePath() const override;
  void setSourcePath(const std::string& text, bool flag) override;
  std::string pluginText2() const override;
  void setPluginText2(const std::string& text) override;
  bool sourceFlag() const override;
  std::string sourceDir() const override;
  void setSourceDir(const std::string& text) override;
  std::string pluginText4() const override;
  void setPluginText4(const std::string& text) override;
  std::string includePaths() const override;
  void setIncludePaths(const std::string& text) override;
  std::string pluginText6() const override;
  void setPluginText6(const std::string& text) override;
  // Sends out() to the file at `path` until closeOutput(); throws
  // CVL_Message "cannot open file" when it cannot be opened, leaving out()
  // at the stream given at construction.
  void redirectOutput(const std::string& path, bool append) override;
  void redirectOutputBinary(const std::string& path, bool append) override;
  void closeOutput() override;
  void setIndentChar(char c) override;
  void pushIndent(int n) override;
  void pushRelativeIndent(int n) override;
  // True when the stack was already empty.
  bool popIndent() override;
  void clearIndent() override;
  // As many blanks as the current width, if that is positive.
  std::string indentation() const override;
  CVL_Indent& indentState() override;

  std::unique_ptr<CVL_RedirectOutput> m_pRedirect;
  std::ofstream m_OutFile;
  std::unique_ptr<CVL_DynamicScanner> m_pDynamicScanner;
  CVL_Indent m_Indent;
  std::string m_SourcePath;
  std::string m_PluginText2;
  bool m_bSourceFlag = true;
  std::string m_SourceDir;
  std::string m_PluginText4;
  std::string m_IncludePaths;
  std::string m_PluginText6;
  bool m_bRaiseErrors = true;
  std::vector<CVL_Message> m_Messages;

 private:
  void openOutput(const std::string& path, bool append, std::ios::openmode extraMode);
};

}  // namespace orvo
