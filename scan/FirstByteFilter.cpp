#include "scan/FirstByteFilter.h"

#include <cstring>

#include "scan/ScannerSyntax.h"

namespace orvo {
namespace {

using Bytes = std::bitset<256>;
using Traits = boost::regex::traits_type;

// Groups nest at most this deep before the analysis gives up.
constexpr int kMaxDepth = 64;

// What an expression can do at a position before the input end: begin with
// one of `bytes`, or (when `empty`) succeed without consuming anything.
struct Start {
  Bytes bytes;
  bool empty;
};

struct NotUnderstood {};

// Recursive descent over the Perl syntax subset the scanner tables use. Every
// answer is a superset of the truth; constructs outside the subset throw
// NotUnderstood, which the caller turns into "every byte".
class Analyzer {
 public:
  Analyzer(const std::string& expression, const Traits& traits)
      : m_p(expression.data()), m_End(expression.data() + expression.size()), m_Traits(traits) {}

  Start run() {
    const Start start = alternation(0);
    if (m_p != m_End) throw NotUnderstood{};
    return start;
  }

 private:
  static Start Assertion() { return {Bytes(), true}; }
  static Start Byte(char c) {
    Bytes b;
    b.set(static_cast<unsigned char>(c));
    return {b, false};
  }

  bool more() const { return m_p != m_End; }

  Start alternation(int depth) {
    if (depth > kMaxDepth) throw NotUnderstood{};
    Start result = sequence(depth);
    while (more() && *m_p == '|') {
      ++m_p;
      const Start next = sequence(depth);
      result.bytes |= next.bytes;
      result.empty = result.empty || next.empty;
    }
    return result;
  }

  Start sequence(int depth) {
    Start result{Bytes(), true};
    while (more() && *m_p != '|' && *m_p != ')') {
      const Start next = quantified(depth);
      if (result.empty) result.bytes |= next.bytes;
      result.empty = result.empty && next.empty;
    }
    return result;
  }

  Start quantified(int depth) {
    Start start = atom(depth);
    while (more()) {
      if (*m_p == '*' || *m_p == '?') {
        start.empty = true;
        ++m_p;
      } else if (*m_p == '+') {
        ++m_p;
      } else if (*m_p == '{') {
        if (repeatMinimum() == 0) start.empty = true;
      } else {
        break;
      }
    }
    return start;
  }

  // Reads "{n}", "{n,}" or "{n,m}" and returns n.
  int repeatMinimum() {
    ++m_p;
    int minimum = 0;
    bool digits = false;
    while (more() && *m_p >= '0' && *m_p <= '9') {
      minimum = minimum * 10 + (*m_p++ - '0');
      digits = true;
      if (minimum > 1000) throw NotUnderstood{};
    }
    while (more() && ((*m_p >= '0' && *m_p <= '9') || *m_p == ',')) ++m_p;
    if (!digits || !more() || *m_p != '}') throw NotUnderstood{};
    ++m_p;
    return minimum;
  }

  Start atom(int depth) {
    const char c = *m_p++;
    switch (c) {
      case '(': {
        if (more() && *m_p == '?') throw NotUnderstood{};
        const Start inner = alternation(depth + 1);
        if (!more() || *m_p != ')') throw NotUnderstood{};
        ++m_p;
        return inner;
      }
      case '[':
        return {bracket(), false};
      case '.':
        return {Bytes().set(), false};
      case '^':
      case '$':
        return Assertion();
      case '\\':
        return escape();
      case '*':
      case '+':
      case '?':
      case '{':
        throw NotUnderstood{};
      default:
        return Byte(c);
    }
  }

  Start escape() {
    if (!more()) throw NotUnderstood{};
    const char c = *m_p++;
    switch (c) {
      case 'A':  // the search start, where every match begins
      case 'b':
      case 'B':
      case 'Z':
      case '<':
      case '>':
      case '`':
      case '\'':
        return Assertion();
      case 'z':  // only at the input end: never at the positions filtered
        return {Bytes(), false};
      default:
        break;
    }
    Bytes bytes;
    if (!escapedMember(c, bytes)) throw NotUnderstood{};
    return {bytes, false};
  }

  // Sets the bytes of an escape that stands for characters: a control
  // character, a class, or an escaped punctuation character.
  bool escapedMember(char c, Bytes& bytes) const {
    switch (c) {
      case 'n': bytes.set('\n'); return true;
      case 'r': bytes.set('\r'); return true;
      case 't': bytes.set('\t'); return true;
      case 'f': bytes.set('\f'); return true;
      case 'd':
      case 'w':
      case 's':
        bytes |= classBytes(&c, &c + 1);
        return true;
      default:
        break;
    }
    // Punctuation that stands for itself when escaped; other escapes have
    // meanings this analysis does not model.
    if (c == '\0' || std::strchr(R"(\^$.|?*+()[]{}/-"#)", c) == nullptr) return false;
    bytes.set(static_cast<unsigned char>(c));
    return true;
  }

  Bytes classBytes(const char* nameBegin, const char* nameEnd) const {
    const Traits::char_class_type cls = m_Traits.lookup_classname(nameBegin, nameEnd);
    if (cls == 0) throw NotUnderstood{};
    Bytes bytes;
    for (int i = 0; i < 256; ++i)
      if (m_Traits.isctype(static_cast<char>(i), cls)) bytes.set(static_cast<std::size_t>(i));
    return bytes;
  }

  // One member character of a set, or false for a class or a malformed item.
  bool setCharacter(unsigned char& out) {
    if (!more()) throw NotUnderstood{};
    char c = *m_p++;
    if (c == '\\') {
      if (!more()) throw NotUnderstood{};
      c = *m_p++;
      Bytes single;
      if (c == 'd' || c == 'w' || c == 's' || !escapedMember(c, single) || single.count() != 1)
        throw NotUnderstood{};
      for (int i = 0; i < 256; ++i)
        if (single.test(static_cast<std::size_t>(i))) out = static_cast<unsigned char>(i);
      return true;
    }
    out = static_cast<unsigned char>(c);
    return true;
  }

  // The members of "[...]" exactly: a negated set is their complement, so
  // guessing high here would let too little through.
  Bytes bracket() {
    bool negated = false;
    if (more() && *m_p == '^') {
      negated = true;
      ++m_p;
    }
    Bytes members;
    bool first = true;
    for (;;) {
      if (!more()) throw NotUnderstood{};
      if (*m_p == ']' && !first) {
        ++m_p;
        break;
      }
      first = false;
      if (*m_p == '[' && m_p + 1 != m_End && m_p[1] != '\0' && std::strchr(":=.", m_p[1])) {
        if (m_p[1] != ':') throw NotUnderstood{};
        const char* name = m_p + 2;
        const char* close = std::strstr(name, ":]");
        if (close == nullptr || close >= m_End) throw NotUnderstood{};
        members |= classBytes(name, close);
        m_p = close + 2;
        continue;
      }
      if (*m_p == '\\' && m_p + 1 != m_End && std::strchr("dws", m_p[1])) {
        members |= classBytes(m_p + 1, m_p + 2);
        m_p += 2;
        continue;
      }
      unsigned char low = 0;
      setCharacter(low);
      if (more() && *m_p == '-' && m_p + 1 != m_End && m_p[1] != ']') {
        ++m_p;
        unsigned char high = 0;
        setCharacter(high);
        // Ranges beyond ASCII depend on how the library orders bytes.
        if (high < low || high >= 0x80) throw NotUnderstood{};
        for (int i = low; i <= high; ++i) members.set(static_cast<std::size_t>(i));
      } else {
        members.set(low);
      }
    }
    return negated ? ~members : members;
  }

  const char* m_p;
  const char* const m_End;
  const Traits& m_Traits;
};

}  // namespace

CVL_FirstByteFilter::CVL_FirstByteFilter(const std::string& expression,
                                         const boost::regex& compiled) {
  m_Bytes.set();
  // Case folding, free spacing or another syntax would change what the
  // characters of the expression mean.
  if (compiled.flags() == kScannerSyntax)
    *this = CVL_FirstByteFilter(expression, compiled.getloc());
}

CVL_FirstByteFilter::CVL_FirstByteFilter(const std::string& expression, const std::locale& locale) {
  m_Bytes.set();
  Traits traits;
  traits.imbue(locale);
  try {
    const Start start = Analyzer(expression, traits).run();
    if (!start.empty) m_Bytes = start.bytes;
  } catch (const NotUnderstood&) {
    // Every byte stays admitted.
  }
}

}  // namespace orvo
