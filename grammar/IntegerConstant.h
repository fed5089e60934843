// The value of a numeric or character constant in a constant expression.
#pragma once

#include <string>

namespace orvo {

// Converts the text of a constant token: "" is 0; text starting with "0x" or
// "0X" is read as hexadecimal and other text starting with "0" as octal, each
// up to the first character that is no digit of its base and clamped to the
// int range; anything else must be a plain decimal int, otherwise
// boost::bad_lexical_cast is thrown (it ends the run).
int IntegerConstantValue(const std::string& text);

}  // namespace orvo
