// Syntax options of every scanner expression.
#pragma once

#include <boost/regex.hpp>

namespace orvo {

// Perl syntax without back references and Perl extensions: with no_perl_ex
// Boost.Regex matches leftmost-longest (POSIX) instead of first-alternative,
// which the scanners rely on to pick the longest token. Case-sensitive.
constexpr boost::regex::flag_type kScannerSyntax =
    boost::regex::perl | boost::regex::no_bk_refs | boost::regex::no_perl_ex;
static_assert(kScannerSyntax == 0x300);

}  // namespace orvo
