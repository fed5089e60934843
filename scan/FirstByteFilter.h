// Which bytes a match of a scanner expression can begin with. A search at a
// byte outside the set cannot succeed, so it need not run: the result is the
// same, at a fraction of the cost of starting the regular-expression engine.
#pragma once

#include <bitset>
#include <string>

#include <boost/regex.hpp>

namespace orvo {

class CVL_FirstByteFilter {
 public:
  // Works the set out from the expression text, classifying escapes and
  // classes with the compiled expression's own traits. Anything the analysis
  // does not understand, and any expression that can match the empty string
  // before the end of the input, admits every byte.
  CVL_FirstByteFilter(const std::string& expression, const boost::regex& compiled);
  // The same for an expression in the scanner syntax, with the character
  // classes of `locale` (the one the library would compile it with).
  CVL_FirstByteFilter(const std::string& expression, const std::locale& locale);

  // Whether a match may begin with `c` at a position before the input end.
  bool admits(char c) const { return m_Bytes[static_cast<unsigned char>(c)]; }

 private:
  std::bitset<256> m_Bytes;
};

}  // namespace orvo
