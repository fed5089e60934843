// The diagnostics family: fixed-size message values that are thrown to end a
// parse or stored in the plugin's message list. Copying never allocates.
#pragma once

#include <cstring>

namespace orvo {

// Copies at most 255 characters of `source` (up to its first NUL) into a
// 256-char array and terminates it.
inline void CVL_CopyText(char (&target)[256], const char* source) {
  if (source == nullptr) {
    target[0] = '\0';
    return;
  }
  std::size_t n = 0;
  while (n < 255 && source[n] != '\0') ++n;
  std::memcpy(target, source, n);
  target[n] = '\0';
}

class CVL_Message {
 public:
  explicit CVL_Message(const char* text) { CVL_CopyText(m_szMessage, text); }
  CVL_Message(const char* text, int begin, int end, const char* production,
              const char* symbol, unsigned char kind, int code)
      : m_pSymbol(symbol), m_pProduction(production), m_Kind(kind), m_Code(code),
        m_Begin(begin), m_End(end) {
    CVL_CopyText(m_szMessage, text);
  }
  CVL_Message(const CVL_Message&) = default;
  CVL_Message& operator=(const CVL_Message&) = default;
  virtual ~CVL_Message() = default;

  virtual unsigned char kind() const { return m_Kind; }
  virtual int begin() const { return m_Begin; }
  virtual int end() const { return m_End; }
  virtual void setSymbol(const char* symbol) { m_pSymbol = symbol; }
  virtual const char* symbol() const { return m_pSymbol ? m_pSymbol : "unknown symbol"; }
  virtual void setProduction(const char* production) { m_pProduction = production; }
  virtual const char* production() const {
    return m_pProduction ? m_pProduction : "unknown production";
  }
  virtual void setEnd(int end) { m_End = end; }

  const char* text() const { return m_szMessage; }
  int code() const { return m_Code; }

  char m_szMessage[256];
  const char* m_pSymbol = nullptr;
  const char* m_pProduction = nullptr;
  unsigned char m_Kind = 0;
  int m_Code = 0;
  int m_Begin = 0;
  int m_End = 0;
};

// Subclasses that only fix the kind byte.
template <unsigned char Kind>
class CVL_KindedMessage : public CVL_Message {
 public:
  CVL_KindedMessage(const char* text, int begin, int end, const char* production,
                    const char* symbol, int code)
      : CVL_Message(text, begin, end, production, symbol, Kind, code) {}
};

class CVL_Warning : public CVL_KindedMessage<3> {
  using CVL_KindedMessage::CVL_KindedMessage;
};
class CVL_Error : public CVL_KindedMessage<4> {
  using CVL_KindedMessage::CVL_KindedMessage;
};
class CVL_ParseError : public CVL_KindedMessage<5> {
  using CVL_KindedMessage::CVL_KindedMessage;
};
class CVL_ErrorExpected : public CVL_ParseError {
  using CVL_ParseError::CVL_ParseError;
};
class CVL_ErrorUnexpected : public CVL_ParseError {
  using CVL_ParseError::CVL_ParseError;
};
class CVL_ErrorStandstill : public CVL_ParseError {
  using CVL_ParseError::CVL_ParseError;
};
class CVL_ErrorIncomplete : public CVL_ParseError {
  using CVL_ParseError::CVL_ParseError;
};

class CVL_SemError : public CVL_Message {
 public:
  CVL_SemError(const char* text, int code) : CVL_Message(text, 0, 0, nullptr, nullptr, 6, code) {}
};

class CVL_NodeError : public CVL_SemError {
 public:
  CVL_NodeError(const char* text, const char* nodeText, int code) : CVL_SemError(text, code) {
    CVL_CopyText(m_szNode, nodeText);
  }
  char m_szNode[256];
};

class CVL_NodeErrorAddBranch : public CVL_NodeError {
 public:
  CVL_NodeErrorAddBranch(const char* nodeText, const char* branchText, int code)
      : CVL_NodeError("cannot add branch : ", nodeText, code) {
    CVL_CopyText(m_szBranch, branchText);
  }
  char m_szBranch[256];
};

}  // namespace orvo
